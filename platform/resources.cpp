#include "resources.h"

#include <map>
#include <mutex>
#include <utility>

namespace platform {

namespace {
struct TLinked {
    const unsigned char* data;
    size_t size;
};
// Filled by static initialisers, so it must exist before they run.
std::map<std::pair<std::string, uint16_t>, TLinked>& Linked() {
    static std::map<std::pair<std::string, uint16_t>, TLinked> table;
    return table;
}
std::mutex& LinkedLock() {
    static std::mutex lock;
    return lock;
}
}  // namespace

std::optional<std::string> FindModuleResource(const std::string& name, uint16_t type) {
    {
        std::lock_guard<std::mutex> guard(LinkedLock());
        const auto it = Linked().find({name, type});
        if (it != Linked().end()) return std::string(reinterpret_cast<const char*>(it->second.data), it->second.size);
    }
    return backend::FindSystemResource(name, type);
}

bool RegisterLinkedResource(const std::string& name, uint16_t type, const unsigned char* data, size_t size) {
    std::lock_guard<std::mutex> guard(LinkedLock());
    Linked()[{name, type}] = TLinked{data, size};
    return true;
}

void UnregisterLinkedResource(const std::string& name, uint16_t type) {
    std::lock_guard<std::mutex> guard(LinkedLock());
    Linked().erase({name, type});
}

}  // namespace platform
