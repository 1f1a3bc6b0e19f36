// Instance control: `mavorin --start` and `mavorin --abort` reach the running window over a
// per-user local socket, so a compositor's key bindings or a script can act as the hot keys.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mavorin::instance {

enum class Request { start, abort };

// The folder of the socket: $XDG_RUNTIME_DIR, else /tmp/mavorin-<uid>, created 0700. Either must
// belong to the user and be closed to everybody else; nullopt (and `why`) when it is not.
std::optional<std::string> socket_folder(std::string& why);
std::string socket_path(const std::string& folder);

// The window's end. Every call returns at once: the listening socket and the callers' sockets are
// non-blocking, and a caller whose request is not complete yet is kept for a later call.
class Server {
  public:
    // Listens in `folder`, replacing a socket that a killed window left behind. nullptr when
    // another window of the user already listens there, or the socket cannot be made (`why`).
    static std::unique_ptr<Server> listen(const std::string& folder, std::string& why);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // The descriptors to watch for reading: the listening socket first, then waiting callers.
    std::vector<int> descriptors() const;
    // Serves what is ready on `fd` (one of descriptors()): accepts callers, reads their requests,
    // answers them; returns the requests of the user's own callers, in order.
    std::vector<Request> serve(int fd);

  private:
    struct Caller {
        int fd;
        std::string text;
    };
    Server(int listen_fd, int lock_fd, std::string path);
    void accept_callers(std::vector<Request>& out);
    // True when the caller is done with (answered or dropped) and its socket closed.
    bool read_caller(Caller& c, std::vector<Request>& out);

    int listen_fd;
    int lock_fd;
    std::string path;
    std::vector<Caller> callers;
};

// The command line's end: sends the request and waits briefly for the answer. 0 when the window
// took it; 1, with the reason on `err`, when no window answers or it refused.
int send_request(Request r, const std::string& folder, std::ostream& err);

// `mavorin --start` / `mavorin --abort` as the only argument: sends it and returns the exit code;
// nullopt for any other command line.
std::optional<int> run_option(const std::vector<std::string>& args, std::ostream& err);

}  // namespace mavorin::instance
