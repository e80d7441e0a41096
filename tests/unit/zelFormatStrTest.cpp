#include "elements/zelFormatStr.h"

#include <gtest/gtest.h>

#include <string>

#include "base/cp1251.h"
#include "tests/unit/elementTestSupport.h"
#include "tests/unit/testSupport.h"

namespace {

using namespace std::string_literals;

struct FormatStrFixture : ::testing::Test {
    DispatchOn on;
    TZelFormatStr format;
    TRecorder out;

    void SetUp() override { format.onFString = out.Link(); }

    // The text that one doString sends on.
    std::string Format(const std::string& pattern, int params, TData incoming) {
        format.Format = pattern;
        format.SetParamCount(params);
        return Run(std::move(incoming));
    }
    std::string Run(TData incoming) {
        out.own.clear();
        const TData after = Fire(MakeLink<&TZelFormatStr::doString>(0, &format), std::move(incoming));
        EXPECT_EQ(out.Count(), 1u);
        EXPECT_EQ(ToString(after), out.Count() ? ToString(out.Value(0)) : "");
        return out.Count() ? ToString(out.Value(0)) : "<nothing>";
    }
};

TEST_F(FormatStrFixture, UnlinkedParametersTakeTheItemsOfTheIncomingValue) {
    EXPECT_EQ(Format("%1-%2", 2, MakeChain({MakeStr("a"), MakeStr("b")})), "a-b");
    EXPECT_EQ(Format("%1-%2", 2, MakeStr("a")), "a-");
    EXPECT_EQ(Format("%2-%1", 2, MakeChain({MakeStr("a"), MakeInt(5)})), "5-a");
}

TEST_F(FormatStrFixture, EveryParameterIsReadEvenWhenTheTemplateDoesNotUseIt) {
    TSource first(MakeStr("x"));
    TSource second(MakeStr("y"));
    format.Format = "none";
    format.SetParamCount(2);
    format.Str[0] = first.Link();
    format.Str[1] = second.Link();
    EXPECT_EQ(Run(TData()), "none");
    EXPECT_EQ(first.reads, 1);
    EXPECT_EQ(second.reads, 1);
}

TEST_F(FormatStrFixture, PercentSigns) {
    EXPECT_EQ(Format("100%% %1", 1, MakeStr("x")), "100% x");
    EXPECT_EQ(Format("%10", 1, MakeStr("x")), "%10");
    EXPECT_EQ(Format("%%1", 1, MakeStr("x")), "%1");
    EXPECT_EQ(Format("%1%%", 1, MakeStr("x")), "x%");
    EXPECT_EQ(Format("%1 %12 %1", 1, MakeStr("x")), "x %12 x");
    EXPECT_EQ(Format("%3 %1", 2, MakeStr("x")), "%3 x");
    EXPECT_EQ(Format("50%", 0, TData()), "50%");
}

TEST_F(FormatStrFixture, TwelveParametersKeepTheirMarkersApart) {
    std::vector<TData> items;
    for (int i = 1; i <= 12; ++i) items.push_back(MakeStr("v" + std::to_string(i)));
    format.Format = "%1,%12,%2";
    format.SetParamCount(12);
    TData incoming = items[0];
    // Build the chain of twelve values, head first.
    std::shared_ptr<TData>* tail = &incoming.Next;
    for (size_t i = 1; i < items.size(); ++i) {
        *tail = std::make_shared<TData>(items[i]);
        tail = &(*tail)->Next;
    }
    EXPECT_EQ(Run(incoming), "v1,v12,v2");
}

TEST_F(FormatStrFixture, ValuesAreSubstitutedInParameterOrder) {
    // A value for %1 that holds "%2" is replaced again by parameter 2.
    EXPECT_EQ(Format("[%1]", 2, MakeChain({MakeStr("%2"), MakeStr("b")})), "[b]");
    // A value that starts with a digit does not lengthen the marker before it.
    EXPECT_EQ(Format("%2%1", 2, MakeChain({MakeStr("0"), MakeStr("b")})), "b0");
}

TEST_F(FormatStrFixture, MarkerBytesInTemplateAndValues) {
    EXPECT_EQ(Format("a\x01"
                     "b\0c"s,
                     0, TData()),
              "ab%c");
    EXPECT_EQ(Format("<%1>", 1, MakeStr("x\x01y\0z"s)), "<xy%z>");
}

TEST_F(FormatStrFixture, DeviceStatusLine) {
    TSource name(MakeStr("MZK7"));
    TSource version(MakeStr("1.3"));
    format.Format = std::string("Устройство: %1   Текущая версия ПО: %2"_w);
    format.SetParamCount(2);
    format.Str[0] = name.Link();
    format.Str[1] = version.Link();
    EXPECT_EQ(Run(MakeStr("ignored")), std::string("Устройство: MZK7   Текущая версия ПО: 1.3"_w));
}

TEST_F(FormatStrFixture, ParamCountSizesTheUnlinkedPoints) {
    format.SetParamCount(3);
    ASSERT_EQ(format.Str.size(), 3u);
    EXPECT_FALSE(format.Str[2].Linked());
    format.SetParamCount(-1);
    EXPECT_EQ(format.ParamCount, 0);
    EXPECT_TRUE(format.Str.empty());
}

}  // namespace
