// Loading and saving a 32000-command macro, against reading and writing the same bytes plainly.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "app/frm_mavorin.hpp"
#include "platform/recording/recording_platform.hpp"

using namespace mavorin;

namespace {

const std::string& folder() {
    static const std::string f = [] {
        auto p = std::filesystem::temp_directory_path() / "mavorin-bench";
        std::filesystem::create_directories(p);
        // The same moves, and once with a program start every 1000 commands: a macro that
        // launches is hashed for the store of trusted files when it is saved.
        for (const bool launching : {false, true}) {
            std::ofstream out(p / (launching ? "big-launching.mvn" : "big.mvn"), std::ios::binary);
            out << ".mvn 0000 bench\r\ncode:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\n";
            for (int i = 0; i < 32000; ++i) {
                if (launching && i % 1000 == 999)
                    out << "code:|006|pfad:|/usr/bin/true|\r\n";
                else
                    out << "code:|002|xpos:|" << i % 1920 << "|ypos:|" << i % 1080 << "|\r\n";
            }
        }
        return p.string();
    }();
    return f;
}

struct Window {
    form::VirtualClock clock;
    RecordingPlatform platform{clock, folder()};
    frm_mavorin w{platform, clock};
    Window() { w.startup.Form_Load(); }
};

const char* big_file(const benchmark::State& state) {
    return state.range(0) ? "big-launching.mvn" : "big.mvn";
}

// Argument 1: the macro launches programs, so the file is hashed for the store of trusted files.
void BM_Load32000(benchmark::State& state) {
    Window win;
    for (auto _ : state) {
        win.w.dateipfad = big_file(state);
        win.w.macro_file.cmd_load_Click();
        benchmark::DoNotOptimize(win.w.befehl_anzahl);
    }
}
BENCHMARK(BM_Load32000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The peer: the same file read line by line into strings, nothing else.
void BM_PlainRead32000(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(folder() + "/big.mvn", std::ios::binary);
        std::string line;
        size_t n = 0;
        while (std::getline(in, line)) ++n;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_PlainRead32000)->Unit(benchmark::kMillisecond);

// Argument 1: the macro launches programs.
void BM_Save32000(benchmark::State& state) {
    Window win;
    win.w.dateipfad = big_file(state);
    win.w.macro_file.cmd_load_Click();
    for (auto _ : state) {
        win.w.dateipfad = "out.mvn";
        win.w.macro_file.cmd_save_Click();
    }
}
BENCHMARK(BM_Save32000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A 2 GB file (sparse, so the disk is spared): 40000 commands followed by zeros, and one line
// of 2 GB. Loading reads what it keeps and stops; the window must not freeze on either.
void BM_Load2GB(benchmark::State& state) {
    const std::string name = state.range(0) ? "line-2g.mvn" : "many-2g.mvn";
    {
        std::ofstream out(folder() + "/" + name, std::ios::binary | std::ios::trunc);
        out << ".mvn 0000 bench\r\ncode:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\n";
        if (state.range(0)) {
            out << "code:|004|text:|";
        } else {
            for (int i = 0; i < 40000; ++i)
                out << "code:|002|xpos:|" << i % 1920 << "|ypos:|0|\r\n";
        }
    }
    std::filesystem::resize_file(folder() + "/" + name, std::uintmax_t{2} << 30);
    Window win;
    for (auto _ : state) {
        win.w.dateipfad = name;
        win.w.macro_file.cmd_load_Click();
        benchmark::DoNotOptimize(win.w.befehl_anzahl);
    }
    std::filesystem::remove(folder() + "/" + name);
}
BENCHMARK(BM_Load2GB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The peer of saving: the saved bytes written by a plain program with the same durability (a
// temporary file beside the target, fsync of the file and of the folder, rename).
void BM_DurableWrite32000(benchmark::State& state) {
    std::string bytes;
    {
        Window win;
        win.w.dateipfad = big_file(state);
        win.w.macro_file.cmd_load_Click();
        win.w.dateipfad = "out.mvn";
        win.w.macro_file.cmd_save_Click();
        std::ifstream in(folder() + "/out.mvn", std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::string tmp = folder() + "/plain.tmp", target = folder() + "/plain.mvn";
    for (auto _ : state) {
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            state.SkipWithError("write failed");
        ::fsync(fd);
        ::close(fd);
        ::rename(tmp.c_str(), target.c_str());
        const int dir = ::open(folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::fsync(dir);
        ::close(dir);
    }
}
BENCHMARK(BM_DurableWrite32000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
