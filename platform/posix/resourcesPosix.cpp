// Without module resources every resource is one linked into the binary.
#include "../resources.h"

namespace platform::backend {

std::optional<std::string> FindSystemResource(const std::string&, uint16_t) { return std::nullopt; }

}  // namespace platform::backend
