// Detached program starts and the CD door, driven by the device command strings.
#include <fcntl.h>
#include <glob.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "platform/x11/x11_devices.hpp"

namespace mavorin::x11 {

void spawn_detached(const std::vector<std::string>& argv) {
    if (argv.empty()) return;
    pid_t pid = fork();
    if (pid < 0) return;
    if (pid == 0) {
        // The grandchild runs in its own session; the child exits at once so nothing waits.
        setsid();
        if (fork() != 0) _exit(0);
        int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
        }
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status;
    waitpid(pid, &status, 0);
}

std::vector<std::string> X11Devices::drive_roots() {
    std::vector<std::string> roots;
    glob_t g{};
    if (glob("/dev/sr[0-9]*", 0, nullptr, &g) == 0)
        for (size_t i = 0; i < g.gl_pathc; ++i) roots.push_back(g.gl_pathv[i]);
    globfree(&g);
    return roots;
}

int X11Devices::drive_type(const std::string& root) {
    int fd = open(root.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return 1;
    const bool cd = ioctl(fd, CDROM_GET_CAPABILITY, 0) >= 0;
    close(fd);
    return cd ? kDriveCdrom : 0;
}

void X11Devices::mci_send(const std::string& command) {
    // "Open <root> Type cdaudio Alias <alias>", "set <alias> door open|closed", "close <alias>".
    std::istringstream in(command);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    auto lower = [](std::string s) {
        for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    if (words.size() >= 6 && lower(words[0]) == "open" && lower(words[2]) == "type" &&
        lower(words[4]) == "alias") {
        cd_aliases_[lower(words[5])] = words[1];
    } else if (words.size() == 4 && lower(words[0]) == "set" && lower(words[2]) == "door") {
        auto it = cd_aliases_.find(lower(words[1]));
        if (it == cd_aliases_.end()) return;
        int fd = open(it->second.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return;
        if (lower(words[3]) == "open")
            ioctl(fd, CDROMEJECT, 0);
        else if (lower(words[3]) == "closed")
            ioctl(fd, CDROMCLOSETRAY, 0);
        close(fd);
    } else if (words.size() == 2 && lower(words[0]) == "close") {
        cd_aliases_.erase(lower(words[1]));
    }
}

}  // namespace mavorin::x11
