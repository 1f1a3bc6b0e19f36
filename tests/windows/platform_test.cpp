// The Win32 backend against a real (Wine) desktop: input, files, screen, clipboard, window calls.
// The SDK headers need <windows.h> first.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "platform/image_files.hpp"
#include "platform/win32/win32_platform.hpp"
#include "platform/win32/win32_text.hpp"
#include "platform/win32/wmi.hpp"
#include "test_window.hpp"

namespace mavorin::win32 {
namespace {

using wintest::answer_dialog;
using wintest::ProbeWindow;
using wintest::pump;
using wintest::pump_until;
using wintest::text_of;

std::string bytes_of(const std::vector<uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

TEST(Win32Text, FiltersCommandTailsAndFolders) {
    using namespace std::string_literals;
    // A description without a pattern is dropped rather than read past.
    EXPECT_EQ(dialog_filter("BMP - Bitmap|*.bmp|.bat"), L"BMP - Bitmap\0*.bmp\0\0"s);
    const std::pair<std::wstring, std::wstring> tails[] = {
        {LR"("C:\Programme\Mavorin\mavorin.exe" "C:\a b\x.mvn")", LR"("C:\a b\x.mvn")"},
        {L"mavorin.exe   C:\\x.mvn  ", L"C:\\x.mvn  "},
        {L"\"C:\\mit blank\\mavorin.exe\"", L""},
        {L"\"unclosed quote", L""}};
    for (const auto& [line, tail] : tails) EXPECT_EQ(command_tail(line), tail) << narrow(line);
    EXPECT_EQ(without_trailing_backslash(L"C:\\"), L"C:");
    EXPECT_EQ(without_trailing_backslash(L"C:\\Daten\\"), L"C:\\Daten");
}

TEST(Win32Input, TypesTheBraceNotationIntoTheFocusedEdit) {
    ProbeWindow probe(300, 200, 400, 120, RGB(200, 200, 255));
    probe.focus_edit();
    Win32Platform p;
    p.send_keys("weg", {});
    p.send_keys("^a", {});  // a shortcut needs the real key: Ctrl+A selects, the next text replaces
    p.send_keys("Hallo {(}1{+}1{)} Grüße € 😀~", {});
    p.send_keys("xy{BS}z+b{LEFT}{BS}", {});
    p.send_keys("{unknown", {});  // malformed: nothing at all
    EXPECT_TRUE(pump_until([&] { return text_of(probe.edit) == L"Hallo (1+1) Grüße € 😀xB"; }))
        << narrow(text_of(probe.edit));
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU}) EXPECT_FALSE(p.key_state(vk).down) << vk;
}

TEST(Win32Input, PointerButtonsAndTheKeyPoll) {
    ProbeWindow probe(300, 200, 400, 120, RGB(200, 255, 200));
    Win32Platform p;
    p.set_cursor_pos(123, 234);
    pump(30);
    EXPECT_EQ(p.get_cursor_pos(), (Point{123, 234}));
    RECT r;
    GetWindowRect(probe.button, &r);
    p.set_cursor_pos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    pump(30);
    using enum PointerButton;
    p.mouse_button(left, true);
    p.mouse_button(left, false);
    EXPECT_TRUE(pump_until([&] { return probe.button_clicks == 1; }));
    for (auto [button, vk] : {std::pair{right, VK_RBUTTON}, {middle, VK_MBUTTON}}) {
        p.mouse_button(button, true);
        EXPECT_TRUE(pump_until([&, vk = vk] { return p.key_state(vk).down; })) << vk;
        p.mouse_button(button, false);
        EXPECT_TRUE(pump_until([&, vk = vk] { return !p.key_state(vk).down; })) << vk;
    }
    // A button left pressed is let go by release_all, which completes the click.
    p.mouse_button(left, true);
    EXPECT_TRUE(pump_until([&] { return p.key_state(VK_LBUTTON).down; }));
    p.release_all();
    EXPECT_TRUE(pump_until([&] { return probe.button_clicks == 2; }));
    EXPECT_FALSE(p.key_state(VK_LBUTTON).down);
}

// Files, and screenshots written as files, in a folder whose name is not ASCII.
TEST(Win32Files, FolderFactsAndScreenshotsSavedAsBmpAndJpeg) {
    wintest::TempDir dir;
    ProbeWindow probe(200, 150, 300, 200, RGB(0xE0, 0x20, 0x60));
    pump(200);
    Win32Platform p;
    const std::string folder = p.current_folder();
    EXPECT_EQ(widen(folder), dir.path());
    dir.write(L"code10.bmp", "abc,def\r\nmore");
    EXPECT_TRUE(p.file_exists("code10.bmp"));
    EXPECT_TRUE(p.file_exists(folder + "\\code10.bmp"));
    EXPECT_FALSE(p.file_exists("fehlt.bmp"));
    CreateDirectoryW(dir.file(L"ordner").c_str(), nullptr);
    EXPECT_FALSE(p.file_exists("ordner"));
    std::string field = "old";
    ASSERT_TRUE(p.read_first_field("code10.bmp", field));
    EXPECT_EQ(field, "abc");
    EXPECT_FALSE(p.read_first_field("fehlt.bmp", field));

    const Bitmap shot = p.capture_screen();
    EXPECT_EQ(shot.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(shot.height, GetSystemMetrics(SM_CYSCREEN));
    ASSERT_EQ(shot.bgr.size(), static_cast<size_t>(shot.width) * shot.height * 3);
    // A pixel below the EDIT and right of the button shows the probe's fill (BGR order).
    const size_t at = (static_cast<size_t>(150 + 150) * shot.width + 200 + 250) * 3;
    EXPECT_EQ(std::string(shot.bgr.begin() + at, shot.bgr.begin() + at + 3), "\x60\x20\xE0");

    dir.write(L"bild ö.bmp", "old contents");
    ASSERT_TRUE(p.save_bmp(shot, "bild ö.bmp"));
    EXPECT_EQ(dir.read(L"bild ö.bmp"), bytes_of(encode_bmp(shot)));
    ASSERT_EQ(p.save_jpeg(shot, "bild.jpg", 90), 0);
    const std::string jpg = dir.read(L"bild.jpg");
    ASSERT_GT(jpg.size(), 1000u);
    EXPECT_EQ(jpg.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(jpg.substr(jpg.size() - 2), "\xFF\xD9");

    // Failed writes: a folder as target, a missing folder, a read-only file (left alone). No
    // temporary file stays behind.
    EXPECT_FALSE(p.save_bmp(shot, "ordner"));
    EXPECT_FALSE(p.save_bmp(shot, "fehlt\\bild.bmp"));
    EXPECT_NE(p.save_jpeg(shot, "fehlt\\bild.jpg", 90), 0);
    dir.write(L"alt.bmp", "old contents");
    SetFileAttributesW(dir.file(L"alt.bmp").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(p.save_bmp(shot, "alt.bmp"));
    EXPECT_NE(p.save_jpeg(shot, "alt.bmp", 90), 0);
    SetFileAttributesW(dir.file(L"alt.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(dir.read(L"alt.bmp"), "old contents");
    WIN32_FIND_DATAW fd;
    HANDLE f = FindFirstFileW(dir.file(L"*.tmp").c_str(), &fd);
    EXPECT_EQ(f, INVALID_HANDLE_VALUE);
    if (f != INVALID_HANDLE_VALUE) FindClose(f);
}

TEST(Win32Clipboard, HoldsExactlyTheTextSet) {
    Win32Platform p;
    for (const char* text : {"Zähler 42 €", ""}) {
        p.clipboard_set_text(text);
        std::wstring got = L"<none>";
        ASSERT_TRUE(OpenClipboard(nullptr));
        if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
            got = static_cast<const wchar_t*>(GlobalLock(h));
            GlobalUnlock(h);
        }
        CloseClipboard();
        EXPECT_EQ(got, widen(text));
    }
}

TEST(Win32Window, LayeredAlphaTopmostAndMonitorPowerGoToTheMainWindow) {
    ProbeWindow probe(100, 100, 300, 200);
    Win32Platform p;
    p.set_main_window(probe.hwnd);
    RECT before, after;
    GetWindowRect(probe.hwnd, &before);
    p.make_layered();
    p.set_alpha(81);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(probe.hwnd, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 81);
    EXPECT_TRUE(flags & LWA_ALPHA);
    p.set_topmost(true);
    EXPECT_TRUE(GetWindowLongW(probe.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    p.set_topmost(false);
    EXPECT_FALSE(GetWindowLongW(probe.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    GetWindowRect(probe.hwnd, &after);
    EXPECT_TRUE(EqualRect(&before, &after));  // neither moved nor resized
    // The window rectangle in twips is the pixel rectangle scaled by the screen's twips.
    const TwipRect t = p.window_rect_twips();
    EXPECT_NEAR(t.left / p.twips_per_pixel_x(), before.left, 1);
    EXPECT_NEAR(t.height / p.twips_per_pixel_y(), before.bottom - before.top, 1);
    p.monitor_off();
    EXPECT_EQ(probe.syscommands, (std::vector<std::pair<WPARAM, LPARAM>>{{SC_MONITORPOWER, 2}}));
}

TEST(Win32Window, MessageBoxesAndFileDialogsReturnTheAnswer) {
    wintest::TempDir dir;
    Win32Platform p;
    std::thread no([] { answer_dialog(IDNO); });
    EXPECT_EQ(p.message_box("Möchten Sie diesen Befehl wirklich ausführen?", kMbYesNoQuestion),
              kIdNo);
    no.join();
    std::thread ok([] { answer_dialog(IDOK); });
    EXPECT_EQ(p.message_box("reboot", kMbOk), kIdOk);
    ok.join();
    std::thread cancel([] { answer_dialog(IDCANCEL); });
    EXPECT_EQ(p.open_file_dialog(".exe|*.exe|.bat|*.bat", ""), "");
    cancel.join();
    const std::wstring target = dir.file(L"makro.mvn");
    std::thread choose([&] { answer_dialog(IDOK, target); });
    EXPECT_EQ(p.save_file_dialog("Mavorin|*.mvn", "makro"), narrow(target));
    choose.join();
}

TEST(Win32System, DriveTypesAreAskedByRootPath) {
    Win32Platform p;
    const auto roots = p.drive_roots();
    ASSERT_EQ(roots.size(), 26u);
    EXPECT_EQ(roots.back(), "Z:\\");
    wchar_t windir[MAX_PATH];
    GetWindowsDirectoryW(windir, MAX_PATH);
    EXPECT_EQ(p.drive_type(std::string(1, static_cast<char>(windir[0])) + ":\\"), DRIVE_FIXED);
    const DWORD used = GetLogicalDrives();
    const auto unused = std::find_if(roots.rbegin(), roots.rend(), [&](const std::string& r) {
        return !(used >> (r[0] - 'A') & 1);
    });
    ASSERT_NE(unused, roots.rend());
    EXPECT_EQ(p.drive_type(*unused), DRIVE_NO_ROOT_DIR);
}

TEST(Win32System, ProgramsStartFromTheirCommandLineAndFilesOpenWithTheirHandler) {
    wintest::TempDir dir;
    Win32Platform p;
    const std::string folder = p.current_folder();
    p.run_program("cmd.exe /c echo gestartet> \"" + folder + "\\lauf.txt\"");
    EXPECT_TRUE(pump_until([&] { return dir.read(L"lauf.txt").find("gestartet") == 0; }, 15000));
    dir.write(L"öffnen.bat", "@echo geöffnet> \"%~dp0offen.txt\"\r\n");
    p.open_with_default_handler(folder + "\\öffnen.bat");
    EXPECT_TRUE(pump_until([&] { return !dir.read(L"offen.txt").empty(); }, 15000));
}

TEST(Win32System, WmiFindsTheOperatingSystemObjectThatShutsDown) {
    std::vector<std::wstring> captions;
    EXPECT_TRUE(for_each_operating_system(
        [&](IDispatch* os) { captions.push_back(read_property(os, L"Caption")); }));
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_NE(captions[0].find(L"Windows"), std::wstring::npos) << narrow(captions[0]);
}

TEST(Win32System, CdDoorOpens) {
    if (running_on_wine()) GTEST_SKIP() << "Wine has no cdaudio MCI device to move a door";
    Win32Platform p;
    const auto roots = p.drive_roots();
    const auto cd = std::find_if(roots.begin(), roots.end(), [&](const std::string& r) {
        return p.drive_type(r) == kDriveCdrom;
    });
    if (cd == roots.end()) GTEST_SKIP() << "no CD drive on this machine";
    p.cd_door(*cd, CdDoor::open);
    const std::string open = "Open " + *cd + " Type cdaudio Alias probe";
    char mode[64] = {};
    mciSendStringA(open.c_str(), nullptr, 0, nullptr);
    mciSendStringA("status probe mode", mode, sizeof mode, nullptr);
    mciSendStringA("close probe", nullptr, 0, nullptr);
    EXPECT_STREQ(mode, "open");
    p.cd_door(*cd, CdDoor::close);
}

}  // namespace
}  // namespace mavorin::win32
