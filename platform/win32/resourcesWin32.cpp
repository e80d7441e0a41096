#include <windows.h>

#include "../resources.h"

namespace platform::backend {

std::optional<std::string> FindSystemResource(const std::string& name, uint16_t type) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(type));
    if (info == nullptr) return std::nullopt;
    const DWORD size = SizeofResource(module, info);
    HGLOBAL handle = LoadResource(module, info);
    if (handle == nullptr) return std::nullopt;
    const void* bytes = LockResource(handle);
    std::optional<std::string> result;
    if (bytes != nullptr) result = std::string(static_cast<const char*>(bytes), size);
    FreeResource(handle);
    return result;
}

}  // namespace platform::backend
