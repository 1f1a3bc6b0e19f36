// A windowed program started from a console still prints its command-line output there.
#include <windows.h>

#include <cstdio>

namespace {

struct AttachParentConsole {
    AttachParentConsole() {
        // Redirected output (a pipe or file) already works; only a bare console needs attaching.
        if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN) return;
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
        freopen("CONOUT$", "w", stdout);
        freopen("CONOUT$", "w", stderr);
    }
} attach_parent_console;

}  // namespace
