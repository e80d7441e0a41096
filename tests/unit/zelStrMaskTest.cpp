#include "elements/zelStrMask.h"

#include <gtest/gtest.h>

#include <string>

#include "base/cp1251.h"
#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

using namespace std::string_literals;

TEST(MatchMask, Wildcards) {
    EXPECT_TRUE(MatchMask("a", "a*"));
    EXPECT_TRUE(MatchMask("abc", "a*"));
    EXPECT_FALSE(MatchMask("xabc", "a*"));
    EXPECT_TRUE(MatchMask("abc", "a?c"));
    EXPECT_FALSE(MatchMask("ac", "a?c"));
    EXPECT_FALSE(MatchMask("abbc", "a?c"));
    EXPECT_TRUE(MatchMask("42", "##"));
    EXPECT_FALSE(MatchMask("4x", "##"));
    EXPECT_FALSE(MatchMask("4", "##"));
    EXPECT_TRUE(MatchMask("", "*"));
    EXPECT_TRUE(MatchMask("anything at all", "*"));
    EXPECT_TRUE(MatchMask("", ""));
    EXPECT_FALSE(MatchMask("x", ""));
    EXPECT_FALSE(MatchMask("", "?"));
    EXPECT_TRUE(MatchMask("a1b22c", "a#b*c"));
    EXPECT_TRUE(MatchMask("abXcdYcd", "ab*cd"));  // the star tries on after a failed shortest run
    EXPECT_FALSE(MatchMask("abXcdY", "ab*cd"));
}

TEST(MatchMask, WholeTextOnly) {
    EXPECT_TRUE(MatchMask("QUARNELVISK", "QUARNELVISK"));
    EXPECT_FALSE(MatchMask("QUARNELVISK1", "QUARNELVISK"));
    EXPECT_FALSE(MatchMask("QUARNELVIS", "QUARNELVISK"));
    EXPECT_FALSE(MatchMask("xQUARNELVISK", "QUARNELVISK"));
    EXPECT_FALSE(MatchMask("quarnelvisk", "QUARNELVISK"));
}

TEST(MatchMask, ZeroBytesAreOrdinaryBytes) {
    EXPECT_TRUE(MatchMask("A\0B"s, "A\0B"s));
    EXPECT_FALSE(MatchMask("A\0B"s, "A\0C"s));
    EXPECT_FALSE(MatchMask("AB"s, "A\0B"s));
    EXPECT_FALSE(MatchMask("A\0B"s, "AB"s));
    // "?" never matches a zero byte; "*" runs across them.
    EXPECT_FALSE(MatchMask("A\0B"s, "A?B"s));
    EXPECT_TRUE(MatchMask("A\0\0xB"s, "A*B"s));
    EXPECT_FALSE(MatchMask("\0"s, "#"s));
    // A zero byte at the very end is a byte like any other: it does not
    // stand for the end of the other side.
    EXPECT_FALSE(MatchMask("A\0"s, "A"s));
    EXPECT_FALSE(MatchMask("A"s, "A\0"s));
    EXPECT_TRUE(MatchMask("A\0"s, "A\0"s));
    EXPECT_FALSE(MatchMask(""s, "\0"s));
    EXPECT_TRUE(MatchMask("A\0"s, "A*"s));
    EXPECT_FALSE(MatchMask("QUARNELVISK\0"s, "QUARNELVISK"s));
}

TEST(MatchMask, ManyStarsStayFast) {
    // Plain backtracking would try every way of splitting the text among
    // the stars; the matcher keeps only the last star's backtrack point.
    const std::string text(3000, 'a');
    EXPECT_FALSE(MatchMask(text, "*a*a*a*a*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(MatchMask(text + "b", "*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}

struct StrMaskFixture : ::testing::Test {
    DispatchOn on;
    TZelStrMask mask;
    std::vector<TRecorder::TEntry> log;
    TRecorder yes{"true", &log};
    TRecorder no{"false", &log};

    void SetUp() override {
        mask.onTrue = yes.Link();
        mask.onFalse = no.Link();
    }
    std::string Compare(TData value) {
        log.clear();
        Fire(MakeLink<&TZelStrMask::doCompare>(0, &mask), std::move(value));
        if (log.size() != 1) return "fired " + std::to_string(log.size());
        return log[0].label + ":" + ToString(log[0].value);
    }
};

TEST_F(StrMaskFixture, IgnoreCaseMatchesTheWordAndPassesTheTextAsReceived) {
    mask.Mask = "QUARNELVISK";
    mask.IgnoreCase = 1;
    EXPECT_EQ(Compare(MakeStr("quarnelvisk")), "true:quarnelvisk");
    EXPECT_EQ(Compare(MakeStr("QuarnelVisk")), "true:QuarnelVisk");
    EXPECT_EQ(Compare(MakeStr("quarnelvisk1")), "false:quarnelvisk1");
    EXPECT_EQ(Compare(MakeStr("quarnelvis")), "false:quarnelvis");
}

TEST_F(StrMaskFixture, OnlyTheValueOneIgnoresCase) {
    mask.Mask = "SZ";
    mask.IgnoreCase = 0;
    EXPECT_EQ(Compare(MakeStr("sz")), "false:sz");
    mask.IgnoreCase = 2;
    EXPECT_EQ(Compare(MakeStr("sz")), "false:sz");
    EXPECT_EQ(Compare(MakeStr("SZ")), "true:SZ");
}

TEST_F(StrMaskFixture, IgnoreCaseLowersCyrillic) {
    mask.Mask = std::string("УСТРОЙСТВО Ё*"_w);
    mask.IgnoreCase = 1;
    const std::string text("устройство ёлка"_w);
    EXPECT_EQ(Compare(MakeStr(text)), "true:" + text);
    EXPECT_EQ(Compare(MakeStr(std::string("устройство елка"_w))), "false:" + std::string("устройство елка"_w));
}

TEST_F(StrMaskFixture, IgnoreCaseStopsLoweringAtTheFirstZeroByte) {
    mask.Mask = "A\0B"s;
    mask.IgnoreCase = 1;
    // Only the bytes before the zero are lowered, on both sides.
    EXPECT_EQ(Compare(MakeStr("a\0B"s)), "true:a\0B"s);
    EXPECT_EQ(Compare(MakeStr("a\0b"s)), "false:a\0b"s);
}

TEST_F(StrMaskFixture, HexRepliesAgainstAHexMask) {
    // The upload checks replies in hexadecimal text; "SZ" cannot occur in it.
    mask.Mask = "SZ";
    mask.IgnoreCase = 1;
    EXPECT_EQ(Compare(MakeStr("4B37")), "false:4B37");
    Fire(MakeLink<&TZelStrMask::doMask>(1, &mask), MakeStr("4B37"));
    EXPECT_EQ(Compare(MakeStr("4b37")), "true:4b37");
    EXPECT_EQ(Compare(MakeStr("374B")), "false:374B");
}

TEST_F(StrMaskFixture, DoMaskTakesTheTextOfAnyValueAndFiresNothing) {
    Fire(MakeLink<&TZelStrMask::doMask>(1, &mask), MakeInt(42));
    EXPECT_EQ(mask.Mask.Get(), "42");
    EXPECT_TRUE(log.empty());
    Fire(MakeLink<&TZelStrMask::doMask>(1, &mask), TData());
    EXPECT_EQ(mask.Mask.Get(), "");
    EXPECT_EQ(Compare(MakeStr("")), "true:");
}

TEST_F(StrMaskFixture, TextComesFromTheStrPointWhenLinked) {
    TSource source(MakeStr("ABC"));
    mask.Str = source.Link();
    mask.Mask = "A*";
    EXPECT_EQ(Compare(MakeStr("xyz")), "true:ABC");
    EXPECT_EQ(source.reads, 1);
}

TEST_F(StrMaskFixture, UnlinkedStrTakesTheFirstItemOfAChain) {
    mask.Mask = "one";
    EXPECT_EQ(Compare(MakeChain({MakeStr("one"), MakeStr("two")})), "true:one");
    EXPECT_EQ(Compare(MakeInt(7)), "false:7");
    EXPECT_EQ(Compare(TData()), "false:");
}

}  // namespace
