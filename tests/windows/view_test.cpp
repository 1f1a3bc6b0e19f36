// The native view: controls mirror the model, user actions on the controls reach the handlers.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <shlobj.h>

#include <set>
#include <stdexcept>

#include "app/frm_mavorin.hpp"
#include "platform/recording/recording_platform.hpp"
#include "platform/win32/win32_text.hpp"
#include "test_window.hpp"
#include "win32view/main_window.hpp"

namespace mavorin::win32 {
namespace {

using wintest::text_of;

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
    void click(const std::string& name) {
        SendMessageW(w(name), BM_CLICK, 0, 0);
        view.flush();
    }

    wintest::TempDir dir;
    form::VirtualClock clock;
    RecordingPlatform platform;
    frm_mavorin window;
    MainWindow view;
};

// The census: one window per control of the form table, and a control the view never bound is
// reported, not passed over.
TEST_F(ViewTest, EveryControlHasExactlyOneWindowAndNoneIsSkipped) {
    std::set<HWND> children;
    for (HWND h = GetWindow(view.hwnd(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        children.insert(h);
    std::set<HWND> bound;
    for (form::Control* c : window.all_controls()) {
        if (c == &window.form || view.menu_id(c->name()) || c == &window.mnulistboxcode) continue;
        EXPECT_TRUE(children.count(view.widget(c->name()))) << c->name();
        bound.insert(view.widget(c->name()));
    }
    EXPECT_EQ(bound.size(), children.size());
    form::Label stray("lbl_stray", "");
    stray.set_observer(&view);
    stray.set_caption("x");
    EXPECT_THROW(view.flush(), std::logic_error);
}

TEST_F(ViewTest, FieldEditsRewriteTheRecordAndChoosingACodeSwitchesThePanel) {
    SetWindowTextW(w("txt_0_wait"), L"70000");  // the EDIT reports EN_CHANGE itself
    view.flush();
    EXPECT_EQ(text_of(w("txt_0_wait")), L"60000");  // the handler's correction is shown
    EXPECT_EQ(SendMessageW(w("lst_code"), LB_GETTEXTLEN, 0, 0), window.lst_code.items()[0].size());

    SendMessageW(view.hwnd(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(w("hsc_befehle")));
    view.flush();
    EXPECT_EQ(window.befehl_aktuell, 1);
    SendMessageW(w("com_code"), CB_SETCURSEL, 2, 0);  // "Mauszeiger Tastendruck"
    SendMessageW(view.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w("com_code")), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(w("com_code")));
    clock.advance(20);
    view.flush();
    EXPECT_TRUE(IsWindowVisible(w("opt_3_click(2)")));
    EXPECT_FALSE(IsWindowVisible(w("txt_0_wait")));
    click("opt_3_click(2)");
    EXPECT_EQ(window.befehl[1], "code:|003|mouseclick:|right|");
    EXPECT_EQ(SendMessageW(w("opt_3_click(0)"), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    click("chk_0_vordergrund");
    EXPECT_TRUE(platform.topmost);
}

// What a screen reader hears, read back through MSAA. Wine answers from the window text and,
// for a field, from the label before it; names set outright it does not keep.
TEST_F(ViewTest, ScreenReadersHearTheWindowsOwnWords) {
    for (auto [control, want] : {std::pair{"lst_code", "Befehlsliste"},
                                 {"hsc_befehle", "Aktueller Befehl"},
                                 {"img_vantrellogo", "Zur Projektseite"},
                                 {"txt_0_wait", "Wartezeit nach jedem Befehl"}}) {
        IAccessible* acc = nullptr;
        VARIANT self{};
        self.vt = VT_I4;  // CHILDID_SELF: the control itself
        BSTR name = nullptr;
        if (SUCCEEDED(AccessibleObjectFromWindow(w(control), OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&acc))))
            acc->get_accName(self, &name), acc->Release();
        EXPECT_TRUE(narrow(name ? name : L"").starts_with(want)) << control;
        SysFreeString(name);
    }
}

TEST_F(ViewTest, DroppedMacroFileIsLoaded) {
    dir.write(L"gezogen.mvn",
              ".mvn 1000 x\r\ncode:|000|wait:|700|loop:|2|start:|no|stop:|ESC|\r\n"
              "code:|002|xpos:|10|ypos:|20|\r\n");
    const std::wstring path = dir.file(L"gezogen.mvn");
    // A drop as Explorer sends it: a DROPFILES block followed by the wide paths.
    HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
    auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    memcpy(df + 1, path.c_str(), path.size() * sizeof(wchar_t));
    GlobalUnlock(mem);
    SendMessageW(w("lst_code"), WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
    view.flush();
    EXPECT_EQ(window.befehl[1], "code:|002|xpos:|10|ypos:|20|");
    EXPECT_EQ(text_of(w("txt_0_wait")), L"700");
}

TEST_F(ViewTest, ClosingTheWindowRunsTheUnloadHandler) {
    view.on_close = [&] { window.startup.Form_Unload(); };
    SendMessageW(view.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(platform.ended, 1);
}

}  // namespace
}  // namespace mavorin::win32
