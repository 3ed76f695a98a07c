#include "oils/oil_limits.h"

#include <cfloat>
#include <string>

#include "engine/oil_properties.h"
#include "engine/temperature_unit.h"
#include "error/error.h"
#include "numtext/numtext.h"

namespace project1 {

double CheckedGravity(std::string_view what, double sg, std::string_view text,
                      std::string_view subject) {
  if (sg >= kLeastGravity && sg <= kMostGravity) return sg;
  std::string message = std::string(what) + " must be from " + MessageNumber(kLeastGravity) +
                        " to " + MessageNumber(kMostGravity) + "; it is ";
  const std::size_t comma = text.find(',');
  if (comma != std::string_view::npos && text.find(',', comma + 1) == std::string_view::npos) {
    std::string decimal(text);
    decimal[comma] = '.';
    message += std::string(text) + ", read as " + MessageNumber(sg) +
               " (a comma groups thousands): did you mean " + decimal + "?";
  } else {
    message += MessageNumber(sg) + ".";
  }
  throw Error(ErrorKind::BadInput, message, subject.empty() ? what : subject);
}

std::optional<std::string> DensityTypedAsGravity(std::string_view what, double sg,
                                                 std::string_view text, std::string_view advice) {
  if (!(sg >= kLeastDensity && sg <= kMostDensity) || text.find(',') != std::string_view::npos) {
    return std::nullopt;
  }
  return std::string(what) + " must be from " + MessageNumber(kLeastGravity) + " to " +
         MessageNumber(kMostGravity) + "; " + std::string(text) + " is a density: did you mean " +
         std::string(advice) + "?";
}

double CheckedDensity(std::string_view what, double rho) {
  if (rho >= kLeastDensity && rho <= kMostDensity) return rho;
  throw Error(ErrorKind::BadInput,
              std::string(what) + " must be from " +
                  FormatNumber(kLeastDensity, kGroupedWholePattern) + " to " +
                  FormatNumber(kMostDensity, kGroupedWholePattern) + " kg/m³; it is " +
                  MessageNumber(rho) + ".",
              what);
}

double CheckedExpansion(std::string_view what, double alpha) {
  if (alpha >= 0 && alpha <= kMostExpansion) return alpha;
  throw Error(ErrorKind::BadInput,
              std::string(what) + " must be from 0 to " + MessageNumber(kMostExpansion) +
                  " per °C; it is " + MessageNumber(alpha) + ".",
              what);
}

double ExpandedGravity(double sg15, double alpha, double t_c) {
  const double sg = GravityAt(sg15, alpha, t_c);
  if (sg >= DBL_MIN) return sg;
  throw Error(ErrorKind::BadInput,
              "At " + DegreesText(MessageNumber(t_c)) +
                  " the oil has expanded too far to give a density: " + MessageNumber(sg15) +
                  " at 15 °C, expanding by " + MessageNumber(alpha) + " per °C.");
}

}  // namespace project1
