// The facts of the bootloader exchange that the device's side and every
// model of the host share: the emulator, the reference host, the fuzz models
// and the tests. The schemes carry the same words as their own property
// values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace protocol {

inline constexpr std::string_view VersionRequest = "VERS";
inline constexpr std::string_view IdentificationWord = "QUARNELVISK";
inline constexpr std::string_view StartCommand = "PUSK";
// What follows the CRC in the acknowledgement of the image's last block.
inline constexpr std::string_view FinalMark = "FZ";

inline constexpr size_t BlockSize = 256;
inline constexpr size_t ImageBlocks = 1016;
inline constexpr size_t ImageBytes = BlockSize * ImageBlocks;

// A block's acknowledgement: the running CRC, high byte first.
inline std::string Acknowledgement(uint16_t crc) { return {char(crc >> 8), char(crc & 0xFF)}; }
// The acknowledgement of the image's last block.
inline std::string FinalAcknowledgement(uint16_t crc) { return Acknowledgement(crc) + std::string(FinalMark); }

}  // namespace protocol
