#include "memoryStream.h"

#include <cstring>

size_t TMemoryStream::Read(void* buffer, size_t count) {
    const size_t left = bytes_.size() - position_;
    const size_t n = count < left ? count : left;
    if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
}
