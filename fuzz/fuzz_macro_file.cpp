// Fuzzes loading a macro file (and running what was loaded for a while).
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/frm_mavorin.hpp"
#include "platform/recording/recording_platform.hpp"

using namespace mavorin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = [] {
        auto p =
            std::filesystem::temp_directory_path() / ("mavorin-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p.string();
    }();
    static form::VirtualClock clock;
    static RecordingPlatform platform(clock, folder);
    static frm_mavorin* w = [] {
        auto* win = new frm_mavorin(platform, clock);
        win->startup.Form_Load();
        return win;
    }();
    {
        std::ofstream out(folder + "/f.mvn", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    if (w->running()) w->run.start_stop();
    w->dateipfad = "f.mvn";
    w->macro_file.beginn_lesedatei();
    w->dateipfad = "f.mvn";
    w->macro_file.cmd_load_Click();
    if (w->befehl_anzahl < 0 || w->befehl_anzahl > 32000 || w->laden) __builtin_trap();
    if (!w->running()) w->cmd_start.click();
    clock.advance(300);
    platform.clear_calls();
    return 0;
}
