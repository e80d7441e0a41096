#include "faultOptions.h"

#include <cstring>

const std::vector<TFaultOption>& FaultOptions() {
    using F = TDeviceFaults;
    static const std::vector<TFaultOption> options = {
        {"--no-answer", "", "never answer \"VERS\"", &F::NoAnswer},
        {"--id-word", "WORD", "identify with WORD instead of QUARNELVISK", &F::IdWord},
        {"--no-spaces", "", "version reply without spaces", &F::NoSpaces},
        {"--wrong-crc", "K", "wrong CRC in the acknowledgement of block K", &F::WrongCrcAt},
        {"--swap-crc", "K", "CRC bytes swapped in the acknowledgement of block K", &F::SwapCrcAt},
        {"--split-ack", "K", "acknowledgement of block K in two chunks, 100 ms apart", &F::SplitAckAt},
        {"--half-ack", "K", "only the first byte of the acknowledgement of block K, then silence", &F::HalfAckAt},
        {"--extra-byte", "K", "one byte too many after the acknowledgement of block K", &F::ExtraByteAt},
        {"--silent-after", "K", "no answer from block K on", &F::SilentAfter},
        {"--hangup-after", "K", "hang up the line after block K", &F::HangupAfter},
        {"--hangup-in", "K", "hang up the line halfway through block K (0: on \"VERS\")", &F::HangupIn},
        {"--lowercase-fz", "", "final acknowledgement ends in \"fz\"", &F::LowercaseFz},
        {"--plain-final", "", "acknowledge the last block like any other", &F::PlainFinal},
        {"--early-fz", "K", "final acknowledgement (\"FZ\") at block K, before the image area ends", &F::EarlyFinalAt},
        {"--controls-in-name", "", "the device name holds an escape sequence and control bytes", &F::ControlsInName},
        {"--garbage", "N", "N garbage bytes, a chunk of their own, before the version reply", &F::GarbageBeforeReply},
        {"--flood", "K", "answer block K (0: the version request) with 4096 bytes", &F::FloodAt},
        {"--after-start", "TEXT",
         "send TEXT once \"PUSK\" has come (a late reply the host must not take for a failed upload)", &F::AfterStart},
    };
    return options;
}

std::string FaultUsage() {
    std::string text;
    for (const TFaultOption& o : FaultOptions()) {
        std::string left = "  " + std::string(o.Name) + (*o.Value ? " " + std::string(o.Value) : "");
        left.resize(std::max<size_t>(left.size() + 1, 23), ' ');
        text += left + o.Help + "\n";
    }
    return text;
}

const TFaultOption* FindFaultOption(const std::string& name) {
    for (const TFaultOption& o : FaultOptions())
        if (name == o.Name) return &o;
    return nullptr;
}
