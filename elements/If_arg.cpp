#include "If_arg.h"

#include <string>

namespace {
// sign < 0, == 0 or > 0 as x is below, equal to or above y.
bool Holds(int sign, int kind) {
    switch (kind) {
        case CompareEqual: return sign == 0;
        case CompareLess: return sign < 0;
        case CompareGreater: return sign > 0;
        case CompareLessEqual: return sign <= 0;
        case CompareGreaterEqual: return sign >= 0;
        case CompareNotEqual: return sign != 0;
        default: return false;
    }
}

template <class T>
int Sign(const T& x, const T& y) {
    return x < y ? -1 : (y < x ? 1 : 0);
}
}  // namespace

bool CompareData(const TData& x, const TData& y, int kind) {
    switch (x.Tag()) {
        case TypeNull: return y.Tag() == TypeNull;
        case TypeInt: return Holds(Sign(x.IntValue, ToInteger(y)), kind);
        case TypeStr: {
            const std::string other = ToString(y);
            if (kind == CompareEqual) return x.StrValue == other;
            if (kind == CompareNotEqual) return x.StrValue != other;
            return kind >= CompareLess && kind <= CompareGreaterEqual &&
                   Holds(CompareTextAscii(x.StrValue, other), kind);
        }
        case TypeReal: {
            const double a = x.RealValue;
            const double b = ToReal(y);
            switch (kind) {  // direct comparisons, so that a NaN compares false but for <>
                case CompareEqual: return a == b;
                case CompareLess: return a < b;
                case CompareGreater: return a > b;
                case CompareLessEqual: return a <= b;
                case CompareGreaterEqual: return a >= b;
                case CompareNotEqual: return a != b;
                default: return false;
            }
        }
        default: return false;
    }
}
