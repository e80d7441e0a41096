#include "replyFraming.h"

#include <algorithm>

namespace platform {

std::chrono::microseconds GatherQuietTime(uint32_t baudRate, uint32_t bitsPerCharacter) {
    // A 16 ms tick, and as much again for a host whose reader thread waits
    // for a core: a reply cut at a tick was measured whole with this on a
    // pty with both cores kept busy (docs/reliability.md).
    constexpr std::chrono::microseconds Least{40000};
    if (baudRate == 0) return Least;
    const std::chrono::microseconds threeCharacters{(3ull * bitsPerCharacter * 1000000ull + baudRate - 1) / baudRate};
    return std::max(Least, threeCharacters);
}

void TReplyFraming::SetLine(uint32_t baudRate, uint32_t bitsPerCharacter) {
    quietUs = GatherQuietTime(baudRate, bitsPerCharacter).count();
}

uint32_t TReplyFraming::Await(uint32_t bytes) {
    awaited = std::min(bytes, GatherMostBytes);
    return held.load();
}

TGathered TReplyFraming::End(TGathered how, TFraming framing) {
    held = 0;
    lastFraming = framing;
    gathering = false;
    return how;
}

TGathered TReplyFraming::Gather(const std::function<bool(uint32_t&)>& queued,
                                const std::function<TPause(std::chrono::microseconds)>& pause) {
    using TClock = std::chrono::steady_clock;
    // Set before the awaited length is first read: a length set meanwhile is
    // either seen here or finds the gathering under way and wakes it.
    gathering = true;
    const std::chrono::microseconds quiet{quietUs.load()};
    const auto began = TClock::now();
    uint32_t count = 0;
    if (!queued(count)) return End(TGathered::Failed);
    // The event of bytes already read: the wait goes on for the event of
    // the awaited reply's bytes instead of looking at an empty queue.
    if (count == 0 && awaited.load() != 0) return End(TGathered::Empty);
    auto lastChange = began;
    for (;;) {
        const uint32_t want = awaited.load();
        std::chrono::microseconds step = RestLookInterval;
        if (want != 0) {
            // All that is queued goes, so a reply with bytes too many is
            // seen as it came.
            if (count >= want) return End(TGathered::Ready);
            held = count;
        } else {
            held = 0;
            const auto now = TClock::now();
            // A queue that has filled stays quiet because the bytes behind
            // it cannot come in (a pty holds one byte less than this).
            const bool full = count + 1 >= GatherMostBytes;
            if (now - lastChange >= quiet) return End(TGathered::Ready, full ? TFraming::Unended : TFraming::Quiet);
            if (now - began >= GatherLongest || full) return End(TGathered::Ready, TFraming::Unended);
            // Twice per quiet time: a reply that came in one go is handed on
            // one quiet time after it began to arrive.
            const auto untilQuiet = std::chrono::duration_cast<std::chrono::microseconds>(lastChange + quiet - now);
            step = std::max(std::min(quiet / 2, untilQuiet), std::chrono::microseconds(100));
        }
        switch (pause(step)) {
            case TPause::Go: break;
            case TPause::Interrupted: return End(TGathered::Interrupted);
            case TPause::LineDown: return End(TGathered::Ready, TFraming::LineDown);
        }
        uint32_t now = 0;
        if (!queued(now)) return End(TGathered::Failed);
        if (now != count) {
            count = now;
            lastChange = TClock::now();
        }
    }
}

}  // namespace platform
