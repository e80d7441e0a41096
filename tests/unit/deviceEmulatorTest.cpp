// The device emulator's side of the exchange: it is the reference the
// end-to-end tests measure the host against, so it is checked on its own.
#include "emulator/deviceEmulator.h"

#include <gtest/gtest.h>

#include "base/bootloaderProtocol.h"
#include "base/modbusCrc.h"

namespace {

std::string Sent(const std::vector<TDeviceAction>& actions) {
    std::string out;
    for (const auto& a : actions)
        if (a.Kind == TDeviceAction::Send) out += a.Bytes;
    return out;
}

std::string Block(int k) { return std::string(256, char(k)); }

using protocol::Acknowledgement;

TDeviceSettings TwoBlocks() {
    TDeviceSettings s;
    s.Blocks = 2;
    return s;
}

TEST(deviceEmulator, CrcIsModbus) {
    EXPECT_EQ(ModbusCrc("123456789"), 0x4B37);
    EXPECT_EQ(ModbusCrc(std::string(1, '\0')), 0x40BF);
}

TEST(deviceEmulator, WholeExchange) {
    TDeviceEmulator device(TwoBlocks());
    EXPECT_EQ(Sent(device.Receive("xyVERS")), "QUARNELVISK MZK7 1.3");
    EXPECT_TRUE(device.Identified());
    // A second probe before any image byte is answered again.
    EXPECT_EQ(Sent(device.Receive("VERS")), "QUARNELVISK MZK7 1.3");

    const std::string first = Block(1);
    EXPECT_EQ(Sent(device.Receive(first.substr(0, 100))), "");
    EXPECT_EQ(Sent(device.Receive(first.substr(100))), Acknowledgement(ModbusCrc(first)));
    const std::string second = Block(2);
    EXPECT_EQ(Sent(device.Receive(second)), Acknowledgement(ModbusCrc(first + second)) + "FZ");
    EXPECT_FALSE(device.Started());
    device.Receive("PU");
    device.Receive("SK");
    EXPECT_TRUE(device.Started());
    EXPECT_EQ(device.Image(), first + second);
    EXPECT_TRUE(device.Unexpected().empty());
    device.Receive("z");
    EXPECT_EQ(device.Unexpected(), "z");
}

TEST(deviceEmulator, ImageStartingLikeTheRequestIsStillImage) {
    TDeviceEmulator device(TwoBlocks());
    device.Receive("VERS");
    std::string block = "VEx" + std::string(253, '\x01');
    EXPECT_EQ(Sent(device.Receive(block)), Acknowledgement(ModbusCrc(block)));
    EXPECT_EQ(device.Image(), block);
}

TEST(deviceEmulator, ProbeFaults) {
    TDeviceSettings silent;
    silent.Faults.NoAnswer = true;
    EXPECT_EQ(Sent(TDeviceEmulator(silent).Receive("VERS")), "");

    TDeviceSettings other;
    other.Faults.IdWord = "quarnelvisk";
    other.Faults.NoSpaces = true;
    EXPECT_EQ(Sent(TDeviceEmulator(other).Receive("VERS")), "quarnelviskMZK71.3");

    TDeviceSettings garbage;
    garbage.Faults.GarbageBeforeReply = 5;
    const auto actions = TDeviceEmulator(garbage).Receive("VERS");
    ASSERT_EQ(actions.size(), 3u);
    EXPECT_EQ(actions[0].Bytes.size(), 5u);
    EXPECT_EQ(actions[0].Bytes.find(' '), std::string::npos);
    EXPECT_EQ(actions[1].Kind, TDeviceAction::Pause);
    EXPECT_EQ(actions[2].Bytes, "QUARNELVISK MZK7 1.3");
}

TEST(deviceEmulator, AcknowledgementFaults) {
    const std::string first = Block(1);
    const uint16_t crc = ModbusCrc(first);
    auto ackAfterFirst = [&](TDeviceFaults faults) {
        TDeviceSettings s = TwoBlocks();
        s.Faults = faults;
        TDeviceEmulator device(s);
        device.Receive("VERS");
        return device.Receive(first);
    };
    TDeviceFaults wrong;
    wrong.WrongCrcAt = 1;
    EXPECT_EQ(Sent(ackAfterFirst(wrong)), Acknowledgement(crc ^ 0x5A5A));
    TDeviceFaults swapped;
    swapped.SwapCrcAt = 1;
    const std::string swappedAck{char(crc & 0xFF), char(crc >> 8)};
    EXPECT_EQ(Sent(ackAfterFirst(swapped)), swappedAck);
    TDeviceFaults split;
    split.SplitAckAt = 1;
    const auto parts = ackAfterFirst(split);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].Bytes.size(), 1u);
    EXPECT_EQ(parts[1].Kind, TDeviceAction::Pause);
    TDeviceFaults half;
    half.HalfAckAt = 1;
    EXPECT_EQ(Sent(ackAfterFirst(half)), Acknowledgement(crc).substr(0, 1));
    TDeviceFaults extra;
    extra.ExtraByteAt = 1;
    EXPECT_EQ(Sent(ackAfterFirst(extra)), Acknowledgement(crc) + "Z");
    TDeviceFaults quiet;
    quiet.SilentAfter = 1;
    EXPECT_TRUE(ackAfterFirst(quiet).empty());
    TDeviceFaults hangup;
    hangup.HangupAfter = 1;
    const auto gone = ackAfterFirst(hangup);
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_EQ(gone[0].Kind, TDeviceAction::Hangup);
    TDeviceFaults flood;
    flood.FloodAt = 1;
    EXPECT_EQ(Sent(ackAfterFirst(flood)).size(), 4096u);

    // Halfway through block 2: the first half is kept, then nothing is heard.
    TDeviceSettings midway = TwoBlocks();
    midway.Faults.HangupIn = 2;
    TDeviceEmulator device(midway);
    device.Receive("VERS");
    device.Receive(first);
    const auto cut = device.Receive(Block(2));
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].Kind, TDeviceAction::Hangup);
    EXPECT_EQ(device.Image(), first + Block(2).substr(0, 128));
    TDeviceSettings atProbe = TwoBlocks();
    atProbe.Faults.HangupIn = 0;
    const auto probe = TDeviceEmulator(atProbe).Receive("VERS");
    ASSERT_EQ(probe.size(), 1u);
    EXPECT_EQ(probe[0].Kind, TDeviceAction::Hangup);
}

TEST(deviceEmulator, FinalAcknowledgementFaults) {
    TDeviceSettings lower;
    lower.Blocks = 1;
    lower.Faults.LowercaseFz = true;
    TDeviceEmulator a(lower);
    a.Receive("VERS");
    EXPECT_EQ(Sent(a.Receive(Block(3))), Acknowledgement(ModbusCrc(Block(3))) + "fz");

    TDeviceSettings plain;
    plain.Blocks = 1;
    plain.Faults.PlainFinal = true;
    TDeviceEmulator b(plain);
    b.Receive("VERS");
    EXPECT_EQ(Sent(b.Receive(Block(3))), Acknowledgement(ModbusCrc(Block(3))));
    // The host then sends zero blocks that the device does not expect.
    b.Receive(std::string(256, '\0'));
    EXPECT_EQ(b.Unexpected().size(), 256u);
    EXPECT_FALSE(b.Started());

    // Words after "PUSK" come once, and only once the whole command is in.
    TDeviceSettings talkative;
    talkative.Blocks = 1;
    talkative.Faults.AfterStart = "BOOT 1.4";
    TDeviceEmulator c(talkative);
    c.Receive("VERS");
    c.Receive(Block(3));
    EXPECT_EQ(Sent(c.Receive("PUS")), "");
    EXPECT_EQ(Sent(c.Receive("K")), "BOOT 1.4");
    EXPECT_TRUE(c.Started());
    EXPECT_EQ(Sent(c.Receive("PUSK")), "");
}

}  // namespace
