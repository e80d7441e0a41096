// The backends' framing of replies, against a scripted input queue: each
// look at the queue takes the next count, each pause may act on the framing.
#include "platform/replyFraming.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

namespace {

using platform::TGathered;
using platform::TPause;

struct TScriptedQueue {
    std::vector<uint32_t> counts;  // what each look finds; the last one stays
    size_t looks = 0;
    int pauses = 0;
    std::function<TPause(int pause)> onPause = [](int) { return TPause::Go; };

    TGathered Gather(platform::TReplyFraming& framing) {
        return framing.Gather(
            [this](uint32_t& queued) {
                if (counts.empty()) return false;
                queued = counts[std::min(looks++, counts.size() - 1)];
                return true;
            },
            [this](std::chrono::microseconds) { return onPause(++pauses); });
    }
};

TEST(replyFraming, AKnownLengthIsHandedOnOnceCompleteHoweverLongTheRestTakes) {
    platform::TReplyFraming framing;
    framing.Await(2);
    TScriptedQueue whole{{2}};
    EXPECT_EQ(whole.Gather(framing), TGathered::Ready);
    EXPECT_EQ(whole.pauses, 0);  // no wait at all for a reply that came whole
    TScriptedQueue stale{{0}};   // the event of bytes already read
    EXPECT_EQ(stale.Gather(framing), TGathered::Empty);
    EXPECT_EQ(stale.pauses, 0);

    // Half, then the rest after far more looks than a quiet time allows.
    TScriptedQueue cut{std::vector<uint32_t>(5000, 1)};
    cut.counts.push_back(3);  // and a byte too many comes with it
    EXPECT_EQ(cut.Gather(framing), TGathered::Ready);
    EXPECT_EQ(cut.pauses, 5000);
    EXPECT_EQ(framing.Await(2), 0u);  // nothing held once handed on
}

TEST(replyFraming, AReplyCutShortIsHandedOnWhenItsLengthIsGivenUp) {
    platform::TReplyFraming framing;
    framing.Await(4);
    uint32_t held = 0;
    TScriptedQueue cut{{1, 3}};
    cut.onPause = [&](int pause) {
        if (pause == 20) held = framing.Await(0);
        return TPause::Go;
    };
    EXPECT_EQ(cut.Gather(framing), TGathered::Ready);
    EXPECT_EQ(held, 3u);
    EXPECT_FALSE(framing.Gathering());
}

TEST(replyFraming, EndsAsThePortSays) {
    struct {
        TPause pause;
        TGathered gathered;
    } cases[] = {{TPause::LineDown, TGathered::Ready}, {TPause::Interrupted, TGathered::Interrupted}};
    for (const auto& c : cases) {
        platform::TReplyFraming framing;
        framing.Await(2);
        TScriptedQueue half{{1}};
        half.onPause = [&](int) { return c.pause; };
        EXPECT_EQ(half.Gather(framing), c.gathered);
    }
    platform::TReplyFraming framing;
    TScriptedQueue gone{{}};
    EXPECT_EQ(gone.Gather(framing), TGathered::Failed);
}

// A reply of unknown length handed on before the line went quiet, or one
// that filled the queue, is said to be unended: its rest may follow.
TEST(replyFraming, TellsAReplyHandedOnBeforeItEnded) {
    std::vector<uint32_t> growing(2000);
    for (uint32_t i = 0; i < growing.size(); ++i) growing[i] = i + 1;
    const struct {
        const char* name;
        std::vector<uint32_t> counts;
        platform::TFraming framing;
    } cases[] = {{"quiet", {20}, platform::TFraming::Quiet},
                 {"queue full", {4095}, platform::TFraming::Unended},
                 {"never quiet", growing, platform::TFraming::Unended}};
    for (const auto& c : cases) {
        platform::TReplyFraming framing;
        TScriptedQueue queue{c.counts};
        // A byte a millisecond or more: the quarter second passes first.
        queue.onPause = [](int) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return TPause::Go;
        };
        EXPECT_EQ(queue.Gather(framing), TGathered::Ready) << c.name;
        EXPECT_EQ(framing.LastFraming(), c.framing) << c.name;
    }
}

}  // namespace
