// Instance control in the Qt window: one notifier per descriptor of the server.
#include "qt/instance_listener.hpp"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "app/frm_mavorin.hpp"

namespace mavorin::qt {

std::optional<int> instance_option(int argc, char** argv) {
    return instance::run_option(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
}

InstanceListener::InstanceListener(frm_mavorin& window) : window_(window) {
    std::string why;
    if (const auto folder = instance::socket_folder(why))
        server_ = instance::Server::listen(*folder, why);
    if (!server_) {
        // The first window keeps the keys bound to it; this one still works from its button.
        std::cerr << "mavorin: --start and --abort do not reach this window: " << why << "\n";
        return;
    }
    watch();
}

void InstanceListener::serve(int fd) {
    for (instance::Request r : server_->serve(fd)) {
        if (r == instance::Request::start)
            window_.run.start_requested();
        else
            window_.run.abort_requested();
    }
    watch();
}

// Callers come and go with every request: follow the server's set of descriptors.
void InstanceListener::watch() {
    const std::vector<int> fds = server_->descriptors();
    for (auto it = notifiers_.begin(); it != notifiers_.end();) {
        if (std::find(fds.begin(), fds.end(), it->first) == fds.end()) {
            it->second->setEnabled(false);
            it->second.release()->deleteLater();  // it may be the one whose signal runs now
            it = notifiers_.erase(it);
        } else {
            ++it;
        }
    }
    for (int fd : fds) {
        if (notifiers_.count(fd)) continue;
        auto n = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(n.get(), &QSocketNotifier::activated, [this, fd] { serve(fd); });
        notifiers_[fd] = std::move(n);
    }
}

}  // namespace mavorin::qt
