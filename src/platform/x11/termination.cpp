// SIGTERM, SIGINT and SIGHUP end the program cleanly: the handler only sets a flag and wakes the
// window through a pipe; typing checks the flag between chunks.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/x11/x11_devices.hpp"
#include "platform/x11/x11_platform.hpp"

namespace mavorin::x11 {

namespace {

volatile sig_atomic_t g_termination = 0;
int g_wake[2] = {-1, -1};

void on_termination(int) {
    const int saved = errno;
    g_termination = 1;
    const char byte = 1;
    [[maybe_unused]] ssize_t n = write(g_wake[1], &byte, 1);
    errno = saved;
}

}  // namespace

int catch_termination_signals() {
    if (g_wake[0] >= 0) return g_wake[0];
    if (pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    struct sigaction sa = {};
    sa.sa_handler = on_termination;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);
    return g_wake[0];
}

bool termination_requested() {
    return g_termination != 0;
}

}  // namespace mavorin::x11
