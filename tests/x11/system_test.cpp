// Screen capture and image files, power commands, drives and the CD door.
#include "x11_test_support.hpp"
// After gtest: Xlib defines None and Bool.
#include <linux/cdrom.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdarg>
#include <filesystem>
#include <fstream>

// The door requests stop here instead of reaching the kernel, so no drive is needed to see
// them; every other request goes through.
std::vector<unsigned long> door_requests;

extern "C" int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    if (request != CDROMEJECT && request != CDROMCLOSETRAY)
        return static_cast<int>(syscall(SYS_ioctl, fd, request, arg));
    door_requests.push_back(request);
    return 0;
}

namespace mavorin::x11test {
namespace {

namespace fs = std::filesystem;

// Runs in a fresh folder that is also the current folder.
class X11Files : public X11Test {
  protected:
    X11Files() {
        fs::create_directories(folder);
        fs::current_path(folder);
    }
    ~X11Files() override {
        fs::current_path(previous);
        fs::remove_all(folder);
    }
    const fs::path previous = fs::current_path();
    const fs::path folder = fs::temp_directory_path() / ("mavorin-x11-" + std::to_string(getpid()));
};

TEST_F(X11Files, BmpAndJpegFilesReadBackWithColoursAndQuality) {
    TargetWindow top(10, 10, 3, 1, 0xFF0000), bottom(10, 11, 3, 1, 0x0000FF);
    const Bitmap shot = dev->capture_screen();
    const std::string size = std::to_string(shot.width) + " " + std::to_string(shot.height);
    ASSERT_TRUE(dev->save_bmp(shot.crop(10, 10, 3, 2), (folder / "block.bmp").string()));
    EXPECT_EQ(shell("convert block.bmp -depth 8 txt:- | grep -o '#[0-9A-F]\\{6\\}' | tr '\\n' ' '"),
              "#FF0000 #FF0000 #FF0000 #0000FF #0000FF #0000FF ");
    ASSERT_EQ(dev->save_jpeg(shot, "q.jpg", 75), 0);  // relative to the current folder
    EXPECT_EQ(shell("identify -format '%m %w %h %Q' q.jpg"), "JPEG " + size + " 75");
    // Failed saves report it, keep the old file and leave nothing half-written beside it.
    EXPECT_NE(dev->save_jpeg(shot, "no-such-folder/a.jpg", 80), 0);
    EXPECT_FALSE(dev->save_bmp(shot, "no-such-folder/a.bmp"));
    EXPECT_NE(dev->save_jpeg(Bitmap{}, "q.jpg", 80), 0);
    EXPECT_EQ(shell("identify -format '%Q ' q.jpg; ls | wc -l"), "75 2");
    // Saving an unchanged picture again may skip the disk, but never past a change made outside.
    const std::string block = (folder / "block.bmp").string();
    std::string field;
    ASSERT_TRUE(dev->save_bmp(shot.crop(10, 10, 3, 2), block));
    shell("printf 'outside,' > block.bmp");
    ASSERT_TRUE(dev->read_first_field(block, field));
    EXPECT_EQ(field, "outside");
    shell("rm block.bmp");
    ASSERT_TRUE(dev->save_bmp(shot.crop(10, 10, 3, 2), block));
    EXPECT_TRUE(dev->file_exists(block));
}

TEST_F(X11Files, PowerCommandsAskLogindThroughBusctlAndLeaveNoZombie) {
    // A stand-in busctl that notes its arguments, first on the path.
    std::ofstream("busctl") << "#!/bin/sh\necho \"$*\" >> \"$(dirname \"$0\")/asked\"\n";
    chmod("busctl", 0755);
    // Without the stand-in the real busctl would be asked to power the machine off.
    ASSERT_EQ(access("busctl", X_OK), 0);
    const std::string path = getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin";
    setenv("PATH", (folder.string() + ":" + path).c_str(), 1);
    const auto asked = [](int n) {
        return shell("wc -l < asked 2>/dev/null") == std::to_string(n);
    };
    dev->shutdown();
    EXPECT_TRUE(wait_until([&] { return asked(1); }, 5));
    dev->reboot();
    EXPECT_TRUE(wait_until([&] { return asked(2); }, 5));
    setenv("PATH", path.c_str(), 1);
    const std::string call =
        "call org.freedesktop.login1 /org/freedesktop/login1 org.freedesktop.login1.Manager ";
    EXPECT_EQ(shell("cat asked"), call + "PowerOff b false\n" + call + "Reboot b false");
    // Nobody waits for a started program, yet none stays behind as a zombie.
    const std::string zombies = "ps --ppid " + std::to_string(getpid()) + " -o stat= | grep -c Z";
    EXPECT_TRUE(wait_until([&] { return shell(zombies) == "0"; }, 5)) << shell(zombies);
}

TEST_F(X11Files, TheDoorOpensByEjectAndClosesByClosingTheTray) {
    std::ofstream("sr0");  // opened like the drive; its requests never reach a kernel
    door_requests.clear();
    dev->cd_door((folder / "sr0").string(), CdDoor::open);
    dev->cd_door((folder / "sr0").string(), CdDoor::close);
    EXPECT_EQ(door_requests, (std::vector<unsigned long>{CDROMEJECT, CDROMCLOSETRAY}));
}

}  // namespace
}  // namespace mavorin::x11test
