// Lets `mavorin --start` and `mavorin --abort` reach this window: watches the instance-control
// socket with the event loop and hands each request to run control.
#pragma once

#include <QSocketNotifier>
#include <map>
#include <memory>
#include <optional>

#include "platform/linux/instance_control.hpp"

namespace mavorin {
class frm_mavorin;
}

namespace mavorin::qt {

// `--start` or `--abort` as the whole command line: sends it to the running window and returns
// the exit code, before any display is opened; nullopt otherwise.
std::optional<int> instance_option(int argc, char** argv);

class InstanceListener {
  public:
    // Listens unless another window of the user does; then says so on stderr.
    explicit InstanceListener(frm_mavorin& window);

  private:
    void serve(int fd);
    void watch();
    frm_mavorin& window_;
    std::unique_ptr<instance::Server> server_;
    std::map<int, std::unique_ptr<QSocketNotifier>> notifiers_;
};

}  // namespace mavorin::qt
