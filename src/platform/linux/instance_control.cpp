// Instance control over a local stream socket: the caller sends "start" or "abort" and a line
// end; the window answers "ok" and a line end, or closes without an answer when it refuses.
#include "platform/linux/instance_control.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ostream>

namespace mavorin::instance {

namespace {

constexpr const char* kSocketName = "mavorin.sock";
constexpr const char* kLockName = "mavorin.lock";
constexpr size_t kLongestRequest = 16;
constexpr size_t kMostCallers = 16;
constexpr int kAnswerSeconds = 3;

// Owned by the user and closed to group and others.
bool private_folder(const struct stat& st) {
    return S_ISDIR(st.st_mode) && st.st_uid == getuid() && (st.st_mode & 077) == 0;
}

bool fill_address(const std::string& path, sockaddr_un& a) {
    std::memset(&a, 0, sizeof a);
    a.sun_family = AF_UNIX;
    if (path.size() >= sizeof a.sun_path) return false;
    std::memcpy(a.sun_path, path.c_str(), path.size() + 1);
    return true;
}

const char* request_word(Request r) {
    return r == Request::start ? "start" : "abort";
}

}  // namespace

std::optional<std::string> socket_folder(std::string& why) {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        struct stat st;
        if (stat(runtime, &st) == 0 && private_folder(st)) return std::string(runtime);
        why = std::string("$XDG_RUNTIME_DIR (") + runtime + ") is not a private folder of yours";
        return std::nullopt;
    }
    const std::string folder = "/tmp/mavorin-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        why = folder + ": " + std::strerror(errno);
        return std::nullopt;
    }
    // lstat: a link planted by someone else must not redirect the socket.
    struct stat st;
    if (lstat(folder.c_str(), &st) != 0 || !private_folder(st) || (st.st_mode & 0777) != 0700) {
        why = folder + " is not a folder of yours with mode 0700";
        return std::nullopt;
    }
    return folder;
}

std::string socket_path(const std::string& folder) {
    return folder + "/" + kSocketName;
}

std::unique_ptr<Server> Server::listen(const std::string& folder, std::string& why) {
    const std::string path = socket_path(folder);
    sockaddr_un address;
    if (!fill_address(path, address)) {
        why = path + ": the path is too long for a socket";
        return nullptr;
    }
    // The lock, held for the window's life, tells a live window from a socket left behind.
    const std::string lock_path = folder + "/" + kLockName;
    const int lock_fd = open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock_fd < 0) {
        why = lock_path + ": " + std::strerror(errno);
        return nullptr;
    }
    if (flock(lock_fd, LOCK_EX | LOCK_NB) != 0) {
        why = "another Mavorin window already answers --start and --abort";
        close(lock_fd);
        return nullptr;
    }
    unlink(path.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    // The folder is closed to others, so the moment before chmod exposes nothing.
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        chmod(path.c_str(), 0600) != 0 || ::listen(fd, 8) != 0) {
        why = path + ": " + std::strerror(errno);
        if (fd >= 0) close(fd);
        close(lock_fd);
        return nullptr;
    }
    return std::unique_ptr<Server>(new Server(fd, lock_fd, path));
}

Server::Server(int listen_fd, int lock_fd, std::string path)
    : listen_fd(listen_fd), lock_fd(lock_fd), path(std::move(path)) {}

Server::~Server() {
    for (const Caller& c : callers) close(c.fd);
    close(listen_fd);
    unlink(path.c_str());
    close(lock_fd);  // last: until the socket is gone, no other window may take over
}

std::vector<int> Server::descriptors() const {
    std::vector<int> fds{listen_fd};
    for (const Caller& c : callers) fds.push_back(c.fd);
    return fds;
}

std::vector<Request> Server::serve(int fd) {
    std::vector<Request> out;
    if (fd == listen_fd) {
        accept_callers(out);
        return out;
    }
    auto it =
        std::find_if(callers.begin(), callers.end(), [fd](const Caller& c) { return c.fd == fd; });
    if (it != callers.end() && read_caller(*it, out)) callers.erase(it);
    return out;
}

void Server::accept_callers(std::vector<Request>& out) {
    for (;;) {
        const int fd = accept4(listen_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR) continue;
            return;  // nobody else waiting, or nothing to be done about it now
        }
        ucred peer{};
        socklen_t size = sizeof peer;
        if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != getuid()) {
            close(fd);  // refused: no answer
            continue;
        }
        // A caller that never finishes must not pile up descriptors.
        if (callers.size() >= kMostCallers) {
            close(callers.front().fd);
            callers.erase(callers.begin());
        }
        callers.push_back({fd, {}});
        if (read_caller(callers.back(), out)) callers.pop_back();
    }
}

bool Server::read_caller(Caller& c, std::vector<Request>& out) {
    char buffer[32];
    for (;;) {
        const ssize_t n = read(c.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;  // rest comes later
        if (n > 0) c.text.append(buffer, static_cast<size_t>(n));
        const size_t end = c.text.find('\n');
        if (n > 0 && end == std::string::npos && c.text.size() <= kLongestRequest) continue;
        const std::string word = c.text.substr(0, end);
        std::optional<Request> r;
        if (word == "start") r = Request::start;
        if (word == "abort") r = Request::abort;
        if (r) {
            out.push_back(*r);
            send(c.fd, "ok\n", 3, MSG_NOSIGNAL | MSG_DONTWAIT);
        }
        close(c.fd);
        return true;
    }
}

int send_request(Request r, const std::string& folder, std::ostream& err) {
    const std::string path = socket_path(folder);
    sockaddr_un address;
    if (!fill_address(path, address)) {
        err << "mavorin: " << path << ": the path is too long for a socket\n";
        return 1;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        err << "mavorin: " << std::strerror(errno) << "\n";
        return 1;
    }
    timeval limit{kAnswerSeconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        const int e = errno;
        close(fd);
        if (e == ENOENT || e == ECONNREFUSED)
            err << "mavorin: no Mavorin window is running (nothing listens on " << path << ")\n";
        else
            err << "mavorin: " << path << ": " << std::strerror(e) << "\n";
        return 1;
    }
    const std::string line = std::string(request_word(r)) + "\n";
    std::string answer;
    if (send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size())) {
        char buffer[8];
        ssize_t n;
        while (answer.size() < 3 &&
               ((n = read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)))
            if (n > 0) answer.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    if (answer.rfind("ok\n", 0) == 0) return 0;
    err << "mavorin: the running window did not take --" << request_word(r) << "\n";
    return 1;
}

std::optional<int> run_option(const std::vector<std::string>& args, std::ostream& err) {
    if (args.size() != 1 || (args[0] != "--start" && args[0] != "--abort")) return std::nullopt;
    std::string why;
    const std::optional<std::string> folder = socket_folder(why);
    if (!folder) {
        err << "mavorin: " << why << "\n";
        return 1;
    }
    return send_request(args[0] == "--start" ? Request::start : Request::abort, *folder, err);
}

}  // namespace mavorin::instance
