// The comparison shared by the branching elements.
#pragma once

#include "runtime/Share.h"

// Comparison kinds: 0 =, 1 <, 2 >, 3 <=, 4 >=, 5 <>.
enum : int { CompareEqual = 0, CompareLess, CompareGreater, CompareLessEqual, CompareGreaterEqual, CompareNotEqual };

// Compares x with y in the type of x: an integer x takes y as an integer, a
// text x takes it as text (= and <> byte for byte, the orderings by
// CompareTextAscii), a real x as a real. A null x equals only a null y,
// whatever the kind; other types of x, and unknown kinds, give false.
bool CompareData(const TData& x, const TData& y, int kind);
