// Resources of the program's own module: FindResourceA and friends on
// Windows; on other systems the resources are linked into the binary and
// registered before main.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

constexpr uint16_t ResourceTypeStream = 100;

// The bytes of the resource with this name and numeric type, or nothing when
// the module has none. Resources registered with RegisterLinkedResource are
// found first.
std::optional<std::string> FindModuleResource(const std::string& name, uint16_t type);

// Makes bytes that are linked into the binary findable as a resource.
// Returns true, so that generated code can call it from a static initialiser.
bool RegisterLinkedResource(const std::string& name, uint16_t type, const unsigned char* data, size_t size);
void UnregisterLinkedResource(const std::string& name, uint16_t type);

namespace backend {
std::optional<std::string> FindSystemResource(const std::string& name, uint16_t type);
}

}  // namespace platform
