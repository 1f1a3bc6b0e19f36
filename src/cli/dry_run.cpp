// --dry-run: play a macro on the virtual clock against a desktop that never changes.
#include <chrono>
#include <filesystem>
#include <map>
#include <ostream>
#include <random>

#include "cli/cli.hpp"
#include "cli/headless.hpp"

namespace mavorin::cli {

namespace {

namespace fs = std::filesystem;

// The recording platform of the dry-run world. The screen never changes, so most pictures a
// macro saves are byte for byte the file already on disk (the pixel watch rewrites its snapshot
// every 20 ms); those writes are left out, which keeps an hour of polling to seconds.
class DryRunPlatform : public RecordingPlatform {
  public:
    DryRunPlatform(const form::EventLoop& clock, std::string folder)
        : RecordingPlatform(clock, std::move(folder)), clock_(clock) {}

    bool save_bmp(const Bitmap& image, const std::string& path) override {
        const std::string file = resolve_path(current_folder(), path);
        const int picture = known_picture(image);
        auto it = written_.find(file);
        if (picture >= 0 && it != written_.end() && it->second.picture == picture &&
            unchanged(file, it->second)) {
            announce("save_bmp", path);
            return true;
        }
        if (!RecordingPlatform::save_bmp(image, path)) {
            written_.erase(file);
            return false;
        }
        written_[file] = {picture >= 0 ? picture : remember(image), stamp(file)};
        return true;
    }

  private:
    struct Stamp {
        std::uintmax_t size = 0;
        fs::file_time_type time{};
        bool operator==(const Stamp&) const = default;
    };
    struct Written {
        int picture = -1;
        Stamp stamp;
    };
    // A handful of distinct pictures at most: the screen and the watched blocks.
    static constexpr size_t kMaxPictures = 4;

    static Stamp stamp(const std::string& file) {
        std::error_code ec;
        Stamp s;
        s.size = fs::file_size(file, ec);
        if (ec) return {};
        s.time = fs::last_write_time(file, ec);
        return ec ? Stamp{} : s;
    }
    static bool unchanged(const std::string& file, const Written& w) {
        const Stamp now = stamp(file);
        return now.size != 0 && now == w.stamp;
    }
    static bool same(const Bitmap& a, const Bitmap& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom &&
               a.width == b.width && a.height == b.height && a.bgr == b.bgr;
    }
    int known_picture(const Bitmap& image) const {
        for (size_t i = 0; i < pictures_.size(); ++i)
            if (same(pictures_[i], image)) return static_cast<int>(i);
        return -1;
    }
    int remember(const Bitmap& image) {
        if (pictures_.size() >= kMaxPictures) {
            pictures_.clear();
            written_.clear();
        }
        pictures_.push_back(image);
        return static_cast<int>(pictures_.size() - 1);
    }
    // Records and prints a call the way the recording platform does.
    void announce(std::string op, std::string args) {
        calls.push_back({clock_.now_ms(), std::move(op), std::move(args)});
        if (on_call) on_call(calls.back());
    }

    const form::EventLoop& clock_;
    std::vector<Bitmap> pictures_;
    std::map<std::string, Written> written_;
};

// A private temporary folder for the files the macro writes, removed at the end.
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
    while (!w.beendet && clock.now_ms() < until_ms) {
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
    const bool ended_by_itself = ran && !w.running() && !w.beendet;
    if (ended_by_itself)
        out << clock.now_ms() << " end\n";
    else
        out << (w.beendet ? clock.now_ms() : until_ms) << " stopped\n";
    out.flush();
    return 0;
}

}  // namespace mavorin::cli
