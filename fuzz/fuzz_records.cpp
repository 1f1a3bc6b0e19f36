// Fuzzes building and parsing records, and the list line of any record text.
#include <cstdint>
#include <memory>
#include <string>

#include "app/frm_mavorin.hpp"
#include "commandlist/command_list.hpp"
#include "platform/recording/recording_platform.hpp"

using namespace mavorin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static form::VirtualClock clock;
    static RecordingPlatform platform(clock, "/nonexistent-mavorin-fuzz");
    static frm_mavorin* w = [] {
        auto* win = new frm_mavorin(platform, clock);
        win->startup.Form_Load();
        return win;
    }();
    std::string record(reinterpret_cast<const char*>(data), size);
    const int slot = size % 5;
    w->befehl[slot] = record;
    w->befehl_aktuell = slot;
    w->records.befehl_aktuellencode();
    (void)list_line(slot, w->befehl[slot]);
    // Showing its panel writes the fields back: the record must stay a valid record.
    w->panels.codesichtbar();
    if (w->code_aktuell >= 0 && w->code_aktuell <= 10 && w->befehl[slot].rfind("code:|", 0) != 0 &&
        !w->befehl[slot].empty() && w->befehl[slot] != record)
        __builtin_trap();
    platform.clear_calls();
    return 0;
}
