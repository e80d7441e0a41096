// How the serial backends cut the bytes that reach the input queue into the
// chunks they report. A reply whose length the exchange has said is handed
// on as soon as that many bytes are queued, however the line, a busy host or
// a USB adapter's latency tick cut it; its first bytes are held for as long
// as the rest takes (the exchange's own watchdog ends a reply that never
// completes, by saying the length is no longer known). A reply of unknown
// length is handed on once the line has been quiet for longer than an
// adapter's default tick, so that one cut at a tick still comes as one chunk.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

namespace platform {

// How long the line must stay quiet after a received byte before a reply of
// unknown length is reported: three character times at the line's settings,
// never less than 40 ms. USB adapters hand received bytes over at a periodic
// tick (16 ms by default on Windows), so a reply that straddles a tick
// arrives as two pieces up to a tick apart; a loaded host adds its own
// delays on top. Only the identification is of unknown length, once a probe.
std::chrono::microseconds GatherQuietTime(uint32_t baudRate, uint32_t bitsPerCharacter);

// A device that never pauses is still heard: a reply of unknown length is
// handed on after this long, or once this many bytes are waiting. No awaited
// length can be longer than the input queue holds.
inline constexpr std::chrono::milliseconds GatherLongest{250};
inline constexpr uint32_t GatherMostBytes = 4096;
// While a reply of known length is short of it, the queue is looked at this
// often: the rest then counts as arrived at most this much after it came.
inline constexpr std::chrono::microseconds RestLookInterval{200};

// How a gathering ended: the bytes queued are a chunk to report; nothing
// to report (a length is awaited and the queue was empty at the first look:
// the event was for bytes that were read already); a close or a change of
// the event mask called it off; the queue could not be asked.
enum class TGathered { Ready, Empty, Interrupted, Failed };
// How a pause between two looks at the queue ended: go on looking; the
// gathering must end at once (close, mask change); the line went down, so
// no more bytes will come and those queued are reported as they are.
enum class TPause { Go, Interrupted, LineDown };
// How the bytes of a gathering were framed as one reply.
enum class TFraming : uint8_t {
    Length,    // the awaited length was reached
    Quiet,     // of unknown length, the line went quiet after it
    Unended,   // of unknown length, handed on while still arriving (at
               // GatherLongest), or filling the queue: its rest comes next
    LineDown,  // the line went down while its bytes were held
};

// The framing state of one open port: the awaited length, which the
// exchange sets from any thread, and the gathering, which runs on the
// reader thread inside its wait for events.
class TReplyFraming {
public:
    // The line's speed and character size, for the quiet time.
    void SetLine(uint32_t baudRate, uint32_t bitsPerCharacter);
    // The length of the reply the exchange awaits next, 0 when not known
    // (at most GatherMostBytes). Returns how many bytes were held at this
    // moment as the start of a reply short of the length before, which the
    // next report now hands on. A gathering in progress judges by the new
    // length at its next look; whoever sets it may want to wake it.
    uint32_t Await(uint32_t bytes);
    // Whether the reader thread is in a gathering now.
    bool Gathering() const { return gathering.load(); }
    // How the bytes of the last gathering were framed.
    TFraming LastFraming() const { return lastFraming.load(); }

    // Gathers the bytes of one reply after bytes have arrived. queued tells
    // how many bytes wait in the input queue (false when it cannot be
    // asked); pause waits at most the given time, or until woken.
    TGathered Gather(const std::function<bool(uint32_t& queued)>& queued,
                     const std::function<TPause(std::chrono::microseconds longest)>& pause);

private:
    TGathered End(TGathered how, TFraming framing = TFraming::Length);

    std::atomic<uint32_t> awaited{0};
    std::atomic<uint32_t> held{0};
    std::atomic<bool> gathering{false};
    std::atomic<TFraming> lastFraming{TFraming::Length};
    std::atomic<int64_t> quietUs{GatherQuietTime(0, 10).count()};
};

}  // namespace platform
