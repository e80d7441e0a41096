// The device detection scheme, hosted as the main window scheme hosts it.
#include "schemes/zelMultiElementEx_2659FA0.h"

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "tests/unit/schemeHarness.h"

namespace {

const std::string NotFound(
    ""
    "На этом порту устройств не найдено."_w);

std::string StatusFor(const std::string& name, const std::string& version) {
    return std::string("Устройство: "_w) + name + std::string("   Текущая версия ПО: "_w) + version;
}

struct DetectionScheme : ::testing::Test {
    DispatchOn on;
    TSchemeHarness scheme{{"onSend", "onStatus", "onOpenPort", "onNotFound", "onFound"}, 0};
    void SetUp() override { scheme.Build(TClassMultiElementEx_2659FA0::Create); }

    void Reply(const std::string& chunk) { scheme.Fire(2, MakeStr(chunk)); }
    int32_t Identified() { return scheme.ReadInteger(0, -5); }
};

TEST_F(DetectionScheme, FailedOpenReportsNotFoundAndSendsNothing) {
    scheme.Fire(0, MakeInt(0));
    EXPECT_EQ(scheme.Labels(), (std::vector<std::string>{"onNotFound", "onStatus"}));
    EXPECT_EQ(scheme.ValuesOf("onStatus")[0].StrValue, NotFound);
}

TEST_F(DetectionScheme, OpenedPortGetsTheVersionRequestOnly) {
    scheme.Fire(0, MakeInt(5));
    EXPECT_EQ(scheme.Labels(), (std::vector<std::string>{"onSend"}));
    EXPECT_EQ(scheme.ValuesOf("onSend")[0].StrValue, "VERS");
}

TEST_F(DetectionScheme, CheckAsksToOpenThePickedPort) {
    scheme.Fire(1, MakeChain({MakeStr("COM3"), MakeInt(0)}));
    ASSERT_EQ(scheme.Labels(), (std::vector<std::string>{"onOpenPort"}));
    const TData v = scheme.ValuesOf("onOpenPort")[0];
    EXPECT_EQ(v.StrValue, "COM3");
    ASSERT_TRUE(v.Next);  // the whole picked value travels on
    EXPECT_EQ(v.Next->IntValue, 0);
}

// Reads the scheme's Identified flag at the moment onFound arrives.
struct TIdentifiedProbe {
    TSchemeHarness* scheme;
    int32_t seen = -1;
    void doFound(TData&, uint16_t) { seen = scheme->ReadInteger(0, -5); }
};

TEST_F(DetectionScheme, IdentifiedReplyShowsNameAndVersionThenFound) {
    TIdentifiedProbe probe{&scheme};
    scheme.container.onEvent[4] = MakeLink<&TIdentifiedProbe::doFound>(4, &probe);

    EXPECT_EQ(Identified(), 0);
    Reply("QUARNELVISK MZK7 1.3");
    EXPECT_EQ(scheme.Labels(), (std::vector<std::string>{"onStatus"}));
    EXPECT_EQ(scheme.ValuesOf("onStatus")[0].StrValue, StatusFor("MZK7", "1.3"));
    EXPECT_EQ(probe.seen, 1);
    EXPECT_EQ(Identified(), 1);
}

TEST_F(DetectionScheme, FoundCarriesTheIdentificationWordAfterTheStatus) {
    Reply("quarnelvisk MZK7 1.3");
    EXPECT_EQ(scheme.Labels(), (std::vector<std::string>{"onStatus", "onFound"}));
    EXPECT_EQ(scheme.ValuesOf("onStatus")[0].StrValue, StatusFor("MZK7", "1.3"));
    EXPECT_EQ(scheme.ValuesOf("onFound")[0].StrValue, "quarnelvisk");
}

TEST_F(DetectionScheme, WordWithMoreLettersIsNotTheIdentificationWord) {
    Reply("QUARNELVISKX MZK7 1.3");
    EXPECT_EQ(scheme.Labels(), (std::vector<std::string>{"onNotFound", "onStatus"}));
    EXPECT_EQ(scheme.ValuesOf("onStatus")[0].StrValue, NotFound);
    Reply("QUARNELVIS MZK7 1.3");
    EXPECT_EQ(scheme.CountOf("onFound"), 0u);
    EXPECT_EQ(Identified(), 0);
}

TEST_F(DetectionScheme, ReplyWithoutSpacesIsNotFound) {
    Reply("QUARNELVISK");
    EXPECT_EQ(scheme.Labels(), (std::vector<std::string>{"onNotFound", "onStatus"}));
    EXPECT_EQ(Identified(), 0);
    Reply("");  // an empty chunk too
    EXPECT_EQ(scheme.CountOf("onNotFound"), 2u);
    EXPECT_EQ(Identified(), 0);
}

TEST_F(DetectionScheme, ProbeStaysOpenForALaterMatchingChunk) {
    Reply("garbage");
    Reply("QUARNELVISK DPL7 1.2");
    EXPECT_EQ(scheme.ValuesOf("onStatus")[1].StrValue, StatusFor("DPL7", "1.2"));
    EXPECT_EQ(Identified(), 1);
}

TEST_F(DetectionScheme, WordsAreCutAtEverySpaceWithoutTrimming) {
    Reply("QUARNELVISK  1.3");
    EXPECT_EQ(scheme.ValuesOf("onStatus")[0].StrValue, StatusFor("", "1.3"));
}

TEST_F(DetectionScheme, MissingVersionAndFourthWord) {
    Reply("QUARNELVISK MZK7");
    EXPECT_EQ(scheme.ValuesOf("onStatus")[0].StrValue, StatusFor("MZK7", ""));
    // The status ends in exactly one space: the one before the version.
    const std::string status = scheme.ValuesOf("onStatus")[0].StrValue;
    EXPECT_EQ(status.substr(status.size() - 4), std::string("\xCF\xCE: "));
}

TEST_F(DetectionScheme, FourthWordIsIgnoredAndLineEndsStay) {
    Reply("QUARNELVISK MZK7 1.3 extra words");
    EXPECT_EQ(scheme.ValuesOf("onStatus")[0].StrValue, StatusFor("MZK7", "1.3"));
}

TEST_F(DetectionScheme, LineEndAfterTheVersionStaysInTheStatus) {
    Reply("QUARNELVISK MZK7 1.3\r\n");
    EXPECT_EQ(scheme.ValuesOf("onStatus")[0].StrValue, StatusFor("MZK7", "1.3\r\n"));
}

TEST_F(DetectionScheme, ZeroBytesInTheReplyAreOrdinaryBytes) {
    // The status template marks its literal "%" with zero bytes, so a zero
    // byte in a word shows as "%".
    Reply(std::string("QUARNELVISK M\0K7 1.3", 20));
    EXPECT_EQ(scheme.ValuesOf("onStatus")[0].StrValue, StatusFor("M%K7", "1.3"));
    Reply(std::string("QUARNEL\0VISK MZK7 1.3", 21));
    EXPECT_EQ(scheme.CountOf("onNotFound"), 1u);
}

}  // namespace
