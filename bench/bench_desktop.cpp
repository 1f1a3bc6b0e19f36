// Desktop benchmarks, each against a peer measured in the same run:
//   timing   200 steps with a 10 ms pause on the real Qt loop vs the ideal schedule (virtual clock)
//   typing   XTest typing vs `xdotool type --delay 0` of the same text
//   capture  full-screen capture + JPEG vs `import -window root`
//   idle-peer  an empty Qt window woken by a 10 ms timer: the floor for the idle CPU figure
//   pixel    pixel-watch reaction, screen change to the next command, vs a watcher polling `import`

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/frm_mavorin.hpp"
#include "platform/recording/recording_platform.hpp"
#include "platform/x11/x11_platform.hpp"
#include "qt/qt_event_loop.hpp"
// Last: Xlib's macros (None, Bool, Status) would break the Qt headers.
#include <X11/Xlib.h>

using namespace mavorin;
using steady = std::chrono::steady_clock;

namespace {

double ms_since(steady::time_point t0) {
    return std::chrono::duration<double, std::milli>(steady::now() - t0).count();
}

std::string macro_file(const std::string& dir) {
    std::ofstream out(dir + "/steps.mvn", std::ios::binary);
    out << ".mvn 0000 bench\r\ncode:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\n";
    for (int i = 0; i < 200; ++i) out << "code:|002|xpos:|" << i << "|ypos:|1|\r\n";
    return dir + "/steps.mvn";
}

// Times of the 200 pointer moves, in ms, on the given loop.
template <class Loop>
std::vector<double> run_steps(Loop& loop, const std::string& dir, bool real) {
    RecordingPlatform p(loop, dir);
    p.cmdline = "\"" + macro_file(dir) + "\"";
    std::vector<double> t;
    const auto t0 = steady::now();
    p.on_call = [&](const PlatformCall& c) {
        if (c.op == "set_cursor_pos") t.push_back(real ? ms_since(t0) : static_cast<double>(c.ms));
        if (c.op != "key_state") return;
        p.calls.clear();
    };
    frm_mavorin w(p, loop);
    w.startup.Form_Load();
    if constexpr (std::is_same_v<Loop, form::VirtualClock>) {
        while (w.running()) loop.step(100000);
    } else {
        while (w.running()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return t;
}

int timing() {
    const std::string dir = std::filesystem::temp_directory_path().string();
    form::VirtualClock virt;
    const auto ideal = run_steps(virt, dir, false);
    double worst_p99 = 0, worst_mean = 0, worst_drift = 0;
    std::string runs;
    for (int run = 0; run < 5; ++run) {
        qt::QtEventLoop loop;
        auto real = run_steps(loop, dir, true);
        if (ideal.size() != real.size() || real.size() < 2) return 1;
        std::vector<double> err;
        for (size_t i = 1; i < real.size(); ++i)
            err.push_back(std::fabs((real[i] - real[i - 1]) - (ideal[i] - ideal[i - 1])));
        std::sort(err.begin(), err.end());
        double mean = 0;
        for (double e : err) mean += e;
        mean /= err.size();
        const double p99 = err[static_cast<size_t>(err.size() * 0.99)];
        const double drift = (real.back() - real.front()) - (ideal.back() - ideal.front());
        worst_p99 = std::max(worst_p99, p99);
        worst_mean = std::max(worst_mean, mean);
        worst_drift = std::max(worst_drift, std::fabs(drift));
        char one[32];
        std::snprintf(one, sizeof one, "%s%.2f", run ? " " : "", p99);
        runs += one;
    }
    std::printf(
        "timing: %zu steps of 10 ms, worst of 5 runs: gap error mean %.3f ms, p99 %.3f ms, "
        "drift %.1f ms (p99 of each run: %s ms)\n",
        ideal.size(), worst_mean, worst_p99, worst_drift, runs.c_str());
    return 0;
}

double run_command(const std::string& cmd) {
    const auto t0 = steady::now();
    if (std::system(cmd.c_str()) != 0) return -1;
    return ms_since(t0);
}

int typing() {
    auto dev = x11::make_x11_devices({});
    if (!dev) return 1;
    std::string text;
    for (int i = 0; i < 100; ++i) text += "The quick brown fox 0123 ";
    const auto t0 = steady::now();
    dev->send_keys(text, {});
    const double ours = ms_since(t0);
    const double peer = run_command("xdotool type --delay 0 '" + text + "'");
    std::printf("typing: %zu characters: mavorin %.1f ms, xdotool %.1f ms, ratio %.1fx\n",
                text.size(), ours, peer, peer / ours);
    // And into a real terminal: every character must arrive.
    const std::string dir = std::filesystem::temp_directory_path().string();
    const std::string out = dir + "/bench-xterm.txt", pid = dir + "/bench-xterm.pid";
    std::filesystem::remove(out);
    if (run_command("LC_ALL=C.UTF-8 xterm -geometry 80x24+0+0 -e sh -c 'cat > " + out +
                    "' & echo $! > " + pid) < 0 ||
        run_command("xdotool search --sync --onlyvisible --class xterm windowfocus --sync") < 0)
        return 1;
    const std::string umlauts = "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F";
    const std::string line = "Hello, World! 1{+}2=3 {(}x{)} [y] 50{%}{~}a_;:/?<>@#$&*-. " + umlauts;
    const std::string plain = "Hello, World! 1+2=3 (x) [y] 50%~a_;:/?<>@#$&*-. " + umlauts;
    std::string typed, want;
    for (int i = 0; i < 30; ++i) {
        typed += line + "{ENTER}";
        want += plain + "\n";
    }
    dev->send_keys(typed, {});
    std::string got;
    for (int i = 0; i < 100 && got != want; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::ifstream in(out, std::ios::binary);
        got.assign(std::istreambuf_iterator<char>(in), {});
    }
    run_command("kill $(cat " + pid + ")");
    const size_t chars = want.size();
    std::printf("typing into xterm: %zu bytes, %s\n", chars,
                got == want ? "all arrived exactly" : "DIFFERENT");
    return got == want ? 0 : 1;
}

int capture() {
    auto dev = x11::make_x11_devices({});
    if (!dev) return 1;
    const std::string dir = std::filesystem::temp_directory_path().string();
    const int n = 10;
    const auto t0 = steady::now();
    for (int i = 0; i < n; ++i) dev->save_jpeg(dev->capture_screen(), dir + "/bench.jpg", 90);
    const double ours = ms_since(t0) / n;
    double peer = 0;
    for (int i = 0; i < n; ++i)
        peer += run_command("import -window root -quality 90 " + dir + "/bench-peer.jpg");
    peer /= n;
    std::printf("capture+jpeg: mavorin %.1f ms, import %.1f ms, ratio %.1fx\n", ours, peer,
                peer / ours);
    return 0;
}

// A window over the watched block, mapped to change the screen and unmapped to restore it.
struct Cover {
    Display* dpy = XOpenDisplay(nullptr);
    Window win = 0;
    Cover() {
        if (!dpy) return;
        XSetWindowAttributes a{};
        a.background_pixel = 0xff3366;
        a.override_redirect = True;
        win = XCreateWindow(dpy, DefaultRootWindow(dpy), 0, 0, 200, 200, 0, CopyFromParent,
                            InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect, &a);
    }
    ~Cover() {
        if (dpy) XCloseDisplay(dpy);
    }
    void show(bool on) {
        if (on)
            XMapRaised(dpy, win);
        else
            XUnmapWindow(dpy, win);
        XSync(dpy, False);
    }
};

// The recording platform with the real screen, timing the first pointer move after the watch.
class WatchPlatform : public RecordingPlatform {
  public:
    using RecordingPlatform::RecordingPlatform;
    std::unique_ptr<DeviceServices> dev = x11::make_x11_devices({});
    int captures = 0;
    steady::time_point moved{};
    Bitmap capture_screen() override {
        ++captures;
        return dev->capture_screen();
    }
    Bitmap capture_region(int x, int y, int w, int h) override {
        ++captures;
        return dev->capture_region(x, y, w, h);
    }
    void set_cursor_pos(int x, int y) override {
        moved = steady::now();
        RecordingPlatform::set_cursor_pos(x, y);
    }
};

void print_stats(const char* who, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    double mean = 0;
    for (double x : v) mean += x;
    mean /= v.size();
    std::printf("pixel watch: %s reaction over %zu changes: mean %.1f ms, max %.1f ms\n", who,
                v.size(), mean, v.back());
}

int pixel() {
    Cover cover;
    if (!cover.dpy) return 1;
    const std::string dir = std::filesystem::temp_directory_path().string() + "/mavorin-pixel";
    std::filesystem::create_directories(dir);
    {
        std::ofstream out(dir + "/watch.mvn", std::ios::binary);
        out << ".mvn 0000 bench\r\ncode:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\n"
               "code:|010|xpos:|20|ypos:|20|break:|0|\r\ncode:|002|xpos:|1|ypos:|1|\r\n";
    }
    // The floor: the same watch on the virtual clock, where polls and pauses take no time.
    std::vector<double> floor;
    {
        std::mt19937 rng(7);
        for (int trial = 0; trial < 20; ++trial) {
            form::VirtualClock clock;
            RecordingPlatform p(clock, dir);
            p.cmdline = "\"" + dir + "/watch.mvn\"";
            p.screen = Bitmap{0, 0, 100, 100, 100, 100, std::vector<uint8_t>(30000, 0)};
            int captures = 0;
            int64_t moved = -1;
            p.on_call = [&](const PlatformCall& c) {
                captures += c.op == "capture_screen";
                if (c.op == "set_cursor_pos") moved = c.ms;
            };
            frm_mavorin w(p, clock);
            w.startup.Form_Load();
            while (w.running() && captures < 3) clock.step(100000);
            clock.advance(std::uniform_int_distribution<int>(5, 40)(rng));
            p.screen.bgr.assign(30000, 0xff);
            const int64_t changed = clock.now_ms();
            while (w.running()) clock.step(100000);
            floor.push_back(static_cast<double>(moved - changed));
        }
    }
    std::mt19937 rng(7);
    std::vector<double> ours;
    for (int trial = 0; trial < 20; ++trial) {
        cover.show(false);
        qt::QtEventLoop loop;
        WatchPlatform p(loop, dir);
        if (!p.dev) return 1;
        p.cmdline = "\"" + dir + "/watch.mvn\"";
        frm_mavorin w(p, loop);
        w.startup.Form_Load();
        // Change the screen at a random moment once the watch holds its reference.
        while (w.running() && p.captures < 3)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        steady::time_point changed{};
        QTimer::singleShot(std::uniform_int_distribution<int>(5, 40)(rng), [&] {
            cover.show(true);
            changed = steady::now();
        });
        while (w.running()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (changed == steady::time_point{} || p.moved < changed) return 1;
        ours.push_back(std::chrono::duration<double, std::milli>(p.moved - changed).count());
    }
    // The peer: a watcher that grabs the same 5x5 block with ImageMagick until it differs.
    const std::string grab = "import -window root -crop 5x5+20+20 +repage rgb:" + dir + "/peer";
    auto read = [&](const std::string& f) {
        std::ifstream in(f, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::vector<double> peer;
    for (int trial = 0; trial < 5; ++trial) {
        cover.show(false);
        if (run_command(grab + ".ref") < 0) return 1;
        const std::string ref = read(dir + "/peer.ref");
        std::atomic<bool> seen{false};
        steady::time_point detected{};
        std::thread watcher([&] {
            while (run_command(grab) >= 0 && read(dir + "/peer") == ref) {
            }
            detected = steady::now();
            seen = true;
        });
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::uniform_int_distribution<int>(100, 400)(rng)));
        cover.show(true);
        const auto changed = steady::now();
        watcher.join();
        if (!seen) return 1;
        peer.push_back(std::chrono::duration<double, std::milli>(detected - changed).count());
    }
    cover.show(false);
    std::filesystem::remove_all(dir);
    print_stats("mavorin", ours);
    print_stats("floor (virtual clock)", floor);
    print_stats("import loop", peer);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "idle-peer") {
        QApplication app(argc, argv);
        QWidget window;
        window.resize(600, 400);
        window.show();
        QTimer poll;
        poll.setTimerType(Qt::PreciseTimer);
        QObject::connect(&poll, &QTimer::timeout, [] {});
        poll.start(10);
        return app.exec();
    }
    QCoreApplication app(argc, argv);
    if (what == "timing") return timing();
    if (what == "typing") return typing();
    if (what == "capture") return capture();
    if (what == "pixel") return pixel();
    std::cerr << "usage: bench_desktop timing|typing|capture|pixel|idle-peer\n";
    return 2;
}
