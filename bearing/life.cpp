#include "bearing/life.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "bearing/check_positive.h"
#include "error/error.h"
#include "numtext/numtext.h"

namespace project1 {

namespace {

using bearing_checks::CheckPositive;

constexpr double kHighestKappa = 4;
constexpr double kLargestFactor = 50;
// With EP additives: below this kappa, and from this e_C on, kappa 1 is used and a_ISO capped.
constexpr double kEpKappa = 1;
constexpr double kEpContamination = 0.2;
constexpr double kEpLargestFactor = 3;
// The guide table's ranges of e_C change at this mean diameter.
constexpr double kLargeBearingMm = 100;

constexpr std::string_view kTypeNames[] = {"ball", "roller", "thrust-ball", "thrust-roller"};

// The lower end of each level's e_C range below and from 100 mm, in the levels' order.
struct Level {
  double small;
  double large;
};
constexpr Level kLevels[] = {{1, 1},     {0.6, 0.8}, {0.5, 0.6}, {0.3, 0.4},
                             {0.1, 0.2}, {0, 0},     {0, 0}};

constexpr std::string_view kLevelNames[] = {"extreme", "high",   "normal",     "slight",
                                            "typical", "severe", "very-severe"};

constexpr double kA1[] = {1, 0.64, 0.55, 0.47, 0.37, 0.25};  // of kReliabilities, in order

bool IsBall(BearingType type) {
  return type == BearingType::Ball || type == BearingType::ThrustBall;
}

// The constants of a_ISO's formula in one kappa band.
struct Band {
  double c_ball;
  double c_roller;
  double q;
};
Band BandOf(double kappa) {
  if (kappa < 0.4) return {2.2649, 1.3993, 0.054381};
  if (kappa < 1) return {1.9987, 1.2348, 0.19087};
  return {1.9987, 1.2348, 0.071739};
}

void CheckContamination(double contamination) {
  if (std::isnan(contamination)) {
    throw Error(Fault::InvalidOperation, "The contamination factor e_C is not a number.",
                "contamination factor");
  }
  if (!(contamination >= 0 && contamination <= 1)) {
    throw Error(Fault::InvalidArgument,
                "The contamination factor e_C must be from 0 to 1; it is " +
                    NumberToText(contamination) + ".",
                "contamination factor");
  }
}

// "`subject` is given without `needed`.", begun with a capital.
MissingLifeInput Without(std::string_view subject, LifeInput missing, std::string_view needed) {
  std::string message = std::string(subject) + " is given without " + std::string(needed) + ".";
  if (!message.empty() && message[0] >= 'a' && message[0] <= 'z') message[0] -= 'a' - 'A';
  return {missing, std::move(message)};
}

}  // namespace

std::optional<MissingLifeInput> MissingForLoads(const LifeInputsGiven& g) {
  if (!g.rating.given && !g.load.given) {
    for (const LifeInputsGiven::Given& other : {g.fatigue_load, g.contamination}) {
      if (other.given) {
        return Without(other.name, LifeInput::Rating,
                       std::string(g.rating.name) + " and " + std::string(g.load.name));
      }
    }
    return std::nullopt;
  }
  if (!g.load.given) return Without(g.rating.name, LifeInput::Load, g.load.name);
  if (!g.rating.given) return Without(g.load.name, LifeInput::Rating, g.rating.name);
  return std::nullopt;
}

std::optional<MissingLifeInput> MissingForModifiedLife(const LifeInputsGiven& g) {
  if (g.fatigue_load.given && !g.contamination.given) {
    return Without(g.fatigue_load.name, LifeInput::Contamination, g.contamination.name);
  }
  if (g.contamination.given && !g.fatigue_load.given) {
    return Without(g.contamination.name, LifeInput::FatigueLoad, g.fatigue_load.name);
  }
  return std::nullopt;
}

std::span<const std::string_view> BearingTypeNames() { return kTypeNames; }

std::string_view BearingTypeName(BearingType type) { return kTypeNames[static_cast<int>(type)]; }

std::optional<BearingType> BearingTypeNamed(std::string_view name) {
  for (std::size_t i = 0; i < std::size(kTypeNames); ++i) {
    if (kTypeNames[i] == name) return static_cast<BearingType>(i);
  }
  return std::nullopt;
}

double LifeExponent(BearingType type) { return IsBall(type) ? 3 : 10.0 / 3; }

std::span<const std::string_view> CleanlinessNames() { return kLevelNames; }

std::string_view CleanlinessName(Cleanliness level) { return kLevelNames[static_cast<int>(level)]; }

std::optional<Cleanliness> CleanlinessNamed(std::string_view name) {
  for (std::size_t i = 0; i < std::size(kLevelNames); ++i) {
    if (kLevelNames[i] == name) return static_cast<Cleanliness>(i);
  }
  return std::nullopt;
}

double ContaminationFactor(Cleanliness level, double mean_diameter_mm) {
  CheckPositive(mean_diameter_mm, "The mean diameter", "mm");
  const Level& row = kLevels[static_cast<int>(level)];
  return mean_diameter_mm < kLargeBearingMm ? row.small : row.large;
}

std::optional<double> ReliabilityFactor(double reliability_percent) {
  for (std::size_t i = 0; i < std::size(kReliabilities); ++i) {
    if (kReliabilities[i] == reliability_percent) return kA1[i];
  }
  return std::nullopt;
}

BasicLife BasicLifeOf(const LifeInputs& in) {
  CheckPositive(in.load_kn, "The load P", "kN");
  CheckPositive(in.rating_kn, "The dynamic load rating C", "kN");
  if (in.rating_kn < in.load_kn) {
    throw Error(Fault::InvalidArgument,
                "The dynamic load rating C (" + NumberToText(in.rating_kn) +
                    " kN) must not be below the load P (" + NumberToText(in.load_kn) + " kN).",
                "dynamic load rating");
  }
  CheckPositive(in.speed_rpm, "The speed", "r/min");
  const std::optional<double> a1 = ReliabilityFactor(in.reliability_percent);
  if (!a1) {
    throw Error(Fault::InvalidArgument,
                "The reliability must be one of 90, 95, 96, 97, 98 and 99 %; it is " +
                    NumberToText(in.reliability_percent) + ".",
                "reliability");
  }
  BasicLife life;
  life.life_exponent = LifeExponent(in.type);
  life.basic_rating_life_mrev = std::pow(in.rating_kn / in.load_kn, life.life_exponent);
  life.basic_rating_life_hours = 1e6 / (60 * in.speed_rpm) * life.basic_rating_life_mrev;
  if (!std::isfinite(life.basic_rating_life_hours)) {
    throw Error(Fault::Overflow, "The basic rating life of C = " + ShortestText(in.rating_kn) +
                                     " kN at P = " + ShortestText(in.load_kn) + " kN and " +
                                     ShortestText(in.speed_rpm) + " r/min is out of range.");
  }
  life.reliability_percent = in.reliability_percent;
  life.a1 = *a1;
  if (in.contamination && in.fatigue_load_kn) {
    CheckContamination(*in.contamination);
    CheckPositive(*in.fatigue_load_kn, "The fatigue load limit C_u", "kN");
    life.contamination_factor = *in.contamination;
    life.ec_cu_over_p = *in.contamination * *in.fatigue_load_kn / in.load_kn;
  }
  return life;
}

std::optional<double> LifeModificationFactor(BearingType type, double kappa, double contamination,
                                             double ec_cu_over_p, bool ep) {
  if (std::isnan(kappa)) {
    throw Error(Fault::InvalidOperation, "The viscosity ratio is not a number.");
  }
  CheckContamination(contamination);
  if (!(ec_cu_over_p >= 0)) {
    throw Error(Fault::InvalidArgument,
                "e_C C_u / P must be 0 or more; it is " + NumberToText(ec_cu_over_p) + ".");
  }
  if (kappa < kLifeMinimumKappa) return std::nullopt;
  kappa = std::min(kappa, kHighestKappa);
  double largest = kLargestFactor;
  if (ep && kappa < kEpKappa && contamination >= kEpContamination) {
    kappa = kEpKappa;
    largest = kEpLargestFactor;
  }
  double x = ec_cu_over_p;
  if (type == BearingType::ThrustBall) x /= 3;
  if (type == BearingType::ThrustRoller) x /= 2.5;
  const Band band = BandOf(kappa);
  const double kappa_q = std::pow(kappa, band.q);
  // From kappa 0.1 up, the ball formula's inner bracket is above 0.
  const double term = IsBall(type) ? std::pow(2.5671 - band.c_ball / kappa_q, 0.83) * std::cbrt(x)
                                   : (1.5859 - band.c_roller / kappa_q) * std::pow(x, 0.4);
  const double bracket = 1 - term;
  if (!(bracket > 0)) return largest;
  const double factor = 0.1 * std::pow(bracket, IsBall(type) ? -9.3 : -9.185);
  return std::min(factor, largest);
}

ModifiedLife ModifiedLifeAt(const LifeInputs& inputs, const BasicLife& basic, double kappa) {
  if (!basic.contamination_factor || !basic.ec_cu_over_p) {
    throw Error(Fault::InvalidArgument,
                "a_ISO needs the contamination factor e_C and the fatigue load limit C_u.");
  }
  ModifiedLife life;
  life.a_iso = LifeModificationFactor(inputs.type, kappa, *basic.contamination_factor,
                                      *basic.ec_cu_over_p, inputs.ep);
  if (!life.a_iso) {
    life.note = kBelowLifeMethod;
    return life;
  }
  life.modified_rating_life_hours = basic.a1 * *life.a_iso * basic.basic_rating_life_hours;
  if (!std::isfinite(*life.modified_rating_life_hours)) {
    throw Error(Fault::Overflow, "The modified rating life is out of range.");
  }
  return life;
}

GradeLives GradeLivesOf(const GradeSelection& selection, const LifeInputs& inputs,
                        std::optional<double> target_hours) {
  const BasicLife basic = BasicLifeOf(inputs);
  GradeLives lives;
  for (const GradeKappa& grade : selection.grades) {
    std::optional<double> hours;
    if (grade.kappa) hours = ModifiedLifeAt(inputs, basic, *grade.kappa).modified_rating_life_hours;
    if (target_hours && hours && !lives.smallest_iso_vg && *hours >= *target_hours) {
      lives.smallest_iso_vg = grade.iso_vg;
    }
    lives.modified_rating_life_hours.push_back(hours);
  }
  return lives;
}

}  // namespace project1
