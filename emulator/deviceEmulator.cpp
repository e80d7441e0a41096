#include "deviceEmulator.h"

#include <utility>

#include "base/bootloaderProtocol.h"
#include "base/modbusCrc.h"

namespace {
using protocol::StartCommand;
using protocol::VersionRequest;
constexpr int SplitPauseMs = 100;  // long enough for the host to read the first half alone
constexpr size_t HalfBlock = protocol::BlockSize / 2;

bool IsPrefixOf(std::string_view head, std::string_view whole) {
    return head.size() <= whole.size() && whole.substr(0, head.size()) == head;
}
}  // namespace

TDeviceEmulator::TDeviceEmulator(TDeviceSettings settings) : settings_(std::move(settings)) {}

std::vector<TDeviceAction> TDeviceEmulator::Receive(std::string_view bytes) {
    std::vector<TDeviceAction> actions;
    for (const char c : bytes) ReceiveOne(c, actions);
    return actions;
}

void TDeviceEmulator::ReceiveOne(char c, std::vector<TDeviceAction>& actions) {
    switch (state_) {
        case TState::Probe:
            // Anything before the request is line noise.
            pending_ += c;
            if (pending_.size() > VersionRequest.size()) pending_.erase(0, pending_.size() - VersionRequest.size());
            if (pending_ == VersionRequest) {
                pending_.clear();
                AnswerVersion(actions);
            }
            return;
        case TState::Identified:
            // A host that probes again sends "VERS" before any image byte.
            pending_ += c;
            if (IsPrefixOf(pending_, VersionRequest)) {
                if (pending_.size() == VersionRequest.size()) {
                    pending_.clear();
                    AnswerVersion(actions);
                }
                return;
            }
            state_ = TState::Uploading;
            {
                const std::string image = std::exchange(pending_, std::string());
                for (const char b : image) ReceiveOne(b, actions);
            }
            return;
        case TState::Uploading:
            image_ += c;
            crc_ = ModbusCrcStep(crc_, static_cast<uint8_t>(c));
            if (settings_.Faults.HangupIn > 0 &&
                image_.size() == size_t(settings_.Faults.HangupIn - 1) * protocol::BlockSize + HalfBlock) {
                state_ = TState::HungUp;
                actions.push_back({TDeviceAction::Hangup, "", 0});
                return;
            }
            if (image_.size() % protocol::BlockSize == 0) EndOfBlock(actions);
            return;
        case TState::Final:
            pending_ += c;
            if (IsPrefixOf(pending_, StartCommand)) {
                if (pending_.size() == StartCommand.size()) {
                    pending_.clear();
                    state_ = TState::Started;
                    if (!settings_.Faults.AfterStart.empty())
                        actions.push_back({TDeviceAction::Send, settings_.Faults.AfterStart, 0});
                }
                return;
            }
            unexpected_ += std::exchange(pending_, std::string());
            return;
        case TState::Started: unexpected_ += c; return;
        case TState::Silent: image_ += c; return;
        case TState::HungUp: return;
    }
}

void TDeviceEmulator::AnswerVersion(std::vector<TDeviceAction>& actions) {
    const TDeviceFaults& f = settings_.Faults;
    if (f.NoAnswer) return;
    if (f.HangupIn == 0) {
        state_ = TState::HungUp;
        actions.push_back({TDeviceAction::Hangup, "", 0});
        return;
    }
    if (f.GarbageBeforeReply > 0) {
        std::string garbage;
        for (int i = 0; i < f.GarbageBeforeReply; ++i) garbage += char(0x80 | (i * 37 % 127));
        actions.push_back({TDeviceAction::Send, garbage, 0});
        actions.push_back({TDeviceAction::Pause, "", SplitPauseMs});
    }
    if (f.FloodAt == 0) {
        actions.push_back({TDeviceAction::Send, std::string(4096, 'Q'), 0});
        return;
    }
    const std::string gap = f.NoSpaces ? "" : " ";
    const std::string name = f.ControlsInName ? settings_.Name +
                                                    "\x1b"
                                                    "c\x07\x7f"
                                              : settings_.Name;
    actions.push_back({TDeviceAction::Send, f.IdWord + gap + name + gap + settings_.Version, 0});
    state_ = TState::Identified;
}

void TDeviceEmulator::EndOfBlock(std::vector<TDeviceAction>& actions) {
    const TDeviceFaults& f = settings_.Faults;
    const int block = BlocksReceived();
    if (f.HangupAfter > 0 && block >= f.HangupAfter) {
        state_ = TState::HungUp;
        actions.push_back({TDeviceAction::Hangup, "", 0});
        return;
    }
    if (f.SilentAfter > 0 && block >= f.SilentAfter) {
        state_ = TState::Silent;
        return;
    }
    if (f.FloodAt == block) {
        std::string flood(4096, '\0');
        for (size_t i = 0; i < flood.size(); ++i) flood[i] = char(i * 7);
        actions.push_back({TDeviceAction::Send, flood, 0});
        return;
    }
    uint16_t crc = crc_;
    if (f.WrongCrcAt == block) crc ^= 0x5A5A;
    std::string ack = protocol::Acknowledgement(crc);
    if (f.SwapCrcAt == block) std::swap(ack[0], ack[1]);
    if (block >= settings_.Blocks || block == f.EarlyFinalAt) {
        if (!f.PlainFinal) ack += f.LowercaseFz ? "fz" : protocol::FinalMark;
        state_ = TState::Final;  // what comes now should be "PUSK"
    }
    if (f.HalfAckAt == block) {
        actions.push_back({TDeviceAction::Send, ack.substr(0, 1), 0});
        state_ = TState::Silent;
        return;
    }
    if (f.ExtraByteAt == block) ack += '\x5A';
    if (f.SplitAckAt == block) {
        actions.push_back({TDeviceAction::Send, ack.substr(0, 1), 0});
        actions.push_back({TDeviceAction::Pause, "", SplitPauseMs});
        actions.push_back({TDeviceAction::Send, ack.substr(1), 0});
    } else {
        actions.push_back({TDeviceAction::Send, ack, 0});
    }
}
