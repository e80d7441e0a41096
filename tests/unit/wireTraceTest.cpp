// The wire trace keeps each image block on one line whatever order the
// threads tell their events in: the writer tells a byte after it went, and
// by then the device may have acknowledged the whole block.
#include "console/wireTrace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string TraceOf(const std::function<void(TWireTrace&)>& events) {
    const std::string path = (std::filesystem::temp_directory_path() / "qv-wire-trace-test.trace").string();
    {
        TWireTrace trace;
        trace.Begin(path, "COM9", 0, 2);
        EXPECT_EQ(trace.Keep(), path);
        events(trace);
        trace.End("updated", "");
    }
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    std::filesystem::remove(path);
    return text.str();
}

void Write(TWireTrace& trace, size_t count) {
    for (size_t i = 0; i < count; ++i) trace.Wire({TWireEvent::Written, std::string_view("\x5A", 1)});
}

void Read(TWireTrace& trace, std::string_view bytes) { trace.Wire({TWireEvent::Read, bytes}); }

TEST(wireTrace, BlocksStayWholeWhateverTheOrderOfTheirEvents) {
    const std::string ack(1, '\0');
    for (const bool replyBeforeLastByte : {false, true}) {
        const std::string text = TraceOf([&](TWireTrace& trace) {
            // The request before the upload, told after its reply came.
            if (!replyBeforeLastByte) Write(trace, 4);
            Read(trace, "QUARNELVISK A 1");
            if (replyBeforeLastByte) Write(trace, 4);
            trace.Wire({TWireEvent::Awaited, {}, platform::TFraming::Length, false, 2});
            Write(trace, 255);
            if (replyBeforeLastByte) Read(trace, "\x01\x02");
            Write(trace, 1);
            if (!replyBeforeLastByte) Read(trace, "\x01\x02");
            Write(trace, 100);  // the second block, cut short
        });
        SCOPED_TRACE(text);
        const size_t block = text.find("  256  block 1/2, acknowledgement due ");
        const size_t reply = text.find("<-     2  (awaited length reached) 0102");
        ASSERT_NE(block, std::string::npos);
        ASSERT_NE(reply, std::string::npos);
        EXPECT_LT(block, reply);
        EXPECT_NE(text.find("->     4  5A5A5A5A \"ZZZZ\""), std::string::npos);
        EXPECT_NE(text.find("->   100  5A5A"), std::string::npos);  // not taken for a block
        EXPECT_NE(text.find("outcome: updated"), std::string::npos);
    }
}

}  // namespace
