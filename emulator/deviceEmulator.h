// The device side of the bootloader exchange, as a state machine that takes
// the bytes the host sends and says what the device answers. The program
// quarnelvisk-device puts it on a pseudo-terminal; tests drive it directly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/bootloaderProtocol.h"

struct TDeviceFaults {
    bool NoAnswer = false;  // never answer "VERS"
    std::string IdWord{protocol::IdentificationWord};
    bool NoSpaces = false;        // the version reply without its spaces
    int WrongCrcAt = 0;           // acknowledge block k with a wrong CRC
    int SwapCrcAt = 0;            // acknowledge block k with the CRC bytes swapped
    int SplitAckAt = 0;           // acknowledge block k in two chunks (a good device on a slow line)
    int HalfAckAt = 0;            // acknowledge block k with its first byte only, then answer nothing
    int ExtraByteAt = 0;          // acknowledge block k with one byte too many
    int SilentAfter = 0;          // answer nothing from block k on
    int HangupAfter = 0;          // hang up after receiving block k
    int HangupIn = -1;            // hang up halfway through block k (0: on "VERS", instead of answering)
    bool LowercaseFz = false;     // the final acknowledgement ends in "fz"
    bool PlainFinal = false;      // acknowledge the last block like any other
    int EarlyFinalAt = 0;         // end with the final acknowledgement ("FZ") at block k, before the image area ends
    bool ControlsInName = false;  // the device name holds an escape sequence and control bytes
    int GarbageBeforeReply = 0;   // send this many garbage bytes, as a chunk of their own, before the reply
    int FloodAt = -1;             // answer block k (0: "VERS") with 4096 bytes instead
    std::string AfterStart;       // sent once "PUSK" has come: the new firmware's first words
};

struct TDeviceSettings {
    std::string Name = "MZK7";
    std::string Version = "1.3";
    int Blocks = int(protocol::ImageBlocks);  // the image area, in blocks
    TDeviceFaults Faults;
};

// One thing the device does in answer to what it received.
struct TDeviceAction {
    enum TKind { Send, Pause, Hangup } Kind;
    std::string Bytes;  // Send: one burst
    int PauseMs = 0;    // Pause: the gap that makes the next burst a chunk of its own
};

class TDeviceEmulator {
public:
    explicit TDeviceEmulator(TDeviceSettings settings);

    // Takes bytes from the line, in the order received, and returns what the
    // device does in answer.
    std::vector<TDeviceAction> Receive(std::string_view bytes);

    bool Identified() const { return state_ != TState::Probe; }
    bool Started() const { return state_ == TState::Started; }  // "PUSK" received after the final block
    int BlocksReceived() const { return int(image_.size() / protocol::BlockSize); }
    uint16_t Crc() const { return crc_; }
    const std::string& Image() const { return image_; }
    // Bytes that came when the device expected none (after the final
    // acknowledgement other than "PUSK", or after "PUSK").
    const std::string& Unexpected() const { return unexpected_; }

private:
    enum class TState { Probe, Identified, Uploading, Final, Started, Silent, HungUp };

    void ReceiveOne(char c, std::vector<TDeviceAction>& actions);
    void AnswerVersion(std::vector<TDeviceAction>& actions);
    void EndOfBlock(std::vector<TDeviceAction>& actions);

    TDeviceSettings settings_;
    TState state_ = TState::Probe;
    std::string pending_;  // bytes that may still turn out to be a command
    std::string image_;
    uint16_t crc_ = 0xFFFF;
    std::string unexpected_;
};
