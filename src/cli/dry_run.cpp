// --dry-run: play a macro on the virtual clock against a desktop that never changes.
#include <chrono>
#include <ostream>

#include "cli/cli.hpp"
#include "cli/headless.hpp"

namespace mavorin::cli {

int dry_run_command(const std::string& file, int64_t until_ms, std::ostream& out,
                    std::ostream& err) {
    const std::string path = absolute_path(file);
    std::string why;
    if (!is_macro_file(path, why)) {
        err << "mavorin: " << file << ": " << why << "\n";
        return 2;
    }
    HeadlessWindow h;
    RecordingPlatform& p = *h.platform;
    frm_mavorin& w = *h.window;
    p.cmdline = "\"" + path + "\"";
    p.on_call = [&](const PlatformCall& c) {
        if (!is_desktop_operation(c.op)) return;
        out << c.ms << ' ' << c.op;
        if (!c.args.empty()) out << ' ' << c.args;
        out << '\n';
    };
    // The calls are kept only for printing; a long run must not grow memory.
    w.startup.Form_Load();
    using steady = std::chrono::steady_clock;
    auto last_progress = steady::now();
    const auto started = last_progress;
    bool ran = w.running();
    while (!w.beendet && h.clock.now_ms() < until_ms) {
        p.calls.clear();
        if (ran && !w.running()) break;
        if (!h.clock.step(until_ms - h.clock.now_ms())) {
            break;
        }
        ran = ran || w.running();
        auto now = steady::now();
        if (now - last_progress > std::chrono::seconds(2)) {
            err << "mavorin: dry run at " << h.clock.now_ms() << " ms of " << until_ms << " ms ("
                << std::chrono::duration_cast<std::chrono::seconds>(now - started).count()
                << " s)\n";
            last_progress = now;
        }
    }
    const bool ended_by_itself = ran && !w.running() && !w.beendet;
    if (ended_by_itself)
        out << h.clock.now_ms() << " end\n";
    else
        out << (w.beendet ? h.clock.now_ms() : until_ms) << " stopped\n";
    out.flush();
    return 0;
}

}  // namespace mavorin::cli
