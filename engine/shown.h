#pragma once
// How a number appears inside a message of the oil properties.

#include <cmath>
#include <string>

#include "numtext/numtext.h"

namespace project1::detail {

// The shortest text of a value; the non-finite values are spelled out.
inline std::string Shown(double value) {
  if (std::isnan(value)) return "not a number";
  if (std::isinf(value)) return value > 0 ? "infinite" : "minus infinite";
  return NumberToText(value);
}

}  // namespace project1::detail
