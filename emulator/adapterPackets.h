// A USB serial adapter between the device and the host, as the host sees
// it: received bytes are handed over in packets at the adapter's periodic
// latency tick, so a reply that straddles a tick reaches the host in two
// pieces a tick apart. The emulator plans every reply's delivery with this.
#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

struct TAdapterLine {
    std::chrono::microseconds byteGap{0};  // between two bytes of a reply on the wire
    std::chrono::microseconds tick{0};     // the latency tick; 0: bytes go on as they come
    // Every reply in two pieces, the second a tick (or DefaultCutTick) after
    // the first: the worst case of the tick for a framing host.
    bool cutInTwo = false;
};

inline constexpr std::chrono::microseconds DefaultCutTick{16000};

// One piece of a reply: its bytes [offset, offset + size), handed over at
// `due`, counted from the moment the reply's first byte came off the wire.
struct TAdapterPacket {
    size_t offset = 0;
    size_t size = 0;
    std::chrono::microseconds due{0};
};

// The pieces of a reply of `bytes` bytes whose first byte came off the wire
// `sinceTick` after the adapter's last tick (below the tick).
std::vector<TAdapterPacket> AdapterPackets(size_t bytes, const TAdapterLine& line, std::chrono::microseconds sinceTick);
