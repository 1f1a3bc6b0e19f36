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
    auto ideal = run_steps(virt, dir, false);
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
    std::printf(
        "timing: %zu steps, ideal span %.0f ms, real span %.1f ms; gap error mean %.3f ms, "
        "p99 %.3f ms; drift %.1f ms (%.3f of the ideal span)\n",
        real.size(), ideal.back() - ideal.front(), real.back() - real.front(), mean, p99, drift,
        drift / (ideal.back() - ideal.front()));
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
    return 0;
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
