// The Win32 backend against a real (Wine) desktop: input, files, screen, clipboard, dialogs.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "platform/image_files.hpp"
#include "platform/win32/win32_platform.hpp"
#include "platform/win32/win32_text.hpp"
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

TEST(Win32Input, TypesTheBraceNotationIntoTheFocusedEdit) {
    ProbeWindow probe(300, 200, 400, 120);
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
    ProbeWindow probe(300, 200, 400, 120);
    Win32Platform p;
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
    Win32Platform p;
    const std::string folder = p.current_folder();
    EXPECT_EQ(widen(folder), dir.path());
    dir.write(L"code10.bmp", "abc,def\r\nmore");
    EXPECT_TRUE(p.file_exists("code10.bmp"));
    EXPECT_FALSE(p.file_exists("fehlt.bmp"));
    CreateDirectoryW(dir.file(L"ordner").c_str(), nullptr);
    EXPECT_FALSE(p.file_exists("ordner"));
    std::string field = "old";
    ASSERT_TRUE(p.read_first_field("code10.bmp", field));
    EXPECT_EQ(field, "abc");

    const Bitmap shot = p.capture_screen();
    ASSERT_EQ(shot.bgr.size(), static_cast<size_t>(shot.width) * shot.height * 3);

    dir.write(L"bild ö.bmp", "old contents");
    ASSERT_TRUE(p.save_bmp(shot, "bild ö.bmp"));
    EXPECT_EQ(dir.read(L"bild ö.bmp"), bytes_of(encode_bmp(shot)));
    ASSERT_EQ(p.save_jpeg(shot, "bild.jpg", 90), 0);
    const std::string jpg = dir.read(L"bild.jpg");
    ASSERT_GT(jpg.size(), 1000u);
    EXPECT_EQ(jpg.substr(0, 2) + jpg.substr(jpg.size() - 2), "\xFF\xD8\xFF\xD9");

    // Failed writes: a folder as target, a missing folder, a read-only file (left alone). No
    // temporary file stays behind.
    EXPECT_FALSE(p.save_bmp(shot, "ordner"));
    EXPECT_FALSE(p.save_bmp(shot, "fehlt\\bild.bmp"));
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

}  // namespace
}  // namespace mavorin::win32
