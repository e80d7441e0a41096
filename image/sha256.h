// SHA-256 of a byte string, computed the same on every host whatever its byte
// order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

std::array<uint8_t, 32> Sha256(std::string_view bytes);
// 64 lowercase hexadecimal digits, as sha256sum prints them.
std::string Sha256Hex(std::string_view bytes);
