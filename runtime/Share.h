// The value record, the link record and the shared operations through which
// every element talks to every other element.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "dispatch.h"
#include "sharedServices.h"
#include "startupQueue.h"
#include "textFormats.h"

class TMemoryStream;

// Type tags of TData::DataType. Bit 0x80 is the forward flag.
enum : uint8_t {
    TypeNull = 0,
    TypeInt = 1,
    TypeStr = 2,
    TypeReal = 7,
    TypeStream = 10,
    TypeNoValue = 22,
    TypeForward = 0x80,
};

struct TData;

// A work point or a getter, called on its target with a record and the
// link's index. Every member point is reached through a PointThunk.
using TPointMethod = void (*)(void* target, TData& d, uint16_t index);

struct TPointLink {
    TPointMethod Method = nullptr;
    void* Target = nullptr;
    uint16_t Index = 0;

    bool Linked() const { return Method != nullptr; }
};

// The value passed along every link. A chained value is a list: the head is
// held by value, every further item hangs off Next. Chain items are shared
// between copies of a record and are never changed in place, so a copy of a
// record is cheap and a chain is released when its last holder goes.
struct TData {
    uint8_t DataType = TypeNull;
    int32_t IntValue = 0;
    std::string StrValue;
    double RealValue = 0.0;
    // Streams are kept as a pointer of their own so that no pointer ever has
    // to fit into the 32-bit integer. The record does not own the stream.
    TMemoryStream* StreamValue = nullptr;
    const TPointLink* ForwardLink = nullptr;
    std::shared_ptr<TData> Next;

    uint8_t Tag() const { return DataType & uint8_t(~TypeForward); }
};

// ---- links ---------------------------------------------------------------

namespace share_detail {
template <auto Method>
struct PointTraits;

template <class C, void (C::*M)(TData&, uint16_t)>
struct PointTraits<M> {
    using Class = C;
    static void Call(void* target, TData& d, uint16_t index) { (static_cast<C*>(target)->*M)(d, index); }
};
}  // namespace share_detail

// The class that declares the member point Method.
template <auto Method>
using PointClass = typename share_detail::PointTraits<Method>::Class;

// Builds the link to the member point Method of target. The target converts
// to the class that declares Method, so a point of a base class can be linked
// on a derived element.
template <auto Method>
TPointLink MakeLink(uint16_t index, PointClass<Method>* target) {
    return TPointLink{&share_detail::PointTraits<Method>::Call, static_cast<void*>(target), index};
}

// ---- value construction --------------------------------------------------

void SetNull(TData& d);
void SetInt(TData& d, int32_t i);
void SetStr(TData& d, std::string s);
void SetReal(TData& d, double x);
void SetStream(TData& d, TMemoryStream* stream);

TData MakeInt(int32_t i);
TData MakeStr(std::string s);
TData MakeReal(double x);

// ---- conversions ---------------------------------------------------------

std::string ToString(const TData& d);
int32_t ToInteger(const TData& d);
double ToReal(const TData& d);
TMemoryStream* ToStream(const TData& d);
int32_t ToIndex(const TData& d);
bool IsNonZero(const TData& d);
bool IsInteger(const TData& d);

// ---- chains --------------------------------------------------------------

void FreeChain(TData& d);
void CopyChain(TData& dst, const TData& src);
// Builds a chained value from its items, head first (test and scheme helper).
TData MakeChain(std::initializer_list<TData> items);

// ---- fonts and tag names -------------------------------------------------

struct TFontRec {
    std::string Name;
    uint8_t Size = 0;
    uint8_t Style = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    uint32_t Color = 0;
    uint8_t CharSet = 1;
};

TFontRec MakeFont(std::string name, uint8_t size, uint8_t style, uint32_t color, uint8_t charSet);

constexpr int TypeNameCount = 23;
// The name of a tag value; the empty text for values outside the table.
std::string_view TypeName(uint8_t tag);
