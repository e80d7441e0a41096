#include "textCase.h"

namespace platform {

void LowerAnsi(std::string& text) {
    // data() is zero-terminated, so the backend always finds an end even
    // when the text holds no zero byte of its own.
    backend::LowerAnsiZ(text.data());
}

}  // namespace platform
