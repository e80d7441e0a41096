// A growable byte buffer with a read position: the stream kind that values
// of type TypeStream refer to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    explicit TMemoryStream(const std::string& bytes) : bytes_(bytes.begin(), bytes.end()) {}

    size_t Size() const { return bytes_.size(); }
    size_t Position() const { return position_; }
    void SetPosition(size_t position) { position_ = position < bytes_.size() ? position : bytes_.size(); }

    // Copies up to count bytes from the position on and advances it by the
    // bytes actually read.
    size_t Read(void* buffer, size_t count);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};
