// Detached program starts (never through a shell), the CD drives and their door.
#include <fcntl.h>
#include <glob.h>
#include <linux/cdrom.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/log.hpp"
#include "platform/x11/x11_devices.hpp"

namespace mavorin::x11 {

void spawn_detached(std::string_view operation, const std::vector<std::string>& argv) {
    if (argv.empty()) return;
    posix_spawn_file_actions_t files;
    posix_spawnattr_t attr;
    if (posix_spawn_file_actions_init(&files) != 0) {
        log_failure(operation, argv[0] + ": out of memory");
        return;
    }
    if (posix_spawnattr_init(&attr) != 0) {
        posix_spawn_file_actions_destroy(&files);
        log_failure(operation, argv[0] + ": out of memory");
        return;
    }
    for (int fd = 0; fd < 3; ++fd)
        posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd ? O_WRONLY : O_RDONLY, 0);
    // Its own session, so that our terminal and our end do not reach it; and a clean signal
    // state whatever this process blocks or ignores.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    // A name without a folder is looked up in PATH; no shell is ever involved.
    const int rc = posix_spawnp(&pid, args[0], &files, &attr, args.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&files);
    // Nobody waits for the program; a small thread collects its exit so no zombie stays.
    if (rc == 0)
        std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    else
        log_failure(operation, argv[0] + ": " + std::strerror(rc));
}

std::vector<std::string> cd_drive_roots() {
    std::vector<std::string> roots;
    glob_t g{};
    if (glob("/dev/sr[0-9]*", 0, nullptr, &g) == 0)
        for (size_t i = 0; i < g.gl_pathc; ++i) roots.push_back(g.gl_pathv[i]);
    globfree(&g);
    return roots;
}

int cd_drive_type(const std::string& root) {
    int fd = open(root.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return 1;
    const bool cd = ioctl(fd, CDROM_GET_CAPABILITY, 0) >= 0;
    close(fd);
    return cd ? kDriveCdrom : 0;
}

void move_cd_door(const std::string& drive, CdDoor move) {
    int fd = open(drive.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        log_failure("cd door", drive + ": " + std::strerror(errno));
        return;
    }
    const int rc = ioctl(fd, move == CdDoor::open ? CDROMEJECT : CDROMCLOSETRAY, 0);
    if (rc < 0) log_failure("cd door", drive + ": " + std::strerror(errno));
    close(fd);
}

std::vector<std::string> X11Devices::drive_roots() {
    return cd_drive_roots();
}

int X11Devices::drive_type(const std::string& root) {
    return cd_drive_type(root);
}

void X11Devices::cd_door(const std::string& drive, CdDoor move) {
    move_cd_door(drive, move);
}

}  // namespace mavorin::x11
