#include "elements/zelMemoryStream.h"

#include <gtest/gtest.h>

#include "platform/resources.h"
#include "runtime/memoryStream.h"
#include "tests/unit/testSupport.h"

namespace {

TMemoryStream* ReadStream(TZelMemoryStream& element) {
    return ReadStreamPoint(MakeLink<&TZelMemoryStream::getStream>(0, &element));
}

TEST(ZelMemoryStream, StartsWithAnEmptyStreamOfItsOwn) {
    DispatchOn on;
    TZelMemoryStream element;
    TMemoryStream* stream = ReadStream(element);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), 0u);
}

TEST(ZelMemoryStream, LendsTheHeldStreamWithoutGivingItAway) {
    DispatchOn on;
    TZelMemoryStream element;
    element.Stream = std::make_unique<TMemoryStream>(std::string("\x01\x02\x03"));
    TMemoryStream* lent = ReadStream(element);
    ASSERT_EQ(lent, element.Stream.get());
    unsigned char byte = 0;
    lent->Read(&byte, 1);
    // The position belongs to the stream: the next reader goes on from there.
    EXPECT_EQ(ReadStream(element)->Position(), 1u);
    TData d;
    element.getStream(d, 0);
    EXPECT_EQ(d.Tag(), TypeStream);
    EXPECT_EQ(d.StreamValue, lent);
}

TEST(ZelMemoryStream, HoldsTheFirmwareImageResource) {
    DispatchOn on;
    TZelMemoryStream element;
    element.Stream = LoadResourceStream("STREAM0");
    TMemoryStream* stream = ReadStream(element);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), 260096u);
    EXPECT_EQ(stream->Position(), 0u);
    // The fill after the firmware part.
    EXPECT_EQ(stream->Bytes().back(), 0xFF);
}

TEST(ZelMemoryStream, AMissingResourceGivesAnEmptyStream) {
    DispatchOn on;
    TZelMemoryStream element;
    element.Stream = LoadResourceStream("NO_SUCH_STREAM");
    ASSERT_NE(ReadStream(element), nullptr);
    EXPECT_EQ(ReadStream(element)->Size(), 0u);
}

}  // namespace
