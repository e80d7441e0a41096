#include "Share.h"

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
