#pragma once
// Is this oil right for this bearing? The rated viscosity nu1 a rolling bearing needs at its size
// and speed, the viscosity ratio kappa = nu / nu1 of an oil at its running temperature, the
// temperatures between which the oil keeps the bearing's film, and the smallest ISO grade that
// does at a given temperature. Viscosities are in cSt (mm^2/s), diameters in mm, speeds in r/min
// and temperatures in degrees C. Every failure is Error with a message that names the quantity
// and its value.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/viscosity_line.h"

namespace project1 {

// Text shown for a bearing's quantity without a value (a_ISO below the life method).
inline constexpr std::string_view kNoValueText = "–";

// The mean diameter (d + D) / 2 of a bearing of bore d and outside diameter D.
double MeanDiameter(double bore_mm, double outside_mm);

// The rated viscosity nu1 of a bearing of mean diameter dm turning at n r/min:
//   45000 n^-0.83 dm^-0.5 below 1000 r/min, 4500 n^-0.5 dm^-0.5 from 1000 r/min on.
double RatedViscosity(double mean_diameter_mm, double speed_rpm);

// What a viscosity ratio means for the bearing's film.
enum class KappaBand {
  Below1,      // no separating film: wear unless EP/AW additives carry the load
  OneTo4,      // a separating film, where designs aim
  FourOrMore,  // a full film; more viscosity adds nothing
};
KappaBand KappaBandOf(double kappa);
std::string_view KappaBandName(KappaBand band);     // "below_1", "1_to_4", "4_or_more"
std::string_view KappaBandMeaning(KappaBand band);  // for a person
// The band with its meaning, for a person: "below 1: no separating film, ...".
std::string KappaBandText(KappaBand band);

// kappa = nu / nu1.
double Kappa(double nu_cst, double rated_cst);

// The temperatures of an oil's line at which kappa is 1 (the hottest at which the film still
// separates) and 4 (below it, more viscosity adds nothing): the line's exact inverse at nu1 and
// 4 nu1. Error(InvalidArgument) for a line that does not fall as the oil warms.
struct OperatingRange {
  double kappa_1_temperature_c = 0;
  double kappa_4_temperature_c = 0;
};
OperatingRange OperatingRangeOf(const ViscosityLine& line, double rated_cst);

// The viscosity index an oil of each grade is taken to have unless told otherwise.
inline constexpr double kDefaultViscosityIndex = 95;

// One ISO grade's oil at its mid-point nu40 with the index asked for. Where no nu100 gives that
// index (the thinnest grades at ordinary indices), the grade has no line: nu100, nu and kappa are
// absent.
struct GradeKappa {
  int iso_vg = 0;
  double kinematic_40c_cst = 0;
  std::optional<double> kinematic_100c_cst;
  std::optional<double> kinematic_cst;  // at the temperature
  std::optional<double> kappa;
  // The same at the grade's minimum ν40, ISO 3448's lower limit (its mid-point × 0.9), at the
  // same index.
  double minimum_40c_cst = 0;
  std::optional<double> kappa_at_minimum;
  // κ ≥ 1 at the nominal ν40 but not at the minimum: an oil of the grade may fall short.
  bool marginal = false;
};

// Which ν40 of a grade the selection judges it by: its nominal (the grade's number) or its
// minimum.
enum class GradeBasis { Nominal, Minimum };

struct GradeSelection {
  double rated_viscosity_cst = 0;
  double temperature_c = 0;
  double viscosity_index = 0;
  GradeBasis basis = GradeBasis::Nominal;
  Law law = Law::Walther;          // of the grades' lines
  std::vector<GradeKappa> grades;  // VG 2 ... VG 3200
  // The smallest grade with kappa >= 1 at its ν40 of `basis`; none if none reaches.
  std::optional<int> smallest_iso_vg;
};

// The grade a bearing of rated viscosity nu1 needs at t_c, for oils of the given index on the
// viscosity line of `law`, judged by each grade's ν40 of `basis`.
GradeSelection SelectGrade(double rated_cst, double t_c,
                           double viscosity_index = kDefaultViscosityIndex, Law law = Law::Walther,
                           GradeBasis basis = GradeBasis::Nominal);

}  // namespace project1
