#include "elements/zelStrCat.h"

#include <gtest/gtest.h>

#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

struct StrCatFixture : ::testing::Test {
    DispatchOn on;
    TZelStrCat cat;
    TRecorder out;

    void SetUp() override { cat.onStrCat = out.Link(); }
    std::string Join(TData incoming) {
        out.own.clear();
        Fire(MakeLink<&TZelStrCat::doStrCat>(0, &cat), std::move(incoming));
        return out.Count() == 1 ? ToString(out.Value(0)) : "fired " + std::to_string(out.Count());
    }
};

TEST_F(StrCatFixture, FinalAcknowledgementText) {
    cat.Str2 = "465A";
    EXPECT_EQ(Join(MakeStr("12AB")), "12AB465A");
}

TEST_F(StrCatFixture, LinkedStr1ReadsThePublishedText) {
    TSource crc(MakeStr("4B37"));
    cat.Str1Point = crc.Link();
    cat.Str2 = "465A";
    EXPECT_EQ(Join(MakeStr("ignored")), "4B37465A");
    EXPECT_EQ(crc.reads, 1);
}

TEST_F(StrCatFixture, ReadsStr1BeforeStr2) {
    EXPECT_EQ(Join(MakeChain({MakeStr("a"), MakeStr("b")})), "ab");
    // A non-empty Str1 default leaves the incoming value to Str2.
    cat.Str1 = "x";
    EXPECT_EQ(Join(MakeStr("y")), "xy");
    cat.Str1.clear();
    cat.Str2 = "z";
    EXPECT_EQ(Join(MakeChain({MakeStr("a"), MakeStr("b")})), "az");
}

TEST_F(StrCatFixture, LinkedStr2) {
    TSource second(MakeInt(7));
    cat.Str2Point = second.Link();
    cat.Str2 = "unused";
    EXPECT_EQ(Join(MakeStr("n=")), "n=7");
}

TEST_F(StrCatFixture, ZeroBytesJoinLikeAnyOther) {
    cat.Str2 = std::string("\0B", 2);
    EXPECT_EQ(Join(MakeStr(std::string("A\0", 2))), std::string("A\0\0B", 4));
}

}  // namespace
