#pragma once
// How long will the bearing last on this oil? The basic rating life L10 of a rolling bearing
// from its dynamic load rating C and equivalent load P, the factor a1 for a reliability above
// 90 %, the contamination factor e_C of a cleanliness level, and the life modification factor
// a_ISO from the viscosity ratio kappa, e_C and the fatigue load limit C_u: the modified rating
// life L_nm = a1 a_ISO L10, and both lives in hours at the bearing's speed. Loads are in kN,
// lives in millions of revolutions or hours. Every failure is Error naming the quantity and its
// value.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bearing/bearing.h"

namespace project1 {

enum class BearingType { Ball, Roller, ThrustBall, ThrustRoller };
inline constexpr BearingType kBearingTypes[] = {BearingType::Ball, BearingType::Roller,
                                                BearingType::ThrustBall, BearingType::ThrustRoller};
// The types' names in their order: "ball", "roller", "thrust-ball", "thrust-roller".
std::span<const std::string_view> BearingTypeNames();
std::string_view BearingTypeName(BearingType type);
std::optional<BearingType> BearingTypeNamed(std::string_view name);

// The exponent p of the life equation: 3 for ball bearings, 10/3 for roller bearings.
double LifeExponent(BearingType type);

// The cleanliness levels of the guide table, cleanest first.
enum class Cleanliness { Extreme, High, Normal, Slight, Typical, Severe, VerySevere };
inline constexpr Cleanliness kCleanlinessLevels[] = {
    Cleanliness::Extreme, Cleanliness::High,   Cleanliness::Normal,    Cleanliness::Slight,
    Cleanliness::Typical, Cleanliness::Severe, Cleanliness::VerySevere};
// The levels' names in their order: "extreme", ..., "very-severe".
std::span<const std::string_view> CleanlinessNames();
std::string_view CleanlinessName(Cleanliness level);
std::optional<Cleanliness> CleanlinessNamed(std::string_view name);

// e_C of a level for a bearing of mean diameter dm: the lower end of the table's range, the
// cautious reading (the range changes at 100 mm).
double ContaminationFactor(Cleanliness level, double mean_diameter_mm);

// The reliabilities a1 is given for, in percent, and a1 of each; nullopt for any other.
inline constexpr double kReliabilities[] = {90, 95, 96, 97, 98, 99};
std::optional<double> ReliabilityFactor(double reliability_percent);

// What the life needs beyond the oil: the bearing, its loads and speed, the reliability and,
// for a_ISO, the contamination factor and the fatigue load limit.
struct LifeInputs {
  BearingType type = BearingType::Ball;
  double rating_kn = 0;  // C
  double load_kn = 0;    // P
  double speed_rpm = 0;
  double reliability_percent = 90;
  std::optional<double> contamination;    // e_C, 0 to 1
  std::optional<double> fatigue_load_kn;  // C_u
  bool ep = false;                        // the oil has EP additives that are known to work
};

// Which of a life's inputs a front end was given, each with its name as it reads within a
// sentence ("--rating", "the dynamic load rating C").
enum class LifeInput { Rating, Load, FatigueLoad, Contamination };
struct LifeInputsGiven {
  struct Given {
    std::string_view name;
    bool given = false;
  };
  Given rating, load, fatigue_load, contamination;
};
// The input that one given needs and is missing, and the sentence that says so, begun with a
// capital: "The load P is given without the dynamic load rating C."
struct MissingLifeInput {
  LifeInput missing = LifeInput::Rating;
  std::string message;
};
// The rating and the load go together, and the rest needs them: nullopt when neither is given
// and nothing else is, or both are.
std::optional<MissingLifeInput> MissingForLoads(const LifeInputsGiven& given);
// a_ISO's two, the fatigue load limit and the contamination, go together: nullopt when neither
// or both are given.
std::optional<MissingLifeInput> MissingForModifiedLife(const LifeInputsGiven& given);

// The lives that do not depend on the oil.
struct BasicLife {
  double life_exponent = 0;
  double basic_rating_life_mrev = 0;   // L10
  double basic_rating_life_hours = 0;  // L10h
  double reliability_percent = 0;
  double a1 = 0;
  std::optional<double> contamination_factor;  // e_C, with C_u
  std::optional<double> ec_cu_over_p;          // e_C C_u / P, before a thrust bearing's divisor
};

// Refuses a load or rating that is not a number above 0, a rating below the load, a speed that
// is not above 0, a reliability without an a1, e_C outside 0 to 1 and a C_u that is not above 0
// (Error(InvalidArgument), or InvalidOperation for a value that is not a number).
BasicLife BasicLifeOf(const LifeInputs& inputs);

// Below this kappa the life method does not apply.
inline constexpr double kLifeMinimumKappa = 0.1;
inline constexpr std::string_view kBelowLifeMethod =
    "κ is below 0.1, outside the life method: no a_ISO and no modified life";

// a_ISO of a bearing of `type` at viscosity ratio kappa and x = e_C C_u / P (before the thrust
// divisor): kappa above 4 is taken as 4; with `ep`, kappa below 1 is taken as 1 when e_C is at
// least 0.2 and a_ISO is then at most 3; a_ISO is at most 50, and 50 where the formula's bracket
// is 0 or less. nullopt for kappa below 0.1.
std::optional<double> LifeModificationFactor(BearingType type, double kappa, double contamination,
                                             double ec_cu_over_p, bool ep);

// The modified life at one viscosity ratio; a_iso and hours are absent with `note` saying why.
struct ModifiedLife {
  std::optional<double> a_iso;
  std::optional<double> modified_rating_life_hours;  // L_nmh
  std::string_view note;
};
// Needs the inputs' e_C and C_u (Error(InvalidArgument) without them).
ModifiedLife ModifiedLifeAt(const LifeInputs& inputs, const BasicLife& basic, double kappa);

// Each grade's L_nmh at its kappa (absent without a kappa of 0.1 or more), and the smallest grade
// whose L_nmh reaches `target_hours`; none when no grade's does or no target is given.
struct GradeLives {
  std::vector<std::optional<double>> modified_rating_life_hours;  // one a grade, in order
  std::optional<int> smallest_iso_vg;
};
// Needs the inputs' e_C and C_u.
GradeLives GradeLivesOf(const GradeSelection& selection, const LifeInputs& inputs,
                        std::optional<double> target_hours);

}  // namespace project1
