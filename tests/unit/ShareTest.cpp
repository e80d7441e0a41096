#include "runtime/Share.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/messageBox.h"
#include "platform/resources.h"
#include "runtime/memoryStream.h"
#include "tests/unit/testSupport.h"

namespace {

// ---- text formats --------------------------------------------------------

TEST(ShareFormat, FormatRealExamples) {
    EXPECT_EQ(FormatReal(0.1), "0.1");
    EXPECT_EQ(FormatReal(100), "100");
    EXPECT_EQ(FormatReal(1e20), "100000000000000000000");
    EXPECT_EQ(FormatReal(-2.5), "-2.5");
    EXPECT_EQ(FormatReal(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatReal(0.5), "0.5");
    EXPECT_EQ(FormatReal(1234.5), "1234.5");
    EXPECT_EQ(FormatReal(-0.001), "-0.001");
    EXPECT_EQ(FormatReal(0.0), "0");
    EXPECT_EQ(FormatReal(-0.0), "0");
    EXPECT_EQ(FormatReal(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(FormatReal(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatReal(1e-5), "0.00001");
    EXPECT_EQ(FormatReal(1.5e-20), "0.000000000000000000015");
}

TEST(ShareFormat, FormatRealCarryIntoSixteenthDigit) {
    // Rounding 999999999999999.5 to fifteen digits carries over: the
    // rounded value has one more digit before the point.
    EXPECT_EQ(FormatReal(999999999999999.5), "1000000000000000");
    EXPECT_EQ(FormatReal(9.999999999999999), "10");
    EXPECT_EQ(FormatReal(-0.99999999999999999), "-1");
}

TEST(ShareFormat, FormatRealEndsOnEveryInput) {
    EXPECT_EQ(FormatReal(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FormatReal(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(FormatReal(std::nan("")), "NAN");
    EXPECT_EQ(FormatReal(std::numeric_limits<double>::max()).size(), 309u);
    const std::string tiny = FormatReal(std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(tiny.substr(0, 6), "0.0000");
    EXPECT_EQ(tiny.substr(tiny.size() - 15), "494065645841247");
}

TEST(ShareFormat, FormatInteger) {
    EXPECT_EQ(FormatInteger(0), "0");
    EXPECT_EQ(FormatInteger(-7), "-7");
    EXPECT_EQ(FormatInteger(2147483647), "2147483647");
    EXPECT_EQ(FormatInteger(std::numeric_limits<int32_t>::min()), "-2147483648");
}

TEST(ShareFormat, ParseInteger) {
    EXPECT_EQ(ParseInteger(""), 0);
    EXPECT_EQ(ParseInteger("12abc"), 12);
    EXPECT_EQ(ParseInteger("abc"), 0);
    EXPECT_EQ(ParseInteger(" 5"), 0);
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger("-12x"), -12);
    EXPECT_EQ(ParseInteger("--1"), 0);
    EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<int32_t>::min());
    // 32-bit wrap-around without overflow checks.
    EXPECT_EQ(ParseInteger("2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ParseInteger("4294967296"), 0);
    EXPECT_EQ(ParseInteger("4294967295"), -1);
    EXPECT_EQ(ParseInteger("99999999999999999999"), int32_t(uint32_t(1661992959u)));
}

TEST(ShareFormat, ParseReal) {
    EXPECT_EQ(ParseReal(""), 0.0);
    EXPECT_DOUBLE_EQ(ParseReal("1,5"), 15.0);
    EXPECT_DOUBLE_EQ(ParseReal("12abc3"), 123.0);
    EXPECT_DOUBLE_EQ(ParseReal("2.5e3"), 2500.0);
    EXPECT_DOUBLE_EQ(ParseReal("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(ParseReal("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(ParseReal("25E-1"), 2.5);
    EXPECT_DOUBLE_EQ(ParseReal("+3"), 3.0);
    EXPECT_DOUBLE_EQ(ParseReal(" 4 2 "), 42.0);
    // Exponents beyond a double's range: zero stays zero, others saturate.
    EXPECT_EQ(ParseReal("0e999"), 0.0);
    EXPECT_EQ(ParseReal("1e99999999999"), HUGE_VAL);
    EXPECT_EQ(ParseReal("-1e4294967297"), -HUGE_VAL);
    EXPECT_EQ(ParseReal("1e-99999999999"), 0.0);
}

// ---- conversions ---------------------------------------------------------

TEST(ShareConvert, ToStringOfEveryKind) {
    EXPECT_EQ(ToString(MakeReal(0.5)), "0.5");
    EXPECT_EQ(ToString(MakeReal(1234.5)), "1234.5");
    EXPECT_EQ(ToString(MakeReal(-0.001)), "-0.001");
    EXPECT_EQ(ToString(MakeInt(-7)), "-7");
    EXPECT_EQ(ToString(MakeStr("abc")), "abc");
    EXPECT_EQ(ToString(TData()), "");
    TMemoryStream stream;
    TData s;
    SetStream(s, &stream);
    EXPECT_EQ(ToString(s), "");
}

TEST(ShareConvert, ToInteger) {
    EXPECT_EQ(ToInteger(MakeStr("  12")), 0);
    EXPECT_EQ(ToInteger(MakeStr("-12x")), -12);
    EXPECT_EQ(ToInteger(MakeReal(2.5)), 2);
    EXPECT_EQ(ToInteger(MakeReal(3.5)), 4);
    EXPECT_EQ(ToInteger(MakeReal(-2.5)), -2);
    EXPECT_EQ(ToInteger(MakeReal(-2.6)), -3);
    EXPECT_EQ(ToInteger(TData()), 0);
    // Outside the 32-bit range the result saturates; NaN gives 0.
    EXPECT_EQ(ToInteger(MakeReal(1e10)), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ToInteger(MakeReal(-1e10)), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ToInteger(MakeReal(std::nan(""))), 0);
    EXPECT_EQ(ToInteger(MakeReal(-std::numeric_limits<double>::infinity())), std::numeric_limits<int32_t>::min());
}

TEST(ShareConvert, ToRealToIndexIsNonZero) {
    EXPECT_DOUBLE_EQ(ToReal(MakeInt(3)), 3.0);
    EXPECT_DOUBLE_EQ(ToReal(MakeStr("1.25")), 1.25);
    EXPECT_DOUBLE_EQ(ToReal(TData()), 0.0);

    EXPECT_EQ(ToIndex(MakeStr("0")), 0);
    EXPECT_EQ(ToIndex(MakeStr("x")), -1);
    EXPECT_EQ(ToIndex(MakeStr("")), -1);
    EXPECT_EQ(ToIndex(MakeStr("7")), 7);
    EXPECT_EQ(ToIndex(MakeStr("00")), 0);
    EXPECT_EQ(ToIndex(TData()), -1);
    EXPECT_EQ(ToIndex(MakeInt(0)), 0);
    EXPECT_EQ(ToIndex(MakeReal(1.5)), 2);

    EXPECT_TRUE(IsNonZero(MakeStr("0")));
    EXPECT_FALSE(IsNonZero(MakeInt(0)));
    EXPECT_TRUE(IsNonZero(TData()));
    EXPECT_TRUE(IsNonZero(MakeReal(0.0)));
    EXPECT_TRUE(IsInteger(MakeInt(0)));
    EXPECT_FALSE(IsInteger(MakeStr("1")));
}

// ---- dispatch ------------------------------------------------------------

// A work point that records what it receives and can forward.
struct TProbe {
    std::vector<std::string> seen;
    TPointLink onOut;
    TData forwardValue;
    bool forward = false;

    void doIn(TData& d, uint16_t index) {
        seen.push_back(FormatInteger(index) + ":" + ToString(d));
        if (forward) ForwardData(d, onOut, forwardValue);
    }
    void doChange(TData& d, uint16_t) { SetStr(d, "changed"); }
};

TEST(ShareDispatch, ForwardingRunsFlatAndStopsAtUnlinkedLink) {
    DispatchOn on;
    TProbe first, second;
    first.forward = true;
    first.forwardValue = MakeInt(5);
    first.onOut = MakeLink<&TProbe::doIn>(9, &second);
    second.forward = true;
    second.forwardValue = MakeStr("end");  // second's onOut is unlinked

    TData d = MakeStr("start");
    CallEvent(MakeLink<&TProbe::doIn>(3, &first), d);
    EXPECT_EQ(first.seen, (std::vector<std::string>{"3:start"}));
    EXPECT_EQ(second.seen, (std::vector<std::string>{"9:5"}));
    // The caller's record keeps the last forwarded value, flag removed.
    EXPECT_EQ(d.DataType, TypeStr);
    EXPECT_EQ(d.StrValue, "end");
}

TEST(ShareDispatch, CopyLeavesCallerRecordAlone) {
    DispatchOn on;
    TProbe p;
    const TPointLink link = MakeLink<&TProbe::doChange>(0, &p);
    TData d = MakeStr("mine");
    CallEventCopy(link, d);
    EXPECT_EQ(d.StrValue, "mine");
    CallEvent(link, d);
    EXPECT_EQ(d.StrValue, "changed");
}

TEST(ShareDispatch, NothingRunsWhileDispatchIsOff) {
    DisableDispatch();
    TProbe p;
    const TPointLink link = MakeLink<&TProbe::doIn>(0, &p);
    CallEventInt(link, 1);
    CallEventStr(link, "x");
    CallEventNull(link);
    TData d = MakeInt(2);
    CallEvent(link, d);
    EXPECT_TRUE(p.seen.empty());
    EnableDispatch();
    CallEventInt(link, 1);
    DisableDispatch();
    EXPECT_EQ(p.seen.size(), 1u);
}

// ---- reading -------------------------------------------------------------

struct TSource {
    TData answer;
    int reads = 0;
    void getValue(TData& r, uint16_t) {
        ++reads;
        r = answer;
    }
};

TEST(ShareRead, UnlinkedPointsTakeSuccessiveItems) {
    DispatchOn on;
    const TPointLink none;
    TData single = MakeInt(5);
    EXPECT_EQ(ReadInteger(single, none, 0), 5);
    EXPECT_EQ(ReadInteger(single, none, 0), 0);
    EXPECT_EQ(ReadString(single, none, ""), "");

    TData chain = MakeChain({MakeInt(1), MakeInt(2), MakeInt(3)});
    EXPECT_EQ(ReadInteger(chain, none, 0), 1);
    EXPECT_EQ(ReadString(chain, none, ""), "2");
    EXPECT_EQ(ToInteger(ReadData(chain, none, nullptr)), 3);
    EXPECT_EQ(chain.DataType, TypeNull);
    EXPECT_EQ(ToInteger(ReadData(chain, none, nullptr)), 0);
}

TEST(ShareRead, GivenDefaultsDoNotConsume) {
    DispatchOn on;
    const TPointLink none;
    TData d = MakeInt(5);
    EXPECT_EQ(ReadInteger(d, none, 9), 9);
    EXPECT_EQ(ReadString(d, none, "dflt"), "dflt");
    const TData def = MakeStr("D");
    EXPECT_EQ(ReadData(d, none, &def).StrValue, "D");
    EXPECT_EQ(ReadInteger(d, none, 0), 5);  // still there
}

TEST(ShareRead, NoValueAnswerBehavesAsUnlinked) {
    DispatchOn on;
    TSource source;
    source.answer.DataType = TypeNoValue;
    const TPointLink point = MakeLink<&TSource::getValue>(0, &source);
    TData d = MakeInt(5);
    EXPECT_EQ(ReadInteger(d, point, 0), 5);
    EXPECT_EQ(source.reads, 1);
    TData e = MakeStr("x");
    EXPECT_EQ(ReadString(e, point, "def"), "def");
    const TData def = MakeInt(4);
    TData f = MakeInt(6);
    EXPECT_EQ(ToInteger(ReadData(f, point, &def)), 4);
    EXPECT_EQ(ToInteger(ReadData(f, point, nullptr)), 6);
}

TEST(ShareRead, LinkedPointAnswersWithoutConsuming) {
    DispatchOn on;
    TSource source;
    source.answer = MakeChain({MakeStr("a"), MakeStr("b")});
    const TPointLink point = MakeLink<&TSource::getValue>(0, &source);
    TData d = MakeInt(5);
    TData single = ReadData(d, point, nullptr);
    EXPECT_EQ(single.StrValue, "a");
    EXPECT_FALSE(single.Next);
    TData whole = ReadDataChain(d, point, nullptr);
    ASSERT_TRUE(whole.Next);
    EXPECT_EQ(whole.Next->StrValue, "b");
    EXPECT_EQ(ToInteger(d), 5);
    EXPECT_EQ(ReadIntegerPoint(point), 0);
}

TEST(ShareRead, ReadDataChainTakesTheWholeIncomingValue) {
    DispatchOn on;
    const TPointLink none;
    TData chain = MakeChain({MakeInt(1), MakeInt(2)});
    TData whole = ReadDataChain(chain, none, nullptr);
    EXPECT_EQ(chain.DataType, TypeNull);
    EXPECT_FALSE(chain.Next);
    ASSERT_TRUE(whole.Next);
    EXPECT_EQ(whole.Next->IntValue, 2);
}

TEST(ShareRead, LinkedPointReadsNullWhileDispatchIsOff) {
    DisableDispatch();
    TSource source;
    source.answer = MakeInt(8);
    const TPointLink point = MakeLink<&TSource::getValue>(0, &source);
    TData d = MakeInt(5);
    EXPECT_EQ(ReadInteger(d, point, 3), 0);  // the fresh null, not the default
    EXPECT_EQ(source.reads, 0);
    TData raw = MakeStr("kept");
    ReadRaw(raw, point);
    EXPECT_EQ(raw.StrValue, "kept");
}

TEST(ShareRead, ReadRawMarksUnlinkedPoints) {
    DispatchOn on;
    TData d = MakeInt(4);
    ReadRaw(d, TPointLink());
    EXPECT_EQ(d.DataType, TypeNoValue);
    EXPECT_EQ(d.IntValue, 4);
    TSource source;
    source.answer = MakeStr("s");
    ReadRaw(d, MakeLink<&TSource::getValue>(0, &source));
    EXPECT_EQ(d.StrValue, "s");
}

TEST(ShareRead, TakeDataOfNullClearsItsChain) {
    TData d = MakeChain({TData(), MakeInt(2)});
    EXPECT_EQ(TakeData(d).DataType, TypeNull);
    EXPECT_FALSE(d.Next);
}

// ---- chains --------------------------------------------------------------

TEST(ShareChain, CopyChainIsDeepAndStopsAtNull) {
    TData src = MakeChain({MakeInt(1), MakeInt(2), TData(), MakeInt(4)});
    TData dst;
    CopyChain(dst, src);
    ASSERT_TRUE(dst.Next);
    EXPECT_NE(dst.Next.get(), src.Next.get());
    EXPECT_EQ(dst.Next->IntValue, 2);
    ASSERT_TRUE(dst.Next->Next);
    EXPECT_EQ(dst.Next->Next->DataType, TypeNull);
    EXPECT_FALSE(dst.Next->Next->Next);  // the null item ends the chain
    FreeChain(dst);
    EXPECT_FALSE(dst.Next);
    EXPECT_EQ(dst.IntValue, 1);
}

// ---- start-up queue ------------------------------------------------------

std::vector<int> startupOrder;
void StartupA(void* p) {
    startupOrder.push_back(*static_cast<int*>(p));
    static int late = 3;
    if (startupOrder.size() == 1) AddStartup(StartupA, &late);
}

TEST(ShareStartup, RunsInOrderIncludingRoutinesAddedWhileRunning) {
    ResetStartup();
    startupOrder.clear();
    int one = 1, two = 2;
    AddStartup(StartupA, &one);
    AddStartup(StartupA, &two);
    EXPECT_FALSE(StartupDone);
    RunStartup();
    EXPECT_EQ(startupOrder, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(StartupDone);
    RunStartup();
    EXPECT_EQ(startupOrder.size(), 3u);
    ResetStartup();
}

// ---- texts ---------------------------------------------------------------

TEST(ShareText, PosFromAndReplaceAll) {
    EXPECT_EQ(PosFrom("b", "abcb", 1), 2);
    EXPECT_EQ(PosFrom("b", "abcb", 3), 4);
    EXPECT_EQ(PosFrom("b", "abcb", 5), 0);
    EXPECT_EQ(PosFrom("", "abc", 1), 0);
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("x%1y%12", "%1", "Z",
                         [](const std::string& s, int pos) {
                             const size_t after = size_t(pos - 1) + 2;
                             return after >= s.size() || s[after] < '0' || s[after] > '9';
                         }),
              "xZy%12");
}

TEST(ShareText, CompareTextAsciiFoldsOnlyLatinLetters) {
    EXPECT_EQ(CompareTextAscii("abc", "ABC"), 0);
    EXPECT_LT(CompareTextAscii("abc", "abd"), 0);
    EXPECT_GT(CompareTextAscii("b", "A"), 0);
    EXPECT_LT(CompareTextAscii("ab", "abc"), 0);
    EXPECT_NE(CompareTextAscii("\xE0", "\xC0"), 0);  // Cyrillic а and А differ
    EXPECT_EQ(CompareTextAscii(std::string("ab\0x", 4), std::string("ab\0y", 4)), 0);
}

TEST(ShareText, TypeNamesAndFonts) {
    EXPECT_EQ(TypeName(TypeNull), "NULL");
    EXPECT_EQ(TypeName(TypeStream), "Stream");
    EXPECT_EQ(TypeName(TypeNoValue), "Break");
    EXPECT_EQ(TypeName(23), "");
    const TFontRec f = MakeFont("MS Sans Serif", 8, 1, 0xFF00000F, 1);
    EXPECT_EQ(f.Name, "MS Sans Serif");
    EXPECT_EQ(f.Size, 8);
    EXPECT_EQ(f.Style, 1);
    EXPECT_EQ(f.Color, 0xFF00000Fu);
}

// ---- shared services -----------------------------------------------------

TEST(ShareServices, DebugStringGoesToAMessageBox) {
    MessageCapture boxes;
    ShowDebugString("hello");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "hello");
    EXPECT_EQ(boxes.captions[0], "String-Debug");
}

TEST(ShareServices, LoadResourceStream) {
    static const unsigned char bytes[] = {1, 2, 3};
    platform::RegisterLinkedResource("TESTRES", platform::ResourceTypeStream, bytes, sizeof bytes);
    auto stream = LoadResourceStream("TESTRES");
    platform::UnregisterLinkedResource("TESTRES", platform::ResourceTypeStream);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->Size(), 3u);
    EXPECT_EQ(stream->Position(), 0u);

    auto missing = LoadResourceStream("NO_SUCH_RESOURCE");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Size(), 0u);
}

TEST(ShareServices, EmbeddedImageHasTheImageAreaSize) {
    auto image = LoadResourceStream("STREAM0");
    ASSERT_EQ(image->Size(), 260096u);
    const auto& bytes = image->Bytes();
    // Everything behind the firmware is 0xFF fill.
    for (size_t i = 130314; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0xFF) << i;
}

}  // namespace
