// How the emulator's adapter cuts replies into packets.
#include "emulator/adapterPackets.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using std::chrono::microseconds;

// "offset+size@due_us" for every packet.
std::string Plan(size_t bytes, TAdapterLine line, long sinceTickUs) {
    std::string text;
    for (const TAdapterPacket& p : AdapterPackets(bytes, line, microseconds(sinceTickUs)))
        text += (text.empty() ? "" : " ") + std::to_string(p.offset) + "+" + std::to_string(p.size) + "@" +
                std::to_string(p.due.count());
    return text;
}

TEST(adapterPackets, RepliesAreCutWhereTheyStraddleATick) {
    const microseconds gap{260}, tick{16000};
    struct {
        size_t bytes;
        TAdapterLine line;
        long sinceTick;
        std::string plan;
    } cases[] = {
        {2, {}, 0, "0+2@0"},                                   // no adapter, replies in one write
        {3, {gap, {}, false}, 0, "0+1@0 1+1@260 2+1@520"},     // a UART's bytes one by one
        {2, {gap, tick, false}, 1000, "0+2@15000"},            // whole at the next tick
        {2, {gap, tick, false}, 15800, "0+1@200 1+1@16200"},   // the tick falls between the bytes
        {2, {{}, {}, true}, 0, "0+1@0 1+1@16000"},             // cut in two, the default tick apart
        {20, {gap, tick, true}, 0, "0+10@16000 10+10@32000"},  // halves a tick apart at the ticks
        {1, {{}, {}, true}, 0, "0+1@0"},                       // one byte cannot be cut
        {0, {gap, tick, true}, 0, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Plan(c.bytes, c.line, c.sinceTick), c.plan) << c.plan;
}

}  // namespace
