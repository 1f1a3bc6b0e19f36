// The same form as the Qt window, so that both views look alike.
#include "win32view/layout.hpp"

namespace mavorin::win32 {

const std::map<std::string, RECT>& form_layout() {
    // RECT is used as x, y, width, height here.
    static const std::map<std::string, RECT> g = {
        // Title area.
        {"img_mavorin", {10, 6, 48, 48}},
        {"lbl_title", {66, 6, 200, 30}},
        {"lbl_titleversion", {68, 36, 300, 16}},
        {"Image1", {10, 58, 580, 2}},
        {"Image2", {10, 320, 580, 2}},
        {"frame_vantrel", {392, 4, 198, 50}},
        {"img_vantrellogo", {398, 11, 36, 36}},
        {"lbl_Programm", {440, 8, 124, 16}},
        {"lbl_Version", {440, 24, 146, 14}},
        {"lbl_maker1", {440, 38, 146, 14}},
        {"img_Orvik_Logo", {568, 8, 16, 16}},
        {"lbl_maker2", {0, 0, 0, 0}},
        {"lbl_maker3", {0, 0, 0, 0}},
        {"lbl_maker4", {0, 0, 0, 0}},
        // Command choice and prompt.
        {"lbl_befehl", {10, 72, 100, 20}},
        {"com_code", {110, 67, 300, 26}},
        {"com_code0", {110, 67, 300, 26}},
        {"lbl_info", {10, 98, 580, 20}},
        {"img_box", {10, 120, 580, 160}},
        // Panel 000.
        {"lbl_0_wait", {22, 132, 226, 20}},
        {"txt_0_wait", {250, 128, 70, 22}},
        {"lbl_0_ms", {326, 132, 30, 20}},
        {"lbl_0_loop", {22, 160, 226, 20}},
        {"txt_0_loop", {250, 156, 70, 22}},
        {"lbl_0_mal", {326, 160, 30, 20}},
        {"lbl_0_transparenz", {22, 188, 226, 20}},
        {"chk_0_transparenz", {250, 186, 20, 20}},
        {"lbl_0_vordergrund", {22, 214, 226, 20}},
        {"chk_0_vordergrund", {250, 212, 20, 20}},
        {"lbl_0_listbox", {22, 240, 226, 20}},
        {"chk_0_listbox", {250, 238, 20, 20}},
        {"lbl_0_startcode", {390, 130, 180, 20}},
        {"com_0_startcode", {390, 150, 110, 26}},
        {"lbl_0_abbruchcode", {390, 186, 180, 20}},
        {"com_0_abbruchcode", {390, 206, 110, 26}},
        // Panel 001.
        {"lbl_1_random", {22, 132, 300, 20}},
        {"txt_1_random1", {22, 154, 100, 22}},
        {"txt_1_random2", {132, 154, 100, 22}},
        {"lbl_1_ms", {240, 158, 30, 20}},
        // Panels 002 and 010.
        {"lbl_2_X", {22, 132, 96, 20}},
        {"txt_2_x", {120, 128, 90, 22}},
        {"txt_10_x", {120, 128, 90, 22}},
        {"lbl_2_Xpixel", {222, 132, 200, 20}},
        {"lbl_2_Y", {22, 160, 96, 20}},
        {"txt_2_y", {120, 156, 90, 22}},
        {"txt_10_y", {120, 156, 90, 22}},
        {"lbl_2_Ypixel", {222, 160, 200, 20}},
        {"lbl_10_abbruch", {22, 196, 540, 20}},
        {"txt_10_abbruch", {0, 0, 0, 0}},  // placed in the caption's gap
        // Panel 003.
        {"opt_3_click(0)", {22, 130, 300, 22}},
        {"opt_3_click(1)", {22, 154, 300, 22}},
        {"opt_3_click(2)", {22, 178, 300, 22}},
        // Panel 004.
        {"lbl_4_eingabebefehl", {22, 132, 136, 20}},
        {"com_4_eingabebefehl", {160, 127, 260, 26}},
        {"lbl_4_eingabetext", {22, 166, 400, 20}},
        {"txt_4_eingabetext", {22, 186, 556, 22}},
        // Panel 005.
        {"lbl_5_start", {22, 132, 226, 20}},
        {"txt_5_start", {250, 128, 110, 22}},
        {"lbl_5_hochzählen", {22, 160, 226, 20}},
        {"txt_5_hochzählen", {250, 156, 110, 22}},
        // Panel 006.
        {"lbl_6_pfad", {22, 132, 300, 20}},
        {"txt_6_pfad", {22, 152, 556, 22}},
        {"cmd_6_pfad", {22, 184, 190, 28}},
        // Panel 007.
        {"opt_7_pc(0)", {22, 128, 260, 22}},
        {"opt_7_pc(1)", {22, 152, 260, 22}},
        {"opt_7_pc(2)", {22, 176, 260, 22}},
        {"opt_7_pc(3)", {22, 200, 260, 22}},
        {"opt_7_pc(4)", {300, 128, 270, 22}},
        {"opt_7_pc(5)", {300, 152, 270, 22}},
        {"opt_7_pc(6)", {300, 176, 270, 22}},
        // Panel 008.
        {"lbl_8_laufwerk", {22, 132, 260, 20}},
        {"com_8_laufwerk", {290, 127, 160, 26}},
        {"lbl_8_move", {22, 164, 260, 20}},
        {"com_8_move", {290, 159, 160, 26}},
        // Panel 009.
        {"lbl_9_pfad", {22, 132, 300, 20}},
        {"txt_9_pfad", {22, 152, 556, 22}},
        {"cmd_9_pfad", {22, 184, 190, 28}},
        // Navigation.
        {"lbl_anz_befehle", {10, 292, 110, 20}},
        {"img_befehl_left", {120, 290, 22, 22}},
        {"txt_befehle", {146, 290, 64, 22}},
        {"img_befehl_right", {214, 290, 22, 22}},
        {"hsc_befehle", {256, 288, 226, 18}},
        {"lbl_hscaktuell", {256, 306, 100, 14}},
        {"lbl_hscmax", {382, 306, 100, 14}},
        // The list and the buttons beside it.
        {"lst_code", {10, 328, 472, 134}},
        {"cmd_start", {492, 286, 98, 32}},
        {"cmd_neu", {492, 328, 98, 28}},
        {"cmd_load", {492, 362, 70, 28}},
        {"cmd_load2", {564, 362, 26, 28}},
        {"cmd_save", {492, 396, 70, 28}},
        {"cmd_save2", {564, 396, 26, 28}},
    };
    return g;
}

}  // namespace mavorin::win32
