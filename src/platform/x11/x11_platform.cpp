// Skeleton: replaced by the real implementation.
#include "platform/x11/x11_platform.hpp"

namespace mavorin::x11 {
std::unique_ptr<DeviceServices> make_x11_devices(const std::vector<std::string>&) {
    return nullptr;
}  // TODO
}  // namespace mavorin::x11
