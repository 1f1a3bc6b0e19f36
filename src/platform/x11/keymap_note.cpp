// The note of remapped keycodes, and giving back what a killed instance left mapped.
#include <X11/extensions/XTest.h>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/x11/x11_devices.hpp"

namespace mavorin::x11 {

namespace {

constexpr const char* kNotePrefix = "mavorin-keymap-";

// $XDG_RUNTIME_DIR, or a folder under /tmp that only we can use; empty when neither is safe.
std::string runtime_folder() {
    if (const char* dir = getenv("XDG_RUNTIME_DIR"); dir && dir[0] == '/') return dir;
    const uid_t uid = getuid();
    const std::string dir = "/tmp/mavorin-" + std::to_string(uid);
    mkdir(dir.c_str(), 0700);
    struct stat st;
    if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != uid ||
        (st.st_mode & 077))
        return "";
    return dir;
}

bool alive(pid_t pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

// Keys and buttons pressed through XTest stay down when their client dies. Releasing through
// XTest touches only what the XTest devices hold, never what the user holds.
void release_xtest_input(Display* dpy) {
    char keys[32] = {};
    XQueryKeymap(dpy, keys);
    for (int code = 8; code < 256; ++code)
        if (keys[code / 8] & (1 << (code % 8))) XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    for (unsigned button = 1; button <= 5; ++button)
        XTestFakeButtonEvent(dpy, button, False, CurrentTime);
}

// Empties a keycode that still carries only the keysym we put there (the server may copy our pair
// into the second group too).
void give_back(Display* dpy, KeyCode kc, KeySym sym) {
    int per = 0;
    KeySym* syms = XGetKeyboardMapping(dpy, kc, 1, &per);
    if (!syms) return;
    bool ours = per >= 1 && syms[0] == sym;
    for (int k = 1; k < per; ++k) ours = ours && (syms[k] == sym || syms[k] == NoSymbol);
    XFree(syms);
    if (!ours) return;
    KeySym none[2] = {NoSymbol, NoSymbol};
    XChangeKeyboardMapping(dpy, kc, 2, none, 1);
}

}  // namespace

std::string write_keymap_note(Display* dpy, const std::map<KeySym, KeyCode>& remapped) {
    const std::string dir = runtime_folder();
    if (dir.empty()) return "";
    const std::string path = dir + "/" + kNotePrefix + std::to_string(getpid());
    std::ostringstream text;
    text << "display " << DisplayString(dpy) << "\n";
    for (const auto& [sym, kc] : remapped) text << int(kc) << " " << sym << "\n";
    const std::string bytes = text.str();
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return "";
    const bool written = write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    close(fd);
    if (!written) {
        unlink(path.c_str());
        return "";
    }
    return path;
}

void restore_left_over_keymaps(Display* dpy) {
    const std::string dir = runtime_folder();
    DIR* d = dir.empty() ? nullptr : opendir(dir.c_str());
    if (!d) return;
    bool restored = false;
    while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.rfind(kNotePrefix, 0) != 0) continue;
        const pid_t pid = atoi(name.c_str() + std::char_traits<char>::length(kNotePrefix));
        if (pid == getpid() || alive(pid)) continue;  // still typing: its map is its own
        const std::string path = dir + "/" + name;
        std::ifstream in(path);
        std::string word, display;
        if (!(in >> word >> display) || word != "display") {
            unlink(path.c_str());
            continue;
        }
        if (display != DisplayString(dpy)) continue;  // for that display's next start
        int kc;
        unsigned long sym;
        while (in >> kc >> sym)
            if (kc >= 8 && kc <= 255) give_back(dpy, static_cast<KeyCode>(kc), sym);
        unlink(path.c_str());
        restored = true;
    }
    closedir(d);
    if (restored) release_xtest_input(dpy);
    XSync(dpy, False);
}

}  // namespace mavorin::x11
