#include "dispatch.h"

#include <atomic>

#include "Share.h"
#include "memoryStream.h"

// ---- dispatch ------------------------------------------------------------

namespace {
// The dispatcher and reader slots: either live or the no-op. Read by every
// thread that fires events, written by the user-interface thread.
std::atomic<bool> dispatchLive{false};

void Dispatch(const TPointLink* link, TData& d) {
    if (!dispatchLive.load(std::memory_order_acquire)) return;
    while (link != nullptr && link->Method != nullptr) {
        link->Method(link->Target, d, link->Index);
        if ((d.DataType & TypeForward) == 0) return;
        d.DataType &= uint8_t(~TypeForward);
        link = d.ForwardLink;
    }
}

void Read(const TPointLink& point, TData& d) {
    if (!dispatchLive.load(std::memory_order_acquire)) return;
    if (point.Method != nullptr) point.Method(point.Target, d, point.Index);
}
}  // namespace

void CallEvent(const TPointLink& link, TData& d) { Dispatch(&link, d); }

void CallEventCopy(const TPointLink& link, const TData& d) {
    if (!link.Linked()) return;
    TData copy = d;
    Dispatch(&link, copy);
}

void CallEventInt(const TPointLink& link, int32_t i) {
    if (!link.Linked()) return;
    TData d;
    SetInt(d, i);
    Dispatch(&link, d);
}

void CallEventStr(const TPointLink& link, std::string s) {
    if (!link.Linked()) return;
    TData d;
    SetStr(d, std::move(s));
    Dispatch(&link, d);
}

void CallEventNull(const TPointLink& link) {
    if (!link.Linked()) return;
    TData d;
    Dispatch(&link, d);
}

void ForwardData(TData& d, const TPointLink& link, const TData& v) {
    if (&d != &v) d = v;
    d.DataType |= TypeForward;
    d.ForwardLink = &link;
}

void ForwardInt(TData& d, const TPointLink& link, int32_t i) {
    d.DataType = TypeInt | TypeForward;
    d.IntValue = i;
    d.Next.reset();
    d.ForwardLink = &link;
}

void ForwardStr(TData& d, const TPointLink& link, std::string s) {
    d.DataType = TypeStr | TypeForward;
    d.StrValue = std::move(s);
    d.Next.reset();
    d.ForwardLink = &link;
}

void ForwardNull(TData& d, const TPointLink& link) {
    d.DataType = TypeNull | TypeForward;
    d.ForwardLink = &link;
}

// ---- reading -------------------------------------------------------------

TData TakeData(TData& incoming) {
    TData first = incoming;
    first.Next.reset();
    first.ForwardLink = nullptr;
    if (incoming.Tag() == TypeNull) {
        incoming.Next.reset();
    } else if (incoming.Next) {
        const std::shared_ptr<TData> next = incoming.Next;  // keeps the item alive while it is copied
        incoming = *next;
    } else {
        incoming.DataType = TypeNull;
    }
    return first;
}

TData ReadData(TData& incoming, const TPointLink& point, const TData* def) {
    if (point.Linked()) {
        TData r;
        Read(point, r);
        r.Next.reset();
        if (r.Tag() != TypeNoValue) return r;
    }
    if (def != nullptr && def->Tag() != TypeNull) return *def;
    return TakeData(incoming);
}

TData ReadDataChain(TData& incoming, const TPointLink& point, const TData* def) {
    if (point.Linked()) {
        TData r;
        Read(point, r);
        if (r.Tag() != TypeNoValue) return r;
    }
    if (def != nullptr && def->Tag() != TypeNull) return *def;
    TData whole = std::move(incoming);
    incoming = TData();
    return whole;
}

namespace {
// The shared shape of ReadString and ReadInteger: ask a linked point, else
// the given default, else take the incoming value's first item.
template <class T, class Convert>
T ReadConverted(TData& incoming, const TPointLink& point, const T& def, bool haveDefault, Convert convert) {
    if (point.Linked()) {
        TData r;
        Read(point, r);
        if (r.Tag() != TypeNoValue) return convert(r);
    }
    if (haveDefault || incoming.Tag() == TypeNull) return def;
    return convert(TakeData(incoming));
}
}  // namespace

std::string ReadString(TData& incoming, const TPointLink& point, const std::string& def) {
    return ReadConverted(incoming, point, def, !def.empty(), [](const TData& d) { return ToString(d); });
}

int32_t ReadInteger(TData& incoming, const TPointLink& point, int32_t def) {
    return ReadConverted(incoming, point, def, def != 0, [](const TData& d) { return ToInteger(d); });
}

int32_t ReadIntegerPoint(const TPointLink& point) {
    TData r;
    Read(point, r);
    return ToInteger(r);
}

TMemoryStream* ReadStreamPoint(const TPointLink& point) {
    TData r;
    Read(point, r);
    return ToStream(r);
}

void ReadRaw(TData& d, const TPointLink& point) {
    if (point.Linked())
        Read(point, d);
    else
        d.DataType = TypeNoValue;
}

// ---- the switch ----------------------------------------------------------

void EnableDispatch() { dispatchLive.store(true, std::memory_order_release); }
void DisableDispatch() { dispatchLive.store(false, std::memory_order_release); }
bool DispatchEnabled() { return dispatchLive.load(std::memory_order_acquire); }
