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

using wintest::ProbeWindow;
using wintest::pump;
using wintest::pump_until;
using wintest::TempDir;

// Makes the current folder a fresh temporary one for the test's duration.
class InFolder {
  public:
    InFolder() {
        wchar_t old[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, old);
        old_ = old;
        SetCurrentDirectoryW(dir.path().c_str());
    }
    ~InFolder() { SetCurrentDirectoryW(old_.c_str()); }
    TempDir dir;

  private:
    std::wstring old_;
};

TEST(Win32Text, ConvertsBetweenUtf8AndUtf16IncludingSurrogates) {
    const std::string text = "Grüße € 😀 \\ Ende";
    const std::wstring wide = widen(text);
    EXPECT_EQ(wide, L"Grüße € \U0001F600 \\ Ende");
    EXPECT_EQ(narrow(wide), text);
    EXPECT_EQ(widen(""), L"");
    EXPECT_EQ(narrow(L""), "");
}

TEST(Win32Text, DialogFilterBecomesNulSeparatedPairs) {
    using namespace std::string_literals;
    EXPECT_EQ(dialog_filter("BMP - Windows Bitmap|*.bmp|JPG - JPEG Dateien|*.jpg"),
              L"BMP - Windows Bitmap\0*.bmp\0JPG - JPEG Dateien\0*.jpg\0\0"s);
    // A description without a pattern is dropped rather than read past.
    EXPECT_EQ(dialog_filter(".exe|*.exe|.bat"), L".exe\0*.exe\0\0"s);
    EXPECT_EQ(dialog_filter(""), L"\0\0"s);
}

TEST(Win32Text, CommandTailIsEverythingAfterTheProgramName) {
    EXPECT_EQ(command_tail(LR"("C:\Programme\Mavorin\mavorin.exe" "C:\a b\x.mvn")"),
              LR"("C:\a b\x.mvn")");
    EXPECT_EQ(command_tail(L"mavorin.exe   C:\\x.mvn  "), L"C:\\x.mvn  ");
    EXPECT_EQ(command_tail(L"mavorin.exe"), L"");
    EXPECT_EQ(command_tail(L"\"C:\\mit blank\\mavorin.exe\""), L"");
    EXPECT_EQ(command_tail(L"\"unclosed quote"), L"");
    EXPECT_EQ(command_tail(L""), L"");
}

TEST(Win32Text, FolderLosesTrailingBackslashes) {
    EXPECT_EQ(without_trailing_backslash(L"C:\\"), L"C:");
    EXPECT_EQ(without_trailing_backslash(L"C:\\Daten\\"), L"C:\\Daten");
    EXPECT_EQ(without_trailing_backslash(L"C:\\Daten"), L"C:\\Daten");
}

TEST(Win32Input, TypesTheBraceNotationIntoTheFocusedEdit) {
    ProbeWindow probe(300, 200, 400, 120, RGB(200, 200, 255));
    probe.focus_edit();
    Win32Platform p;
    p.send_keys("weg");
    p.send_keys("^a");  // a shortcut needs the real key: Ctrl+A selects, the next text replaces
    p.send_keys("Hallo {(}1{+}1{)} Grüße € 😀~");
    p.send_keys("xy{BS}z+b{LEFT}{BS}");
    p.send_keys("{unknown");  // malformed: nothing at all
    EXPECT_TRUE(pump_until([&] { return probe.edit_text() == L"Hallo (1+1) Grüße € 😀xB"; }))
        << narrow(probe.edit_text());
    // Every modifier went up again.
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU}) EXPECT_GE(GetKeyState(vk), 0) << vk;
}

TEST(Win32Input, PointerMovesAndClicksWhereItIs) {
    ProbeWindow probe(300, 200, 400, 120, RGB(200, 255, 200));
    Win32Platform p;
    p.set_cursor_pos(123, 234);
    pump(30);
    EXPECT_EQ(p.get_cursor_pos(), (Point{123, 234}));
    RECT r;
    GetWindowRect(probe.button, &r);
    p.set_cursor_pos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    pump(30);
    p.mouse_event(2);
    p.mouse_event(4);
    EXPECT_TRUE(pump_until([&] { return probe.button_clicks == 1; }));
    // A right press and release reach the window too, and nothing stays held.
    p.mouse_event(8);
    p.mouse_event(16);
    pump(50);
    EXPECT_GE(GetAsyncKeyState(VK_LBUTTON), 0);
    EXPECT_GE(GetAsyncKeyState(VK_RBUTTON), 0);
}

TEST(Win32Input, HeldButtonIsReleasedOnRelease) {
    ProbeWindow probe(300, 200, 400, 120, RGB(255, 255, 200));
    Win32Platform p;
    RECT r;
    GetWindowRect(probe.button, &r);
    p.set_cursor_pos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    pump(30);
    p.mouse_event(2);  // press only
    pump(30);
    p.release_all();
    EXPECT_TRUE(pump_until([&] { return probe.button_clicks == 1; }));
}

TEST(Win32Files, FolderFactsAndFilesInANonAsciiFolder) {
    InFolder in;
    Win32Platform p;
    const std::string folder = p.current_folder();
    EXPECT_EQ(widen(folder), in.dir.path());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_EQ(p.path_separator(), "\\");

    in.dir.write(L"code10.bmp", "abc,def\r\nmore");
    EXPECT_TRUE(p.file_exists("code10.bmp"));
    EXPECT_TRUE(p.file_exists(folder + "\\code10.bmp"));
    EXPECT_FALSE(p.file_exists("fehlt.bmp"));
    EXPECT_FALSE(p.file_exists(""));
    CreateDirectoryW(in.dir.file(L"ordner").c_str(), nullptr);
    EXPECT_FALSE(p.file_exists("ordner"));

    std::string field = "old";
    ASSERT_TRUE(p.read_first_field("code10.bmp", field));
    EXPECT_EQ(field, "abc");
    EXPECT_FALSE(p.read_first_field("fehlt.bmp", field));
}

TEST(Win32Files, BmpIsWrittenAndAFailedWriteKeepsTheOldFile) {
    InFolder in;
    Win32Platform p;
    Bitmap img;
    img.width = img.right = 3;
    img.height = img.bottom = 2;
    img.bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    ASSERT_TRUE(p.save_bmp(img, "bild ö.bmp"));
    const auto expected = encode_bmp(img);
    EXPECT_EQ(in.dir.read(L"bild ö.bmp"), std::string(expected.begin(), expected.end()));
    // Overwriting works; a target that is a folder, or in a missing folder, fails cleanly.
    img.bgr[0] = 99;
    ASSERT_TRUE(p.save_bmp(img, "bild ö.bmp"));
    // Rows are stored bottom-up: the image's first row is the file's last (12 bytes each).
    EXPECT_EQ(static_cast<uint8_t>(in.dir.read(L"bild ö.bmp")[54 + 12]), 99);
    CreateDirectoryW(in.dir.file(L"ordner").c_str(), nullptr);
    EXPECT_FALSE(p.save_bmp(img, "ordner"));
    EXPECT_FALSE(p.save_bmp(img, "fehlt\\bild.bmp"));
    in.dir.write(L"alt.bmp", "old contents");
    SetFileAttributesW(in.dir.file(L"alt.bmp").c_str(), FILE_ATTRIBUTE_READONLY);
    p.save_bmp(img, "alt.bmp");
    SetFileAttributesW(in.dir.file(L"alt.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
    // Either replaced whole or left alone, never truncated; no temporary file stays behind.
    const std::string now = in.dir.read(L"alt.bmp");
    const auto fresh = encode_bmp(img);
    EXPECT_TRUE(now == "old contents" || now == std::string(fresh.begin(), fresh.end()));
    WIN32_FIND_DATAW fd;
    HANDLE f = FindFirstFileW(in.dir.file(L"*.tmp*").c_str(), &fd);
    EXPECT_EQ(f, INVALID_HANDLE_VALUE);
    if (f != INVALID_HANDLE_VALUE) FindClose(f);
}

TEST(Win32Screen, CaptureCoversTheScreenAndShowsAWindowsColour) {
    ProbeWindow probe(200, 150, 300, 200, RGB(0xE0, 0x20, 0x60));
    pump(200);
    Win32Platform p;
    const Bitmap shot = p.capture_screen();
    EXPECT_EQ(shot.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(shot.height, GetSystemMetrics(SM_CYSCREEN));
    ASSERT_EQ(shot.bgr.size(), static_cast<size_t>(shot.width) * shot.height * 3);
    // A pixel below the EDIT and right of the button shows the probe's fill (BGR order).
    const size_t at = (static_cast<size_t>(150 + 150) * shot.width + 200 + 250) * 3;
    EXPECT_EQ(shot.bgr[at + 0], 0x60);
    EXPECT_EQ(shot.bgr[at + 1], 0x20);
    EXPECT_EQ(shot.bgr[at + 2], 0xE0);
}

TEST(Win32Screen, JpegIsSavedThroughGdiplusAndFailuresReportAStatus) {
    InFolder in;
    Win32Platform p;
    Bitmap img;
    img.width = img.right = 64;
    img.height = img.bottom = 48;
    img.bgr.resize(64 * 48 * 3);
    for (size_t i = 0; i < img.bgr.size(); ++i) img.bgr[i] = static_cast<uint8_t>(i * 7);
    ASSERT_EQ(p.save_jpeg(img, "bild.jpg", 90), 0);
    const std::string jpg = in.dir.read(L"bild.jpg");
    ASSERT_GT(jpg.size(), 4u);
    EXPECT_EQ(static_cast<uint8_t>(jpg[0]), 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(jpg[1]), 0xD8);
    EXPECT_EQ(static_cast<uint8_t>(jpg[jpg.size() - 2]), 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(jpg[jpg.size() - 1]), 0xD9);
    EXPECT_NE(p.save_jpeg(img, "fehlt\\bild.jpg", 90), 0);
    EXPECT_EQ(in.dir.read(L"bild.jpg"), jpg);
}

TEST(Win32Screen, JpegQualityChangesTheFile) {
    if (running_on_wine()) GTEST_SKIP() << "Wine's GDI+ ignores the JPEG quality parameter";
    InFolder in;
    Win32Platform p;
    Bitmap img;
    img.width = img.right = 128;
    img.height = img.bottom = 128;
    img.bgr.resize(128 * 128 * 3);
    for (size_t i = 0; i < img.bgr.size(); ++i) img.bgr[i] = static_cast<uint8_t>((i * 37) ^ i / 5);
    ASSERT_EQ(p.save_jpeg(img, "q10.jpg", 10), 0);
    ASSERT_EQ(p.save_jpeg(img, "q100.jpg", 100), 0);
    EXPECT_LT(in.dir.read(L"q10.jpg").size(), in.dir.read(L"q100.jpg").size());
}

TEST(Win32Clipboard, HoldsExactlyTheTextSet) {
    Win32Platform p;
    auto read = [] {
        std::wstring text = L"<none>";
        if (!OpenClipboard(nullptr)) return text;
        if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(GlobalLock(h));
            GlobalUnlock(h);
        }
        CloseClipboard();
        return text;
    };
    p.clipboard_set_text("Zähler 42 €");
    EXPECT_EQ(read(), L"Zähler 42 €");
    p.clipboard_set_text("");
    EXPECT_EQ(read(), L"");
}

TEST(Win32Window, LayeredAlphaTopmostAndMonitorPowerGoToTheMainWindow) {
    ProbeWindow probe(100, 100, 300, 200, RGB(255, 255, 255));
    Win32Platform p;
    p.set_main_window(probe.hwnd);
    RECT before;
    GetWindowRect(probe.hwnd, &before);

    p.make_layered();
    EXPECT_TRUE(GetWindowLongW(probe.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
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
    RECT after;
    GetWindowRect(probe.hwnd, &after);
    EXPECT_TRUE(EqualRect(&before, &after));

    // The window rectangle in twips is the pixel rectangle scaled by the screen's twips.
    const TwipRect t = p.window_rect_twips();
    EXPECT_NEAR(t.left / p.twips_per_pixel_x(), before.left, 1);
    EXPECT_NEAR(t.width / p.twips_per_pixel_x(), before.right - before.left, 1);
    EXPECT_NEAR(t.height / p.twips_per_pixel_y(), before.bottom - before.top, 1);

    p.monitor_off();
    ASSERT_EQ(probe.syscommands.size(), 1u);
    EXPECT_EQ(probe.syscommands[0].first, static_cast<WPARAM>(SC_MONITORPOWER));
    EXPECT_EQ(probe.syscommands[0].second, 2);
}

TEST(Win32Window, PendingEventsAreDispatchedInOnePass) {
    ProbeWindow probe(100, 100, 200, 100, RGB(255, 255, 255));
    Win32Platform p;
    PostMessageW(probe.hwnd, WM_APP + 7, 0, 0);
    p.process_pending_events();
    EXPECT_NE(std::find(probe.messages.begin(), probe.messages.end(), WM_APP + 7u),
              probe.messages.end());
}

TEST(Win32Window, MessageBoxWaitsAndReturnsTheAnswer) {
    Win32Platform p;
    std::thread answer([] {
        if (HWND box = wintest::wait_for_window(L"#32770", L"Mavorin", 5000))
            PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
    EXPECT_EQ(p.message_box("Möchten Sie diesen Befehl wirklich ausführen?", kMbYesNoQuestion),
              kIdNo);
    answer.join();
    std::thread ok([] {
        if (HWND box = wintest::wait_for_window(L"#32770", L"Mavorin", 5000))
            PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(p.message_box("reboot", kMbOk), kIdOk);
    ok.join();
}

TEST(Win32Window, FileDialogsReturnTheChosenPathOrNothing) {
    InFolder in;
    Win32Platform p;
    std::thread cancel([] {
        if (HWND dlg = wintest::wait_for_window(L"#32770", nullptr, 8000))
            PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(p.open_file_dialog(".exe|*.exe|.bat|*.bat", ""), "");
    cancel.join();

    const std::wstring target = in.dir.file(L"makro.mvn");
    std::thread choose([&] {
        if (HWND dlg = wintest::wait_for_window(L"#32770", nullptr, 8000)) {
            Sleep(300);
            SetDlgItemTextW(dlg, 0x47C, target.c_str());  // the file name field
            PostMessageW(dlg, WM_COMMAND, IDOK, 0);
        }
    });
    EXPECT_EQ(p.save_file_dialog("Mavorin|*.mvn", "makro"), narrow(target));
    choose.join();
}

TEST(Win32System, DrivesAreAskedByRootPath) {
    Win32Platform p;
    const auto roots = p.drive_roots();
    ASSERT_EQ(roots.size(), 26u);
    EXPECT_EQ(roots.front(), "A:\\");
    EXPECT_EQ(roots.back(), "Z:\\");
    wchar_t windir[MAX_PATH];
    GetWindowsDirectoryW(windir, MAX_PATH);
    const std::string system_root = std::string(1, static_cast<char>(windir[0])) + ":\\";
    EXPECT_EQ(p.drive_type(system_root), DRIVE_FIXED);
    // A letter that no drive uses.
    const DWORD used = GetLogicalDrives();
    for (int i = 25; i >= 0; --i) {
        if (used & (1u << i)) continue;
        EXPECT_EQ(p.drive_type(std::string(1, static_cast<char>('A' + i)) + ":\\"),
                  DRIVE_NO_ROOT_DIR);
        break;
    }
}

TEST(Win32System, CdDoorOpensAndCloses) {
    if (running_on_wine()) GTEST_SKIP() << "Wine has no cdaudio MCI device to move a door";
    Win32Platform p;
    std::string cd;
    for (const auto& root : p.drive_roots())
        if (p.drive_type(root) == kDriveCdrom) cd = root;
    if (cd.empty()) GTEST_SKIP() << "no CD drive on this machine";
    p.mci_send("Open " + cd + " Type cdaudio Alias cd");
    p.mci_send("set cd door open");
    char mode[64] = {};
    EXPECT_EQ(mciSendStringA("status cd mode", mode, sizeof mode, nullptr), 0u);
    EXPECT_STREQ(mode, "open");
    p.mci_send("set cd door closed");
    p.mci_send("close cd");
}

TEST(Win32System, InputBlockLeavesThisThreadsInputWorking) {
    if (running_on_wine()) GTEST_SKIP() << "Wine does not implement BlockInput";
    ProbeWindow probe(300, 200, 400, 120, RGB(255, 255, 255));
    probe.focus_edit();
    Win32Platform p;
    p.block_input(true);
    p.send_keys("ok");
    p.block_input(false);
    EXPECT_TRUE(pump_until([&] { return probe.edit_text() == L"ok"; }));
}

TEST(Win32System, LockWorkStation) {
    GTEST_SKIP() << (running_on_wine() ? "Wine does not implement LockWorkStation"
                                       : "would lock this session");
}

TEST(Win32System, ProgramsStartFromTheirCommandLineAndFilesOpenWithTheirHandler) {
    InFolder in;
    Win32Platform p;
    const std::string folder = p.current_folder();
    p.run_program("cmd.exe /c echo gestartet> \"" + folder + "\\lauf.txt\"");
    EXPECT_TRUE(pump_until([&] { return in.dir.read(L"lauf.txt").find("gestartet") == 0; }, 15000));

    in.dir.write(L"öffnen.bat", "@echo geöffnet> \"%~dp0offen.txt\"\r\n");
    p.open_with_default_handler(folder + "\\öffnen.bat");
    EXPECT_TRUE(pump_until([&] { return !in.dir.read(L"offen.txt").empty(); }, 15000));
    // A program that does not exist fails silently.
    p.run_program(folder + "\\fehlt.exe");
}

TEST(Win32System, WmiFindsTheOperatingSystemObject) {
    // Shutdown and Reboot are called on these objects; here only a property is read.
    std::vector<std::wstring> captions;
    EXPECT_TRUE(for_each_operating_system(
        [&](IDispatch* os) { captions.push_back(read_property(os, L"Caption")); }));
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_NE(captions[0].find(L"Windows"), std::wstring::npos) << narrow(captions[0]);
}

TEST(Win32Facts, RandomFractionsAreUniformInTheHalfOpenRange) {
    Win32Platform p;
    p.seed_random_from_clock();
    double lo = 1, hi = 0, sum = 0;
    for (int i = 0; i < 10000; ++i) {
        const double r = p.random_fraction();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        lo = std::min(lo, r);
        hi = std::max(hi, r);
        sum += r;
    }
    EXPECT_LT(lo, 0.01);
    EXPECT_GT(hi, 0.99);
    EXPECT_NEAR(sum / 10000, 0.5, 0.02);
}

}  // namespace
}  // namespace mavorin::win32
