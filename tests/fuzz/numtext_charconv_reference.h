#pragma once
// The numbers layer as it was written on the standard library's floating-point <charconv>, kept
// to compare the current layer against it.

#include <string>
#include <string_view>

#include "numtext/error.h"

namespace project1::charconv_reference {

double TextToNumber(std::string_view text);
double TextToNumber(std::string_view text, std::string_view what);
std::string NumberToText(double value);
std::string NumberToText(short value);
std::string FormatNumber(double value, std::string_view pattern);

}  // namespace project1::charconv_reference
