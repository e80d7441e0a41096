#include "Share.h"

#include "base/asciiText.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "../platform/messageBox.h"
#include "../platform/resources.h"
#include "memoryStream.h"

// ---- value construction --------------------------------------------------

void SetNull(TData& d) {
    d.DataType = TypeNull;
    d.ForwardLink = nullptr;
    d.Next.reset();
}

void SetInt(TData& d, int32_t i) {
    d.DataType = TypeInt;
    d.IntValue = i;
    d.ForwardLink = nullptr;
    d.Next.reset();
}

void SetStr(TData& d, std::string s) {
    d.DataType = TypeStr;
    d.StrValue = std::move(s);
    d.ForwardLink = nullptr;
    d.Next.reset();
}

void SetReal(TData& d, double x) {
    d.DataType = TypeReal;
    d.RealValue = x;
    d.ForwardLink = nullptr;
    d.Next.reset();
}

void SetStream(TData& d, TMemoryStream* stream) {
    d.DataType = TypeStream;
    d.StreamValue = stream;
    d.ForwardLink = nullptr;
    d.Next.reset();
}

TData MakeInt(int32_t i) {
    TData d;
    SetInt(d, i);
    return d;
}

TData MakeStr(std::string s) {
    TData d;
    SetStr(d, std::move(s));
    return d;
}

TData MakeReal(double x) {
    TData d;
    SetReal(d, x);
    return d;
}

// ---- text formats --------------------------------------------------------

std::string FormatInteger(int32_t i) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, i);
    return std::string(buffer, result.ptr);
}

int32_t ParseInteger(std::string_view s) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    // Unsigned arithmetic: the 32-bit wrap-around is defined behaviour.
    uint32_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) value = value * 10u + uint32_t(s[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

namespace {

// The decimal exponent of a real's text: an optional sign and digits,
// saturating well beyond the range of a double.
int ParseExponent(std::string_view s) {
    constexpr int Limit = 100000;
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    int value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) value = value >= Limit ? Limit : value * 10 + (s[i] - '0');
    return negative ? -value : value;
}

}  // namespace

double ParseReal(std::string_view s) {
    double value = 0.0;
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && s[i] == '-') {
        negative = true;
        ++i;
    }
    bool inFraction = false;
    double factor = 1.0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            if (inFraction) {
                factor *= 0.1;
                value += (c - '0') * factor;
            } else {
                value = value * 10.0 + (c - '0');
            }
        } else if (c == '.') {
            if (inFraction) break;
            inFraction = true;
        } else if (c == 'E' || c == 'e') {
            // Zero stays zero whatever the exponent (0 times pow(10, 999),
            // an infinity, would be NaN); a huge exponent saturates instead
            // of wrapping, so it overflows to an infinity or underflows to 0.
            if (value != 0.0) value *= std::pow(10.0, double(ParseExponent(s.substr(i + 1))));
            break;
        }
        // every other character is skipped
    }
    return negative ? -value : value;
}

std::string FormatReal(double x) {
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
    if (x == 0.0) return "0";
    // Fifteen significant digits, correctly rounded (ties to even), then laid
    // out without exponent. A carry into a sixteenth digit shows up as a
    // larger exponent, so the result then has one more digit before the point.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x), std::chars_format::scientific, 14);
    const std::string_view text(buffer, size_t(result.ptr - buffer));
    const size_t ePos = text.find('e');
    std::string digits;
    for (const char c : text.substr(0, ePos))
        if (c != '.') digits += c;
    int exponent = 0;
    std::from_chars(text.data() + ePos + 1 + (text[ePos + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
    const int before = exponent + 1;  // digits standing before the point

    std::string out;
    if (before >= 15) {
        out = digits + std::string(size_t(before - 15), '0');
    } else {
        if (before >= 1) {
            out = digits.substr(0, size_t(before)) + "." + digits.substr(size_t(before));
        } else {
            out = "0." + std::string(size_t(-before), '0') + digits;
        }
        while (out.back() == '0') out.pop_back();
        if (out.back() == '.') out.pop_back();
    }
    return x < 0 ? "-" + out : out;
}

int32_t RoundToInteger(double x) {
    if (std::isnan(x)) return 0;
    const double r = std::nearbyint(x);  // the default rounding mode: halves to even
    if (r >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (r <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

// ---- conversions ---------------------------------------------------------

std::string ToString(const TData& d) {
    switch (d.Tag()) {
        case TypeInt: return FormatInteger(d.IntValue);
        case TypeStr: return d.StrValue;
        case TypeReal: return FormatReal(d.RealValue);
        default: return std::string();
    }
}

int32_t ToInteger(const TData& d) {
    switch (d.Tag()) {
        case TypeInt: return d.IntValue;
        case TypeStr: return ParseInteger(d.StrValue);
        case TypeReal: return RoundToInteger(d.RealValue);
        default: return 0;
    }
}

double ToReal(const TData& d) {
    switch (d.Tag()) {
        case TypeInt: return double(d.IntValue);
        case TypeStr: return ParseReal(d.StrValue);
        case TypeReal: return d.RealValue;
        default: return 0.0;
    }
}

TMemoryStream* ToStream(const TData& d) { return d.Tag() == TypeStream ? d.StreamValue : nullptr; }

int32_t ToIndex(const TData& d) {
    switch (d.Tag()) {
        case TypeInt:
        case TypeReal: return ToInteger(d);
        case TypeStr: {
            if (d.StrValue.empty()) return -1;
            const int32_t v = ParseInteger(d.StrValue);
            return (v != 0 || d.StrValue[0] == '0') ? v : -1;
        }
        default: return -1;
    }
}

bool IsNonZero(const TData& d) { return !(d.Tag() == TypeInt && d.IntValue == 0); }

bool IsInteger(const TData& d) { return d.Tag() == TypeInt; }

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

// ---- chains --------------------------------------------------------------

void FreeChain(TData& d) { d.Next.reset(); }

void CopyChain(TData& dst, const TData& src) {
    dst = src;
    dst.Next.reset();
    TData* tail = &dst;
    const TData* from = &src;
    while (from->Tag() != TypeNull && from->Next) {
        from = from->Next.get();
        auto item = std::make_shared<TData>(*from);
        item->Next.reset();
        tail->Next = item;
        tail = item.get();
    }
}

TData MakeChain(std::initializer_list<TData> items) {
    TData head;
    TData* tail = nullptr;
    for (const TData& item : items) {
        if (tail == nullptr) {
            head = item;
            head.Next.reset();
            tail = &head;
        } else {
            auto next = std::make_shared<TData>(item);
            next->Next.reset();
            tail->Next = next;
            tail = next.get();
        }
    }
    return head;
}

// ---- switches and the start-up queue -------------------------------------

void EnableDispatch() { dispatchLive.store(true, std::memory_order_release); }
void DisableDispatch() { dispatchLive.store(false, std::memory_order_release); }
bool DispatchEnabled() { return dispatchLive.load(std::memory_order_acquire); }

bool StartupDone = false;

namespace {
struct TStartupEntry {
    TStartupRoutine routine;
    void* object;
};
std::vector<TStartupEntry>& StartupQueue() {
    static std::vector<TStartupEntry> queue;
    return queue;
}
}  // namespace

void AddStartup(TStartupRoutine routine, void* object) { StartupQueue().push_back({routine, object}); }

void RunStartup() {
    auto& queue = StartupQueue();
    // By index: routines may add further entries while the queue runs.
    for (size_t i = 0; i < queue.size(); ++i) {
        const TStartupEntry entry = queue[i];
        entry.routine(entry.object);
    }
    queue.clear();
    StartupDone = true;
}

void ResetStartup() {
    StartupQueue().clear();
    StartupDone = false;
}

// ---- other shared services -----------------------------------------------

void ShowDebugString(const std::string& text) { platform::ShowMessageBox(text, "String-Debug"); }

std::unique_ptr<TMemoryStream> LoadResourceStream(const std::string& name) {
    const auto bytes = platform::FindModuleResource(name, platform::ResourceTypeStream);
    return bytes ? std::make_unique<TMemoryStream>(*bytes) : std::make_unique<TMemoryStream>();
}

int PosFrom(std::string_view sub, std::string_view s, int from) {
    if (sub.empty() || from < 1) return 0;
    const size_t found = s.find(sub, size_t(from - 1));
    return found == std::string_view::npos ? 0 : int(found) + 1;
}

std::string ReplaceAll(std::string s, std::string_view sub, std::string_view repl, const TReplaceFilter& filter) {
    int from = 1;
    for (;;) {
        const int pos = PosFrom(sub, s, from);
        if (pos == 0) return s;
        if (!filter || filter(s, pos)) {
            s.replace(size_t(pos - 1), sub.size(), repl);
            from = pos + int(repl.size());
        } else {
            from = pos + 1;
        }
    }
}

int CompareTextAscii(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return int(static_cast<unsigned char>(AsciiUpper(c))); };
    // The comparison ends at a text's end or at its first zero byte.
    size_t i = 0;
    for (;; ++i) {
        const int ca = i < a.size() ? fold(a[i]) : 0;
        const int cb = i < b.size() ? fold(b[i]) : 0;
        if (ca != cb) return ca - cb;
        if (ca == 0) return 0;
    }
}

// ---- fonts and tag names -------------------------------------------------

TFontRec MakeFont(std::string name, uint8_t size, uint8_t style, uint32_t color, uint8_t charSet) {
    return TFontRec{std::move(name), size, style, color, charSet};
}

std::string_view TypeName(uint8_t tag) {
    static constexpr std::string_view names[TypeNameCount] = {
        "NULL",   "Integer", "String", "Data",   "Combo",  "StrList", "Icon",    "Real",
        "Color",  "Script",  "Stream", "Bitmap", "Wave",   "Array",   "ComboEx", "Font",
        "Matrix", "Jpeg",    "Menu",   "Code",   "Object", "Type",    "Break"};
    return tag < TypeNameCount ? names[tag] : std::string_view();
}
