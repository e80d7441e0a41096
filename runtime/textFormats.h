// The texts of numbers as the elements write and read them: integers, reals
// in the short form the elements show, and the rounding between them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

std::string FormatInteger(int32_t i);
int32_t ParseInteger(std::string_view s);
double ParseReal(std::string_view s);
std::string FormatReal(double x);
// Nearest integer, halves to the even neighbour. Values beyond the 32-bit
// range saturate at its ends; NaN gives 0.
int32_t RoundToInteger(double x);
