// Reads a fuzzer's bytes as a small program of choices and texts. Running
// out of bytes yields zeros and empty texts, so every input is usable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <cstdio>
#include <cstdlib>

class TFuzzInput {
public:
    TFuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // A text of at most maxLength bytes, its length taken from one byte.
    std::string Text(size_t maxLength) {
        const size_t length = Byte() % (maxLength + 1);
        return Take(length);
    }
    std::string Take(size_t length) {
        const size_t n = length < size_ - pos_ ? length : size_ - pos_;
        std::string out(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return out;
    }
    std::string Rest() { return Take(size_ - pos_); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// A broken property stops the run with a message; libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)
