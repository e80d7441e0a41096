#include "elements/zelMultiStrPart.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

using namespace std::string_literals;

struct MultiStrPartFixture : ::testing::Test {
    DispatchOn on;
    TZelMultiStrPart splitter;
    std::vector<TRecorder::TEntry> log;
    TRecorder noDelimiter{"none", &log};
    TRecorder split{"split", &log};

    void SetUp() override {
        splitter.onNoDelimiter = noDelimiter.Link();
        splitter.onSplit = split.Link();
        splitter.Delimiter = " ";
        splitter.SetCount(3);
    }
    // "event:rest|part0|part1|..." after one doSplit.
    std::string Split(const std::string& text) {
        log.clear();
        Fire(MakeLink<&TZelMultiStrPart::doSplit>(0, &splitter), MakeStr(text));
        std::string out =
            log.size() == 1 ? log[0].label + ":" + ToString(log[0].value) : "fired " + std::to_string(log.size());
        for (const std::string& part : splitter.Parts) out += "|" + part;
        return out;
    }
    std::string ReadPart(uint16_t index) {
        TData d;
        const TPointLink link = MakeLink<&TZelMultiStrPart::Part>(index, &splitter);
        return ReadString(d, link, "default");
    }
};

TEST_F(MultiStrPartFixture, SingleSpaceDelimiter) {
    EXPECT_EQ(Split("A B C D"), "split:D|A|B|C");
    EXPECT_EQ(Split("A B"), "split:|A|B|");
    EXPECT_EQ(Split("A  B"), "split:|A||B");
    EXPECT_EQ(Split("A B C D E"), "split:D E|A|B|C");
    EXPECT_EQ(Split(" A"), "split:||A|");
}

TEST_F(MultiStrPartFixture, NoDelimiterLeavesThePartsEmpty) {
    EXPECT_EQ(Split("A B C D"), "split:D|A|B|C");
    EXPECT_EQ(Split("AB"), "none:AB|||");
    EXPECT_EQ(Split(""), "none:|||");
    splitter.Delimiter = "";
    EXPECT_EQ(Split("A B"), "none:A B|||");
}

TEST_F(MultiStrPartFixture, MultiCharacterDelimiter) {
    splitter.Delimiter = ",;";
    // The pair as a whole must occur before anything is cut.
    EXPECT_EQ(Split("a;b,c"), "none:a;b,c|||");
    // Cut at the earliest delimiter character, dropping the length of the
    // whole delimiter from there: "b;c" loses ";c" with the second part.
    EXPECT_EQ(Split("a,;b;c"), "split:|a|b|");
    EXPECT_EQ(Split("a,;bb;;cc,;dd"), "split:dd|a|bb|cc");
}

TEST_F(MultiStrPartFixture, SkipDropsLeadingParts) {
    splitter.Skip = 1;
    EXPECT_EQ(Split("QUARNELVISK MZK7 1.3 x y"), "split:y|MZK7|1.3|x");
    splitter.Skip = -4;
    EXPECT_EQ(Split("A B C D"), "split:D|A|B|C");
}

TEST_F(MultiStrPartFixture, ZeroBytesAreOrdinary) { EXPECT_EQ(Split("A\0 B\0 C"s), "split:|A\0|B\0|C"s); }

TEST_F(MultiStrPartFixture, PartGetterAnswersThePartsOfTheLastSplit) {
    Split("QUARNELVISK MZK7 1.3");
    EXPECT_EQ(ReadPart(0), "QUARNELVISK");
    EXPECT_EQ(ReadPart(1), "MZK7");
    EXPECT_EQ(ReadPart(2), "1.3");
    // Beyond the parts: an empty text, not the reader's default.
    EXPECT_EQ(ReadPart(3), "");
    Split("nothing");
    EXPECT_EQ(ReadPart(0), "");
}

TEST_F(MultiStrPartFixture, TextFromALinkedStrPoint) {
    TSource source(MakeStr("X Y"));
    splitter.Str = source.Link();
    EXPECT_EQ(Split("ignored"), "split:|X|Y|");
}

}  // namespace
