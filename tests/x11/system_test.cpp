// Blocking input and its guard, program starts and the CD drive probing on a real system.
#include "x11_test_support.hpp"
// After gtest: Xlib defines None and Bool.
#include <X11/extensions/XInput2.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <thread>

namespace mavorin::x11test {
namespace {

namespace fs = std::filesystem;

struct Device {
    int id;
    std::string name;
};

// Slave devices, split into the XTest ones and the user's own.
std::vector<Device> slave_devices(bool xtest) {
    std::vector<Device> out;
    Display* dpy = XOpenDisplay(nullptr);
    int n = 0;
    XIDeviceInfo* info = XIQueryDevice(dpy, XIAllDevices, &n);
    for (int i = 0; i < n; ++i) {
        if (info[i].use != XISlavePointer && info[i].use != XISlaveKeyboard) continue;
        const std::string name = info[i].name;
        if ((name.find("XTEST") != std::string::npos) == xtest)
            out.push_back({info[i].deviceid, name});
    }
    XIFreeDeviceInfo(info);
    XCloseDisplay(dpy);
    return out;
}

// "1", "0" or "" as `xinput list-props` shows the device's "Device Enabled".
std::string enabled(int id) {
    return shell("xinput list-props " + std::to_string(id) +
                 " | awk -F: '/Device Enabled/ {gsub(/[ \\t]/, \"\", $2); print $2}'");
}

bool all_enabled(const std::vector<Device>& devices, const std::string& want) {
    for (const auto& d : devices)
        if (enabled(d.id) != want) return false;
    return true;
}

bool left_button_held() {
    Display* dpy = XOpenDisplay(nullptr);
    Window root, child;
    int rx, ry, wx, wy;
    unsigned mask = 0;
    XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask);
    XCloseDisplay(dpy);
    return mask & Button1Mask;
}

// Runs `body` in a child process that then waits to be killed; returns its pid once the body
// has finished.
pid_t child_that_waits(const std::function<void()>& body) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        body();
        ssize_t w = write(fds[1], "x", 1);
        (void)w;
        for (;;) pause();
    }
    close(fds[1]);
    char c;
    ssize_t r = read(fds[0], &c, 1);
    (void)r;
    close(fds[0]);
    return pid;
}

class X11InputBlock : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!display_available()) GTEST_SKIP() << "no X server";
        physical = slave_devices(false);
        if (physical.empty()) GTEST_SKIP() << "this X server has no device besides XTest";
        xtest = slave_devices(true);
    }
    void TearDown() override {
        for (const auto& d : physical) shell("xinput enable " + std::to_string(d.id));
    }
    std::vector<Device> physical, xtest;
};

TEST_F(X11InputBlock, BlockDisablesTheUsersDevicesButNotXTest) {
    auto dev = make_devices();
    dev->block_input(true);
    EXPECT_TRUE(all_enabled(physical, "0"));
    EXPECT_TRUE(all_enabled(xtest, "1"));
    dev->set_cursor_pos(77, 88);  // our own input still gets through
    EXPECT_TRUE(wait_until([] { return xdotool_pointer() == "77 88"; }, 2));
    dev->block_input(true);  // twice is the same as once
    dev->block_input(false);
    EXPECT_TRUE(all_enabled(physical, "1"));
    dev->block_input(false);
    EXPECT_TRUE(all_enabled(physical, "1"));
}

TEST_F(X11InputBlock, ADeviceDisabledBySomeoneElseStaysDisabled) {
    const std::string other = std::to_string(physical[0].id);
    shell("xinput disable " + other);
    auto dev = make_devices();
    dev->block_input(true);
    dev->block_input(false);
    EXPECT_EQ(enabled(physical[0].id), "0");
    for (size_t i = 1; i < physical.size(); ++i) EXPECT_EQ(enabled(physical[i].id), "1");
}

TEST_F(X11InputBlock, TheGuardFreesInputWhenTheProgramIsKilled) {
    pid_t pid = child_that_waits([] {
        static auto dev = make_devices();  // never destroyed: the child dies by SIGKILL
        dev->block_input(true);
        dev->set_cursor_pos(20, 20);
        dev->mouse_event(2);  // a button left down
    });
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(all_enabled(physical, "0"));
    EXPECT_TRUE(wait_until([] { return left_button_held(); }, 2));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    EXPECT_TRUE(wait_until([&] { return all_enabled(physical, "1"); }, 5));
    // The guard also lets go of what the dead program held down.
    EXPECT_TRUE(wait_until([] { return !left_button_held(); }, 5));
}

TEST_F(X11InputBlock, EndingTheProgramFreesInput) {
    pid_t pid = fork();
    if (pid == 0) {
        auto dev = make_devices();
        dev->block_input(true);
        dev->end_program();
        _exit(3);  // not reached
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(all_enabled(physical, "1"));
}

TEST_F(X11InputBlock, AnOrderlyExitFreesInput) {
    pid_t pid = fork();
    if (pid == 0) {
        {
            auto dev = make_devices();
            dev->block_input(true);
        }
        _exit(0);
    }
    waitpid(pid, nullptr, 0);
    EXPECT_TRUE(all_enabled(physical, "1"));
}

class X11Programs : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!display_available()) GTEST_SKIP() << "no X server";
        dev = make_devices();
    }
    std::unique_ptr<DeviceServices> dev;
    TempFolder folder;
};

TEST_F(X11Programs, AnExecutableRunsAsItIsAndOtherTextAsACommandLine) {
    {
        std::ofstream script("mein skript.sh");
        script << "#!/bin/sh\necho \"$#:$1\" > \"$(dirname \"$0\")/ran\"\n";
    }
    chmod("mein skript.sh", 0755);
    dev->run_program("mein skript.sh");  // relative to the current folder, blank and all
    EXPECT_TRUE(wait_until([] { return fs::exists("ran"); }, 5));
    std::ifstream ran("ran");
    std::string line;
    std::getline(ran, line);
    EXPECT_EQ(line, "0:");

    dev->run_program("echo \"$((6 * 7))\" > answer");
    EXPECT_TRUE(wait_until([] { return fs::exists("answer") && fs::file_size("answer") > 0; }, 5));
    std::ifstream answer("answer");
    std::getline(answer, line);
    EXPECT_EQ(line, "42");
}

TEST_F(X11Programs, TheStepDoesNotWaitForTheProgram) {
    const auto start = std::chrono::steady_clock::now();
    dev->run_program("sleep 30; touch late");
    dev->run_program("/no/such/program");
    dev->run_program("");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_FALSE(fs::exists("late"));
}

TEST_F(X11Programs, OnlyCdDevicesAreCdDrives) {
    const auto roots = dev->drive_roots();
    EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end()));
    for (const auto& root : roots) EXPECT_EQ(root.rfind("/dev/sr", 0), 0u) << root;
    for (const char* not_cd : {"/dev/null", "/dev/zero", "/no/such/device", "", "D:\\"})
        EXPECT_NE(dev->drive_type(not_cd), kDriveCdrom) << not_cd;
    // Door commands for drives that are not there, or that make no sense, do nothing, and the
    // backend goes on working.
    for (const char* cmd :
         {"Open /no/such/device Type cdaudio Alias cd", "set cd door open", "set cd door closed",
          "close cd", "set cd door open", "", "close", "Open", "set door",
          "Open /dev/null Type cdaudio Alias cd", "set cd door open", "close cd"})
        dev->mci_send(cmd);
    dev->set_cursor_pos(31, 41);
    EXPECT_EQ(dev->get_cursor_pos(), (Point{31, 41}));
}

}  // namespace
}  // namespace mavorin::x11test
