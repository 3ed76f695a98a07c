#pragma once
// The limits an oil's specific gravity, density and thermal expansion coefficient must meet,
// wherever an oil's are read: the tool's options and batch column, the Python module and the
// page. The window keeps its own, wider rules.

#include <optional>
#include <string>
#include <string_view>

namespace project1 {

// Oils lie well inside these.
inline constexpr double kLeastGravity = 0.5;
inline constexpr double kMostGravity = 3;
inline constexpr double kMostExpansion = 0.005;  // per °C; oils lie near 0.0006 to 0.0009
// A density at 15 °C, kg/m³: the gravities above, near enough (0.5 to 3 is 499.55 to 2,997.3).
inline constexpr double kLeastDensity = 500;
inline constexpr double kMostDensity = 3000;

// The gravity `text` read as `sg`, refused outside 0.5 to 3 with a message naming `what`, the
// value and the range; for a text whose comma was read as grouping ("1,320") the message offers
// the decimal reading ("did you mean 1.320?"). Error(BadInput), its subject `subject`, or
// `what` when none is given.
double CheckedGravity(std::string_view what, double sg, std::string_view text,
                      std::string_view subject = {});
// The message for a density at 15 °C in kg/m³ typed where a gravity belongs: `text` read as `sg`
// lies from 500 to 3,000 and holds no comma (a comma is told about by CheckedGravity). `advice`
// is what the reader should have typed: "--sg must be from 0.5 to 3; 870 is a density: did you
// mean --density 870?". nullopt for any other gravity.
std::optional<std::string> DensityTypedAsGravity(std::string_view what, double sg,
                                                 std::string_view text, std::string_view advice);
// The density `rho` (kg/m³ at 15 °C) refused outside 500 to 3,000 with a message naming `what`;
// Error(BadInput).
double CheckedDensity(std::string_view what, double rho);
// The expansion coefficient, refused outside 0 to 0.005 per °C, naming `what` and the value.
double CheckedExpansion(std::string_view what, double alpha);
// The gravity at t_c of an oil of gravity sg15 at 15 °C expanding by alpha per °C, refused when
// it is too small to be a number (never handed on as the oil's gravity).
double ExpandedGravity(double sg15, double alpha, double t_c);

}  // namespace project1
