// --dry-run: play a macro on the virtual clock against a desktop that never changes.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <random>

#include "cli/cli.hpp"
#include "cli/headless.hpp"
#include "platform/image_files.hpp"

namespace mavorin::cli {

namespace {

namespace fs = std::filesystem;

// The recording platform of the dry-run world. Nothing the macro saves reaches the disk: a
// saved picture lives on in memory as far as a later read needs it (that the file exists and
// its first field, for the pixel watch), whatever folder its path names. Reads of files the run
// did not save go to the disk.
class DryRunPlatform : public RecordingPlatform {
  public:
    DryRunPlatform(const form::EventLoop& clock, std::string folder)
        : RecordingPlatform(clock, std::move(folder)), clock_(clock) {}

    bool save_bmp(const Bitmap& image, const std::string& path) override {
        announce("save_bmp", path);
        if (path.empty()) return false;
        files_[key(path)] = first_field_of(image);
        return true;
    }
    int save_jpeg(const Bitmap&, const std::string& path, int quality) override {
        announce("save_jpeg", path + " " + std::to_string(quality));
        // Only the pixel watch reads a field back, and it reads its bitmap.
        if (jpeg_status == 0 && !path.empty())
            files_[key(path)] = std::make_shared<const std::string>();
        return jpeg_status;
    }
    bool file_exists(const std::string& path) override {
        return (!path.empty() && files_.count(key(path))) || RecordingPlatform::file_exists(path);
    }
    bool read_first_field(const std::string& path, std::string& field) override {
        auto it = path.empty() ? files_.end() : files_.find(key(path));
        if (it == files_.end()) return RecordingPlatform::read_first_field(path, field);
        field = *it->second;
        return true;
    }

  private:
    using Field = std::shared_ptr<const std::string>;
    // A handful of distinct pictures at most: the screen and the watched blocks.
    static constexpr size_t kMaxPictures = 4;

    fs::path key(const std::string& path) {
        return utf8_path(resolve_path(current_folder(), path)).lexically_normal();
    }
    static bool same(const Bitmap& a, const Bitmap& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom &&
               a.width == b.width && a.height == b.height && a.bgr == b.bgr;
    }
    // The first field of the picture's bitmap file; the screen never changes, so the few
    // pictures of a run are encoded once (the pixel watch saves every 20 ms).
    Field first_field_of(const Bitmap& image) {
        for (const auto& [picture, field] : pictures_)
            if (same(picture, image)) return field;
        const std::vector<uint8_t> bytes = encode_bmp(image);
        auto end = std::find_if(bytes.begin(), bytes.end(),
                                [](uint8_t c) { return c == ',' || c == '\r' || c == '\n'; });
        auto field = std::make_shared<const std::string>(bytes.begin(), end);
        if (pictures_.size() >= kMaxPictures) pictures_.erase(pictures_.begin());
        pictures_.emplace_back(image, field);
        return field;
    }
    // Records and prints a call the way the recording platform does.
    void announce(std::string op, std::string args) {
        calls.push_back({clock_.now_ms(), std::move(op), std::move(args)});
        if (on_call) on_call(calls.back());
    }

    const form::EventLoop& clock_;
    std::vector<std::pair<Bitmap, Field>> pictures_;
    std::map<fs::path, Field> files_;
};

// A private temporary folder: the current folder of the run, removed at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::random_device rd;
        std::error_code ec;
        for (int attempt = 0; attempt < 20 && path.empty(); ++attempt) {
            fs::path p = fs::temp_directory_path(ec) /
                         ("mavorin-dry-" + std::to_string(rd()) + "-" + std::to_string(rd()));
            if (fs::create_directory(p, ec)) path = p.string();
        }
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
    std::string path;
};

struct DryRunWorld {
    ScratchFolder folder;
    form::VirtualClock clock;
    DryRunPlatform platform{clock, folder.path};
    std::unique_ptr<frm_mavorin> window;
};

}  // namespace

int dry_run_command(const std::string& file, int64_t until_ms, std::ostream& out,
                    std::ostream& err) {
    const std::string path = absolute_path(file);
    std::string why;
    if (!is_macro_file(path, why)) {
        err << "mavorin: " << file << ": " << why << "\n";
        return 2;
    }
    DryRunWorld world;
    DryRunPlatform& p = world.platform;
    p.cmdline = "\"" + path + "\"";
    p.on_call = [&](const PlatformCall& c) {
        if (!is_desktop_operation(c.op)) return;
        out << c.ms << ' ' << c.op;
        if (!c.args.empty()) out << ' ' << c.args;
        out << '\n';
    };
    world.window = std::make_unique<frm_mavorin>(p, world.clock);
    frm_mavorin& w = *world.window;
    // Nothing is launched, so nothing needs asking; notices go to stderr.
    w.headless = true;
    w.on_notice = [&](const std::string& text) {
        err << "mavorin: " << file << ": " << text << "\n";
    };
    form::VirtualClock& clock = world.clock;
    w.startup.Form_Load();
    using steady = std::chrono::steady_clock;
    auto last_progress = steady::now();
    const auto started = last_progress;
    bool ran = w.running();
    while (!w.end_carried_out && clock.now_ms() < until_ms) {
        // The calls are kept only for printing; a long run must not grow memory.
        p.calls.clear();
        if (ran && !w.running()) break;
        if (!clock.step(until_ms - clock.now_ms())) break;
        ran = ran || w.running();
        auto now = steady::now();
        if (now - last_progress > std::chrono::seconds(2)) {
            err << "mavorin: dry run at " << clock.now_ms() << " ms of " << until_ms << " ms ("
                << std::chrono::duration_cast<std::chrono::seconds>(now - started).count()
                << " s)\n";
            last_progress = now;
        }
    }
    const bool ended_by_itself = ran && !w.running() && !w.end_carried_out;
    if (ended_by_itself)
        out << clock.now_ms() << " end\n";
    else
        out << (w.end_carried_out ? clock.now_ms() : until_ms) << " stopped\n";
    out.flush();
    return 0;
}

}  // namespace mavorin::cli
