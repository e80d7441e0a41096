// The firmware upload scheme, hosted as the main window scheme hosts it: the
// running CRC kept outside the scheme and read back through its inward data,
// the watchdog on a manual timer.
#include "schemes/zelMultiElementEx_265A520.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "base/bootloaderProtocol.h"
#include "base/modbusCrc.h"
#include "platform/resources.h"
#include "runtime/zelEventFromData.h"
#include "tests/fakes/manualTimer.h"
#include "tests/unit/uploadHost.h"

namespace {

std::string Hex4(uint16_t v) {
    char text[5];
    std::snprintf(text, sizeof text, "%04X", v);
    return text;
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char pair[3];
    for (const char c : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned char>(c));
        out += pair;
    }
    return out;
}

// Three blocks: 0x00, 0xFF, then a counting pattern.
std::string TestImage() {
    std::string image(768, '\0');
    for (size_t i = 0; i < image.size(); ++i) image[i] = char(i * 31 + 7);
    image[0] = '\0';
    image[1] = '\xFF';
    return image;
}

// The image is registered as STREAM0 before any scheme is built.
struct TImageResource {
    const std::string image = TestImage();
    TImageResource() {
        platform::RegisterLinkedResource("STREAM0", platform::ResourceTypeStream,
                                         reinterpret_cast<const unsigned char*>(image.data()), image.size());
    }
    ~TImageResource() { platform::UnregisterLinkedResource("STREAM0", platform::ResourceTypeStream); }
};

struct UploadScheme : ::testing::Test {
    DispatchOn on;
    TImageResource resource;
    const std::string& image = resource.image;
    TUploadHost rig;
    TSchemeHarness& scheme = rig.scheme;
    TZelEventFromData& crcStore = rig.crcStore;

    void Start() { rig.Start(); }
    void Reply(const std::string& chunk) { rig.Reply(chunk); }
    fakes::TManualTimer& Watchdog() { return rig.Watchdog(); }

    // The CRC after the first `bytes` bytes of the image.
    uint16_t CrcAfter(size_t bytes) const {
        uint16_t crc = 0xFFFF;
        for (size_t i = 0; i < bytes; ++i) crc = ModbusCrcStep(crc, uint8_t(image[i]));
        return crc;
    }
    static std::string Ack(uint16_t crc) { return protocol::Acknowledgement(crc); }
    // Blocks 1 and 2 acknowledged: block 3, the image's last, has been sent.
    void UpToTheLastBlock() {
        Start();
        Reply(Ack(CrcAfter(256)));
        Reply(Ack(CrcAfter(512)));
    }
};

// Each byte's CRC is published, and the masks rewritten, before the byte is
// written, so that an answer to the block's last byte always finds them.
TEST_F(UploadScheme, BlockAlternatesCrcAndSendPublishingFirst) {
    Start();
    ASSERT_EQ(scheme.log.size(), 512u);
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < 256; ++i) {
        const auto& published = scheme.log[2 * i];
        const auto& send = scheme.log[2 * i + 1];
        ASSERT_EQ(send.label, "onSend") << i;
        ASSERT_EQ(send.value.StrValue, std::string(1, image[i])) << i;
        crc = ModbusCrcStep(crc, uint8_t(image[i]));
        ASSERT_EQ(published.label, "onCRC") << i;
        ASSERT_EQ(published.value.StrValue, Hex4(crc)) << i;
    }
    EXPECT_EQ(scheme.log[0].value.StrValue, "40BF");  // the zero byte from FFFF
    EXPECT_EQ(crcStore.Stored().StrValue, Hex4(CrcAfter(256)));
    EXPECT_TRUE(Watchdog().Running());
    EXPECT_EQ(Watchdog().Interval(), 1000u);
}

TEST_F(UploadScheme, BlockAcknowledgementSendsTheNextBlockBeforeAnythingElse) {
    Start();
    const size_t before = scheme.log.size();
    Reply(Ack(CrcAfter(256)));
    const auto labels = scheme.Labels(before);
    ASSERT_EQ(labels.size(), 1u + 512u + 1u);
    EXPECT_EQ(labels.front(), "onProgress");
    EXPECT_EQ(scheme.log[before].value.IntValue, 1);
    EXPECT_EQ(labels[2], "onSend");
    EXPECT_EQ(scheme.log[before + 2].value.StrValue, std::string(1, image[256]));
    EXPECT_EQ(labels.back(), "onReply");
    EXPECT_EQ(scheme.CountOf("onError"), 0u);
    EXPECT_EQ(crcStore.Stored().StrValue, Hex4(CrcAfter(512)));
}

// The awaited reply's length goes out before the bytes that ask for it:
// 2 before each block, 4 once the image's last byte is read and before it is
// written, 0 with the outcome and before it is reported.
TEST_F(UploadScheme, SaysTheLengthOfEachAwaitedReplyBeforeAskingForIt) {
    TRecorder awaited{"onAwait", &scheme.log};
    scheme.container.onEvent.resize(7);
    scheme.container.onEvent[6] = awaited.Link(6);
    const auto lengths = [&] {
        std::string text;
        for (const auto& e : scheme.log) {
            if (e.label == "onAwait") text += std::to_string(e.value.IntValue);
            if (e.label == "onSend") text += e.value.StrValue == "PUSK" ? "P" : ".";
            if (e.label == "onSuccess" || e.label == "onError") text += e.label == "onSuccess" ? "S" : "E";
        }
        return text;
    };
    UpToTheLastBlock();
    Reply(Ack(CrcAfter(768)) + "FZ");
    const std::string block(256, '.');
    EXPECT_EQ(lengths(), "2" + block + "2" + block + "2" + block.substr(1) + "4." + "P0S");

    TUploadHost silent;
    TRecorder silentAwaited{"onAwait", &silent.scheme.log};
    silent.scheme.container.onEvent.resize(7);
    silent.scheme.container.onEvent[6] = silentAwaited.Link(6);
    silent.Start();
    silent.Watchdog().Fire(3);
    EXPECT_EQ(silent.scheme.Labels(silent.scheme.log.size() - 2), (std::vector<std::string>{"onAwait", "onError"}));
    EXPECT_EQ(silent.scheme.log[silent.scheme.log.size() - 2].value.IntValue, 0);
}

TEST_F(UploadScheme, EachAcknowledgementSendsOneMoreBlock) {
    Start();
    Reply(Ack(CrcAfter(256)));
    Reply(Ack(CrcAfter(512)));
    EXPECT_EQ(scheme.ValuesOf("onProgress").back().IntValue, 2);
    EXPECT_EQ(scheme.CountOf("onSend"), 768u);
}

TEST_F(UploadScheme, FinalAcknowledgementOfTheLastBlockSendsStartAndReportsSuccess) {
    UpToTheLastBlock();
    const size_t before = scheme.log.size();
    const std::string reply = Ack(CrcAfter(768)) + "FZ";
    Reply(reply);
    EXPECT_EQ(scheme.Labels(before), (std::vector<std::string>{"onSend", "onSuccess", "onReply"}));
    EXPECT_EQ(scheme.log[before].value.StrValue, "PUSK");
    EXPECT_EQ(scheme.log[before + 1].value.StrValue, Hex(reply));
    EXPECT_EQ(scheme.log[before + 2].value.StrValue, reply);
    EXPECT_FALSE(Watchdog().Running());
    // The exchange is over: a late reply changes nothing.
    Reply("BOOT 1.4");
    EXPECT_EQ(scheme.log.size(), before + 3);
}

TEST_F(UploadScheme, WrongRepliesFailOnceAndEndTheExchange) {
    const uint16_t afterOne = CrcAfter(256);
    const std::string cases[] = {
        Ack(afterOne) + "F",                                      // 3 bytes
        std::string{char(afterOne & 0xFF), char(afterOne >> 8)},  // bytes swapped
        Ack(afterOne) + "FZ",                                     // "FZ" before the image's last block
        std::string(1, char(afterOne >> 8)),                      // first half of a split acknowledgement
        "",                                                       // an empty chunk
    };
    for (const std::string& reply : cases) {
        TUploadHost one;
        one.Start();
        const size_t before = one.scheme.log.size();
        one.Reply(reply);
        EXPECT_EQ(one.scheme.Labels(before), (std::vector<std::string>{"onError", "onReply"})) << Hex(reply);
        EXPECT_EQ(one.scheme.log[before].value.DataType, TypeStr);
        EXPECT_EQ(one.scheme.log[before].value.StrValue, Hex(reply));
        // Nothing more is sent, not even for the right acknowledgement.
        one.Reply(Ack(afterOne));
        EXPECT_EQ(one.scheme.log.size(), before + 2) << Hex(reply);
        EXPECT_EQ(one.scheme.CountOf("onSend"), 256u) << Hex(reply);
        EXPECT_TRUE(one.Watchdog().Running());  // failure does not stop the watchdog
    }
}

TEST_F(UploadScheme, LastBlockNeedsTheFinalAcknowledgement) {
    UpToTheLastBlock();
    const size_t before = scheme.log.size();
    Reply(Ack(CrcAfter(768)) + "fz");  // compared as hexadecimal text
    Reply(Ack(CrcAfter(768)));         // a plain acknowledgement: nothing past the image
    EXPECT_EQ(scheme.Labels(before), (std::vector<std::string>{"onError", "onReply"}));
    EXPECT_EQ(scheme.CountOf("onSend"), 768u);
    EXPECT_EQ(scheme.ValuesOf("onProgress").back().IntValue, 2);
}

TEST_F(UploadScheme, ReplyBeforeStartIsIgnored) {
    // A stray line end after the identification: nothing has been sent, so
    // it is no failure of an upload, and the upload still runs when started.
    Reply("\r\n");
    EXPECT_TRUE(scheme.log.empty());
    UpToTheLastBlock();
    Reply(Ack(CrcAfter(768)) + "FZ");
    EXPECT_EQ(scheme.CountOf("onSuccess"), 1u);
    EXPECT_EQ(scheme.CountOf("onError"), 0u);
}

TEST_F(UploadScheme, NoByteIsSentAfterATimeOutNorForASecondStart) {
    Start();
    Watchdog().Fire(3);
    ASSERT_EQ(scheme.CountOf("onError"), 1u);
    Reply(Ack(CrcAfter(256)));  // a device that was only slow
    Start();
    EXPECT_EQ(scheme.CountOf("onSend"), 256u);
    EXPECT_EQ(scheme.CountOf("onProgress"), 0u);
}

TEST_F(UploadScheme, SilenceFailsAtTheThirdTickAndEvery101TicksAfter) {
    Start();
    Watchdog().Fire(2);
    EXPECT_EQ(scheme.CountOf("onError"), 0u);
    Watchdog().Fire(1);
    ASSERT_EQ(scheme.CountOf("onError"), 1u);
    const TData timeout = scheme.ValuesOf("onError")[0];
    EXPECT_EQ(timeout.DataType, TypeInt);
    EXPECT_EQ(timeout.IntValue, 3);
    Watchdog().Fire(100);
    EXPECT_EQ(scheme.CountOf("onError"), 1u);
    Watchdog().Fire(1);
    EXPECT_EQ(scheme.CountOf("onError"), 2u);
}

TEST_F(UploadScheme, SilenceCountsOnlyWhileAnAcknowledgementIsAwaited) {
    // A host that takes seconds to write a block: four watchdog ticks come
    // while block 2 is written. They are the host's time, not the device's.
    struct TSlowPort {
        fakes::TManualTimer* watchdog = nullptr;
        size_t bytes = 0;
        void doWrite(TData&, uint16_t) {
            if (watchdog && ++bytes % 64 == 0) watchdog->Fire(1);
        }
    } port;
    Start();
    Watchdog().Fire(2);
    port.watchdog = &Watchdog();
    scheme.container.onEvent[1] = MakeLink<&TSlowPort::doWrite>(1, &port);
    Reply(Ack(CrcAfter(256)));
    EXPECT_EQ(port.bytes, 256u);
    EXPECT_EQ(scheme.CountOf("onError"), 0u);
    // The three ticks of silence begin after the block's last byte.
    port.watchdog = nullptr;
    Watchdog().Fire(2);
    EXPECT_EQ(scheme.CountOf("onError"), 0u);
    Watchdog().Fire(1);
    EXPECT_EQ(scheme.CountOf("onError"), 1u);
}

TEST_F(UploadScheme, AnyChunkResetsTheSilenceCount) {
    Start();
    Watchdog().Fire(2);
    Reply(Ack(CrcAfter(256)));
    Watchdog().Fire(2);
    EXPECT_EQ(scheme.CountOf("onError"), 0u);
    Watchdog().Fire(1);
    EXPECT_EQ(scheme.CountOf("onError"), 1u);
}

}  // namespace
