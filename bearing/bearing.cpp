#include "bearing/bearing.h"

#include <cmath>
#include <string>

#include "bearing/check_positive.h"
#include "engine/oil_properties.h"
#include "error/error.h"
#include "numtext/numtext.h"

namespace project1 {

namespace {

constexpr double kSpeedBranch = 1000;  // r/min: the diagram's two straight pieces meet here
constexpr double kSeparating = 1;
constexpr double kFullFilm = 4;

using bearing_checks::CheckPositive;

}  // namespace

double MeanDiameter(double bore_mm, double outside_mm) {
  CheckPositive(bore_mm, "The bore", "mm");
  CheckPositive(outside_mm, "The outside diameter", "mm");
  if (!(bore_mm < outside_mm)) {
    throw Error(Fault::InvalidArgument, "The bore (" + NumberToText(bore_mm) +
                                            " mm) must be below the outside diameter (" +
                                            NumberToText(outside_mm) + " mm).");
  }
  return bore_mm + (outside_mm - bore_mm) / 2;
}

double RatedViscosity(double mean_diameter_mm, double speed_rpm) {
  CheckPositive(mean_diameter_mm, "The mean diameter", "mm");
  CheckPositive(speed_rpm, "The speed", "r/min");
  const double rated = speed_rpm < kSpeedBranch
                           ? 45000 * std::pow(speed_rpm, -0.83) / std::sqrt(mean_diameter_mm)
                           : 4500 / std::sqrt(speed_rpm) / std::sqrt(mean_diameter_mm);
  if (!std::isfinite(rated) || !(rated > 0)) {
    throw Error(Fault::Overflow, "The rated viscosity of a bearing of " +
                                     NumberToText(mean_diameter_mm) + " mm at " +
                                     NumberToText(speed_rpm) + " r/min is out of range.");
  }
  return rated;
}

KappaBand KappaBandOf(double kappa) {
  if (std::isnan(kappa)) {
    throw Error(Fault::InvalidOperation, "The viscosity ratio is not a number.");
  }
  if (kappa < kSeparating) return KappaBand::Below1;
  if (kappa < kFullFilm) return KappaBand::OneTo4;
  return KappaBand::FourOrMore;
}

std::string_view KappaBandName(KappaBand band) {
  switch (band) {
    case KappaBand::Below1:
      return "below_1";
    case KappaBand::OneTo4:
      return "1_to_4";
    case KappaBand::FourOrMore:
      return "4_or_more";
  }
  return {};
}

std::string_view KappaBandMeaning(KappaBand band) {
  switch (band) {
    case KappaBand::Below1:
      return "no separating film: wear unless EP/AW additives carry the load";
    case KappaBand::OneTo4:
      return "a separating film, where designs aim";
    case KappaBand::FourOrMore:
      return "a full film; more viscosity adds nothing";
  }
  return {};
}

std::string KappaBandText(KappaBand band) {
  switch (band) {
    case KappaBand::Below1:
      return "below 1: " + std::string(KappaBandMeaning(band));
    case KappaBand::OneTo4:
      return "1 to 4: " + std::string(KappaBandMeaning(band));
    case KappaBand::FourOrMore:
      return "4 or more: " + std::string(KappaBandMeaning(band));
  }
  return {};
}

double Kappa(double nu_cst, double rated_cst) {
  CheckPositive(rated_cst, "The rated viscosity", "cSt");
  if (std::isnan(nu_cst)) throw Error(Fault::InvalidOperation, "The viscosity is not a number.");
  return nu_cst / rated_cst;
}

OperatingRange OperatingRangeOf(const ViscosityLine& line, double rated_cst) {
  CheckPositive(rated_cst, "The rated viscosity", "cSt");
  if (!(line.b > 0)) {
    throw Error(Fault::InvalidArgument,
                "The oil's viscosity does not fall as it warms, so no temperature range keeps "
                "the bearing's film.");
  }
  return {TemperatureFor(line, kSeparating * rated_cst),
          TemperatureFor(line, kFullFilm * rated_cst)};
}

GradeSelection SelectGrade(double rated_cst, double t_c, double viscosity_index, Law law,
                           GradeBasis basis) {
  CheckPositive(rated_cst, "The rated viscosity", "cSt");
  if (std::isnan(t_c)) throw Error(Fault::InvalidOperation, "The temperature is not a number.");
  GradeSelection selection;
  selection.rated_viscosity_cst = rated_cst;
  selection.temperature_c = t_c;
  selection.viscosity_index = viscosity_index;
  selection.basis = basis;
  selection.law = law;
  const auto separates = [](const std::optional<double>& kappa) {
    return kappa && *kappa >= kSeparating;
  };
  for (const IsoGradeLimits& limits : IsoGrades()) {
    GradeKappa grade;
    grade.iso_vg = limits.grade;
    grade.kinematic_40c_cst = limits.grade;  // a grade's number is its mid-point
    grade.minimum_40c_cst = limits.minimum;
    grade.kinematic_100c_cst = Nu100ForIndex(grade.kinematic_40c_cst, viscosity_index);
    if (grade.kinematic_100c_cst) {
      const ViscosityLine line =
          FitLine40100(law, grade.kinematic_40c_cst, *grade.kinematic_100c_cst);
      grade.kinematic_cst = KinematicAt(line, t_c);
      grade.kappa = Kappa(*grade.kinematic_cst, rated_cst);
    }
    if (const std::optional<double> nu100 = Nu100ForIndex(limits.minimum, viscosity_index)) {
      const ViscosityLine line = FitLine40100(law, limits.minimum, *nu100);
      grade.kappa_at_minimum = Kappa(KinematicAt(line, t_c), rated_cst);
    }
    grade.marginal = separates(grade.kappa) && !separates(grade.kappa_at_minimum);
    const bool chosen =
        separates(basis == GradeBasis::Minimum ? grade.kappa_at_minimum : grade.kappa);
    if (!selection.smallest_iso_vg && chosen) selection.smallest_iso_vg = grade.iso_vg;
    selection.grades.push_back(grade);
  }
  return selection;
}

}  // namespace project1
