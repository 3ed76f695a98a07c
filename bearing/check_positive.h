#pragma once
// The bearing library's own check of a quantity that must be a finite number above 0.

#include <cmath>
#include <string>
#include <string_view>

#include "error/error.h"
#include "numtext/numtext.h"

namespace project1::bearing_checks {

// Refuses `value` unless it is a finite number above 0; `subject` names it, `unit` follows it.
inline void CheckPositive(double value, std::string_view subject, std::string_view unit) {
  if (value > 0 && std::isfinite(value)) return;
  const std::string name(subject);
  if (std::isnan(value)) throw Error(Fault::InvalidOperation, name + " is not a number.");
  if (std::isinf(value) && value > 0) {
    throw Error(Fault::Overflow, name + " is too large; it is " + NumberToText(value) + ".");
  }
  throw Error(Fault::InvalidArgument, name + " must be above 0 " + std::string(unit) + "; it is " +
                                          NumberToText(value) + ".");
}

}  // namespace project1::bearing_checks
