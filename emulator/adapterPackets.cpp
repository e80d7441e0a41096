#include "adapterPackets.h"

namespace {
using std::chrono::microseconds;

// When a byte that came off the wire at `at` is handed over.
microseconds HandedOver(microseconds at, const TAdapterLine& line, microseconds sinceTick) {
    if (line.tick.count() <= 0) return at;
    // Ticks fall at tick - sinceTick, 2 tick - sinceTick, ...
    const microseconds fromTick = at + sinceTick;
    const auto ticks = (fromTick.count() + line.tick.count() - 1) / line.tick.count();
    return microseconds(ticks * line.tick.count()) - sinceTick;
}
}  // namespace

std::vector<TAdapterPacket> AdapterPackets(size_t bytes, const TAdapterLine& line, microseconds sinceTick) {
    std::vector<TAdapterPacket> packets;
    if (bytes == 0) return packets;
    const auto wire = [&](size_t i) { return line.byteGap * static_cast<long>(i); };
    if (line.cutInTwo && bytes > 1) {
        const size_t half = bytes / 2;
        const microseconds first = HandedOver(wire(half - 1), line, sinceTick);
        const microseconds tick = line.tick.count() > 0 ? line.tick : DefaultCutTick;
        microseconds second = HandedOver(wire(bytes - 1), line, sinceTick);
        if (second < first + tick) second = first + tick;
        packets.push_back({0, half, first});
        packets.push_back({half, bytes - half, second});
        return packets;
    }
    for (size_t i = 0; i < bytes; ++i) {
        const microseconds due = HandedOver(wire(i), line, sinceTick);
        if (!packets.empty() && packets.back().due == due)
            ++packets.back().size;
        else
            packets.push_back({i, 1, due});
    }
    return packets;
}
