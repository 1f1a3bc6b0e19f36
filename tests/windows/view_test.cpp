// The native view: controls mirror the model, user actions on the controls reach the handlers.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>

#include "app/frm_mavorin.hpp"
#include "platform/recording/recording_platform.hpp"
#include "platform/win32/win32_text.hpp"
#include "test_window.hpp"
#include "win32view/main_window.hpp"

namespace mavorin::win32 {
namespace {

std::string text_of(HWND h) {
    wchar_t buf[2048] = {};
    GetWindowTextW(h, buf, 2048);
    return narrow(buf);
}

std::vector<std::string> list_lines(HWND list) {
    std::vector<std::string> out;
    const int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        std::wstring t(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        t.resize(static_cast<size_t>(
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(t.data()))));
        out.push_back(narrow(t));
    }
    return out;
}

// A started window on the virtual clock with the recording platform and the native view.
class ViewTest : public ::testing::Test {
  protected:
    ViewTest() : platform(clock, narrow(dir.path())), window(platform, clock), view(window) {
        platform.separator = "\\";
        view.show();
        window.startup.Form_Load();
        view.sync_all();
    }
    HWND w(const std::string& name) {
        HWND h = view.widget(name);
        EXPECT_TRUE(h) << name;
        return h;
    }
    // What a user's action on a control sends to the form.
    void notify(const std::string& name, int code) {
        HWND h = w(name);
        SendMessageW(view.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), code),
                     reinterpret_cast<LPARAM>(h));
    }
    void type_into(const std::string& name, const std::string& text) {
        SetWindowTextW(w(name), widen(text).c_str());  // the EDIT reports EN_CHANGE itself
        view.flush();
    }
    void click_list_line(int line, UINT msg = WM_LBUTTONDOWN, WPARAM keys = MK_LBUTTON) {
        RECT r{};
        SendMessageW(w("lst_code"), LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);
        SendMessageW(w("lst_code"), msg, keys, at);
        if (msg == WM_LBUTTONDOWN) SendMessageW(w("lst_code"), WM_LBUTTONUP, 0, at);
        view.flush();
    }

    wintest::TempDir dir;
    form::VirtualClock clock;
    RecordingPlatform platform;
    frm_mavorin window;
    MainWindow view;
};

TEST_F(ViewTest, StartUpShowsTheSettingsPanelTheListAndGermanCaptions) {
    EXPECT_EQ(text_of(view.hwnd()), "Mavorin");
    EXPECT_EQ(text_of(w("txt_0_wait")), "500");
    EXPECT_EQ(text_of(w("txt_0_loop")), "1");
    EXPECT_EQ(text_of(w("cmd_neu")), "Neu");
    EXPECT_EQ(text_of(w("cmd_load")), "Laden");
    EXPECT_EQ(text_of(w("cmd_save")), "Speichern");
    EXPECT_EQ(text_of(w("lbl_0_transparenz")), "Transparenz einschalten:");
    EXPECT_EQ(text_of(w("opt_7_pc(4)")), "Programm schließen");
    EXPECT_EQ(text_of(w("lbl_5_hochzählen")), "+ Zahl die hochgezählt wird:");
    EXPECT_TRUE(IsWindowVisible(w("txt_0_wait")));
    EXPECT_FALSE(IsWindowVisible(w("txt_2_x")));
    EXPECT_FALSE(IsWindowVisible(w("com_code")));
    EXPECT_FALSE(IsWindowEnabled(w("cmd_load")));  // no mavorin.mvn in the folder
    EXPECT_EQ(SendMessageW(w("com_code0"), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(list_lines(w("lst_code")), window.lst_code.items());
    EXPECT_EQ(list_lines(w("lst_code")).size(), 4u);
    EXPECT_EQ(SendMessageW(w("com_0_abbruchcode"), CB_GETCOUNT, 0, 0),
              window.com_0_abbruchcode.list_count());
    EXPECT_EQ(text_of(w("txt_9_pfad")), narrow(dir.path()) + "\\screenshot.bmp");
}

TEST_F(ViewTest, ModelChangesReachTheControlsOnTheNextPass) {
    window.lbl_info.set_caption("Neue Eingabe");
    window.txt_0_wait.set_text("1234");
    window.cmd_neu.set_enabled(false);
    window.txt_0_loop.set_visible(false);
    EXPECT_EQ(text_of(w("txt_0_wait")), "500");  // deferred until the messages are handled
    wintest::pump(50);
    EXPECT_EQ(text_of(w("lbl_info")), "Neue Eingabe");
    EXPECT_EQ(text_of(w("txt_0_wait")), "1234");
    EXPECT_FALSE(IsWindowEnabled(w("cmd_neu")));
    EXPECT_FALSE(IsWindowVisible(w("txt_0_loop")));
}

TEST_F(ViewTest, TypingRunsTheFieldHandlerAndShowsItsCorrection) {
    type_into("txt_0_wait", "70000");
    EXPECT_EQ(window.txt_0_wait.text(), "60000");
    EXPECT_EQ(text_of(w("txt_0_wait")), "60000");
    EXPECT_NE(window.befehl[0].find("wait:|60000|"), std::string::npos) << window.befehl[0];
    EXPECT_EQ(list_lines(w("lst_code"))[0], window.lst_code.items()[0]);
}

TEST_F(ViewTest, ButtonsCheckBoxesAndOptionsClickTheModel) {
    SendMessageW(w("chk_0_vordergrund"), BM_CLICK, 0, 0);
    EXPECT_EQ(window.chk_0_vordergrund.value(), 1);
    EXPECT_TRUE(platform.topmost);
    EXPECT_EQ(SendMessageW(w("chk_0_vordergrund"), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(w("chk_0_vordergrund"), BM_CLICK, 0, 0);
    EXPECT_FALSE(platform.topmost);

    // Command 1 as a click command, then the right button chosen on its panel.
    SendMessageW(view.hwnd(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(w("hsc_befehle")));
    view.flush();
    EXPECT_EQ(window.befehl_aktuell, 1);
    ASSERT_TRUE(IsWindowVisible(w("com_code")));
    SendMessageW(w("com_code"), CB_SETCURSEL, 2, 0);  // "Mauszeiger Tastendruck"
    notify("com_code", CBN_SELCHANGE);
    clock.advance(20);
    view.flush();
    EXPECT_TRUE(IsWindowVisible(w("opt_3_click(2)")));
    SendMessageW(w("opt_3_click(2)"), BM_CLICK, 0, 0);
    EXPECT_EQ(window.befehl[1], "code:|003|mouseclick:|right|");
    EXPECT_EQ(SendMessageW(w("opt_3_click(2)"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(w("opt_3_click(0)"), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    SendMessageW(w("cmd_neu"), BM_CLICK, 0, 0);
    view.flush();
    EXPECT_EQ(window.befehl[1], kDefaultRecord);
    EXPECT_EQ(text_of(w("txt_befehle")), "3");
}

TEST_F(ViewTest, ListClicksKeysAndThePopupMenuEditTheMacro) {
    click_list_line(2);
    EXPECT_TRUE(window.lst_code.selected(2));
    EXPECT_EQ(window.befehl_aktuell, 2);
    EXPECT_EQ(window.hsc_befehle.value(), 2);

    // Ctrl+A arrives as its control character.
    SendMessageW(w("lst_code"), WM_CHAR, 1, 0);
    view.flush();
    for (int i = 0; i < window.lst_code.list_count(); ++i)
        EXPECT_EQ(SendMessageW(w("lst_code"), LB_GETSEL, i, 0) > 0, window.lst_code.selected(i));

    // The popup shows the German items with their state; copying line 2 enables "Einfügen".
    click_list_line(2);
    std::vector<std::pair<std::string, bool>> shown;
    view.track_menu = [&](HMENU menu, POINT) {
        shown.clear();
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t buf[128] = {};
            GetMenuStringW(menu, i, buf, 128, MF_BYPOSITION);
            shown.emplace_back(narrow(buf), !(GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED));
        }
        return view.menu_id("mnucopy");
    };
    click_list_line(2, WM_RBUTTONDOWN, MK_RBUTTON);
    ASSERT_EQ(shown.size(), 9u);
    EXPECT_EQ(shown[0].first, "Neuer Befehl\tCtrl+N");
    EXPECT_EQ(shown[2].first, "Ausschneiiden\tCtrl+X");
    EXPECT_EQ(shown[4], (std::pair<std::string, bool>{"Einfügen\tCtrl+V", false}));
    EXPECT_EQ(shown[8].first, "Mehr anzeigen\tCtrl+D");
    EXPECT_EQ(window.befehl_kopie[0], window.befehl[2]);
    view.track_menu = [&](HMENU menu, POINT p) {
        shown.clear();
        shown.emplace_back(
            "", !(GetMenuState(menu, view.menu_id("mnupaste"), MF_BYCOMMAND) & MF_GRAYED));
        (void)p;
        return 0u;
    };
    click_list_line(2, WM_RBUTTONDOWN, MK_RBUTTON);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].second);

    // "Mehr anzeigen" makes the list and the window taller.
    RECT before;
    GetWindowRect(view.hwnd(), &before);
    SendMessageW(w("lst_code"), WM_CHAR, 4, 0);
    view.flush();
    RECT list, after;
    GetWindowRect(w("lst_code"), &list);
    GetWindowRect(view.hwnd(), &after);
    EXPECT_EQ(list.bottom - list.top, window.lst_code.height());
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top);
}

TEST_F(ViewTest, DroppedMacroFileIsLoaded) {
    dir.write(L"gezogen.mvn",
              ".mvn 1000 x\r\ncode:|000|wait:|700|loop:|2|start:|no|stop:|ESC|\r\n"
              "code:|002|xpos:|10|ypos:|20|\r\n");
    const std::wstring path = dir.file(L"gezogen.mvn");
    // A drop as Explorer sends it: a DROPFILES block followed by the wide paths.
    const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GHND, bytes);
    auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), path.c_str(),
           path.size() * sizeof(wchar_t));
    GlobalUnlock(mem);
    SendMessageW(w("lst_code"), WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
    view.flush();
    EXPECT_EQ(window.befehl_anzahl, 1);
    EXPECT_EQ(window.befehl[1], "code:|002|xpos:|10|ypos:|20|");
    EXPECT_EQ(list_lines(w("lst_code")), window.lst_code.items());
    EXPECT_EQ(text_of(w("txt_0_wait")), "700");
}

TEST_F(ViewTest, ClosingTheWindowRunsTheUnloadHandler) {
    bool closed = false;
    view.on_close = [&] {
        window.startup.Form_Unload();
        closed = true;
    };
    SendMessageW(view.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(closed);
    EXPECT_EQ(platform.ended, 1);
    EXPECT_FALSE(platform.calls_of("block_input").empty());
}

}  // namespace
}  // namespace mavorin::win32
