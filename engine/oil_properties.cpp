#include "engine/oil_properties.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>

#include "engine/model.h"
#include "numtext/numtext.h"

namespace project1 {

namespace {

// ---- Viscosity index --------------------------------------------------------------------------

// One row of ASTM D2270 Table 1: at nu100 cSt at 100 C, the 40 C viscosities L (index 0) and
// H (index 100).
struct BasicValues {
  double nu100;
  double low;
  double high;
};

// Generated at build time from data/d2270-basic-values.csv, the one place of the table.
constexpr BasicValues kBasicValues[] = {
#include "engine/d2270_basic_values.inc"
};

constexpr double kTableFirst = 2;
constexpr double kTableLast = 70;
static_assert(kBasicValues[0].nu100 == kTableFirst);
static_assert(kBasicValues[std::size(kBasicValues) - 1].nu100 == kTableLast);

// L and H at nu100 from the table, linear between its rows.
BasicValues Interpolated(double nu100) {
  const auto* const begin = std::begin(kBasicValues);
  const auto* const end = std::end(kBasicValues);
  const auto* upper = std::upper_bound(
      begin, end, nu100, [](double value, const BasicValues& row) { return value < row.nu100; });
  const BasicValues& below = *(upper - 1);
  if (below.nu100 == nu100 || upper == end) return below;
  const BasicValues& above = *upper;
  const double share = (nu100 - below.nu100) / (above.nu100 - below.nu100);
  return {nu100, below.low + share * (above.low - below.low),
          below.high + share * (above.high - below.high)};
}

// L and H above the table.
BasicValues FromFormulas(double nu100) {
  const double y = nu100;
  return {y, 0.8353 * y * y + 14.67 * y - 216, 0.1684 * y * y + 11.85 * y - 97};
}

// The nearest whole number; an exact half goes to the even one.
double RoundHalfToEven(double value) {
  const double below = std::floor(value);
  const double rest = value - below;
  if (rest < 0.5) return below;
  if (rest > 0.5) return below + 1;
  return std::fmod(below, 2) == 0 ? below : below + 1;
}

// Refuses a viscosity nu that is not a finite number above `above` cSt; `subject` names it. The
// message is put together only for a refusal.
[[noreturn]] void RefuseViscosity(double nu, std::string_view subject, double above) {
  const std::string name(subject);
  if (std::isnan(nu)) throw Error(Fault::InvalidOperation, name + " is not a number.");
  if (std::isinf(nu) && nu > 0) {
    throw Error(Fault::Overflow, name + " is too large; it is " + MessageNumber(nu) + ".");
  }
  throw Error(Fault::InvalidArgument, name + " must be above " + MessageNumber(above) +
                                          " cSt; it is " + MessageNumber(nu) + ".");
}

void CheckViscosity(double nu, std::string_view subject, double above) {
  if (nu > above && !std::isinf(nu)) [[likely]]
    return;
  RefuseViscosity(nu, subject, above);
}

// ---- ISO viscosity grades ---------------------------------------------------------------------

// ISO 3448: each grade is its mid-point +-10 %, with the limits as the standard prints them.
constexpr std::array<IsoGradeLimits, 20> kIsoGrades{{
    {2, 1.98, 2.42},  {3, 2.88, 3.52},   {5, 4.14, 5.06},    {7, 6.12, 7.48},    {10, 9.0, 11.0},
    {15, 13.5, 16.5}, {22, 19.8, 24.2},  {32, 28.8, 35.2},   {46, 41.4, 50.6},   {68, 61.2, 74.8},
    {100, 90, 110},   {150, 135, 165},   {220, 198, 242},    {320, 288, 352},    {460, 414, 506},
    {680, 612, 748},  {1000, 900, 1100}, {1500, 1350, 1650}, {2200, 1980, 2420}, {3200, 2880, 3520},
}};

// ---- Blending ---------------------------------------------------------------------------------

// The thermal expansion's second-order factor (GravityAt).
constexpr double kExpansionSquare = 0.8;

constexpr double kBlendOffset = 0.8;
constexpr double kBlendScale = 14.534;
constexpr double kBlendShift = 10.975;
constexpr double kBlendMinimum = 0.2;  // ln ln(nu + 0.8) needs nu above it

double CheckedBlendingNumber(double nu, std::string_view subject) {
  CheckViscosity(nu, subject, kBlendMinimum);
  return BlendingNumber(nu);
}

// ---- Temperatures -----------------------------------------------------------------------------

// How the logarithms of the index are taken: in double with the system's log10 and pow, which is
// fast and may differ between C libraries in the unrounded index's last digits, the wider long
// double taken near a halfway point of its shown roundings (Shown); or always in long double,
// rounded once to double, which reads the same with every C library (Wide).
enum class Logs { Shown, Wide };

// The terms of the index of an oil thinner than H: n = (log10 H - log10 U) / log10 Y and
// index = (10^n - 1) / 0.00715 + 100, with log10 and 10^x taken in `Real`, each result rounded
// once to double.
struct IndexTerms {
  double log_high, log_u, log_nu100, n, index;
};

template <typename Real>
IndexTerms IndexFromLogs(double high, double u, double nu100) {
  const auto log10 = [](double x) { return static_cast<double>(std::log10(static_cast<Real>(x))); };
  IndexTerms t{log10(high), log10(u), log10(nu100), 0, 0};
  t.n = (t.log_high - t.log_u) / t.log_nu100;
  const auto pow10 = static_cast<double>(std::pow(static_cast<Real>(10), static_cast<Real>(t.n)));
  t.index = (pow10 - 1) / 0.00715 + 100;
  return t;
}

// The index is shown rounded to a whole number and to three decimals; the halfway points of
// both are among the multiples of 0.0005.
constexpr double kShownHalfStep = 0.0005;

// Whether the index in `t`, taken in double, is so near a halfway point of its shown roundings
// that another C library (each is off by up to a few units in the last place, for different
// arguments) could round it the other way. The bound is sixteen times the error of four units
// in the last place in each logarithm and in 10^n, carried through the formula.
bool NearShownHalfway(const IndexTerms& t) {
  const double c = std::fabs(t.log_nu100);
  constexpr double kUnits = 64 * std::numeric_limits<double>::epsilon();
  const double bound = kUnits * (std::fabs(t.index) + 1 / 0.00715) *
                       (1 + (std::fabs(t.log_high) + std::fabs(t.log_u) + std::fabs(t.n) * c) / c);
  const double steps = t.index / kShownHalfStep;
  const double from_halfway = std::fabs(steps - std::nearbyint(steps)) * kShownHalfStep;
  return !(from_halfway > bound);
}

double IndexFromLogs(double high, double u, double nu100, Logs logs) {
  if (logs == Logs::Shown) {
    const IndexTerms fast = IndexFromLogs<double>(high, u, nu100);
    if (std::isfinite(fast.index) && !NearShownHalfway(fast)) return fast.index;
  }
  return IndexFromLogs<long double>(high, u, nu100).index;
}

std::optional<ViscosityIndex> IndexOf(double nu40, double nu100, Logs logs) {
  CheckViscosity(nu40, "The viscosity at 40 °C", 0);
  if (std::isnan(nu100)) {
    throw Error(Fault::InvalidOperation, "The viscosity at 100 °C is not a number.");
  }
  if (std::isinf(nu100) && nu100 > 0) {
    throw Error(Fault::Overflow,
                "The viscosity at 100 °C is too large; it is " + MessageNumber(nu100) + ".");
  }
  CheckThinnerWhenHotter({40, nu40}, {100, nu100});
  if (nu100 < kTableFirst) return std::nullopt;

  const BasicValues basic = nu100 <= kTableLast ? Interpolated(nu100) : FromFormulas(nu100);
  const double u = nu40;
  double index = 0;
  if (u >= basic.high) {
    index = (basic.low - u) / (basic.low - basic.high) * 100;
  } else {
    index = IndexFromLogs(basic.high, u, nu100, logs);
  }
  if (!std::isfinite(index) || std::fabs(index) > 1e15) {
    throw Error(Fault::Overflow, "The viscosity index of " + MessageNumber(nu40) +
                                     " cSt at 40 °C and " + MessageNumber(nu100) +
                                     " cSt at 100 °C is too large to compute.");
  }
  return ViscosityIndex{index, static_cast<long>(RoundHalfToEven(index))};
}

// The index of an oil thinner than H by natural logarithms, two where the shown index takes
// three: n = ln(H / U) / ln Y and 10^n = e^(n ln 10); the same number but for rounding errors.
// Nullopt where it lies so near a halfway point of the whole numbers that the index taken as
// IndexOf takes it could round the other way: the bound is sixty-four times the error of a few
// units in the last place in each step of either computation, carried through the formula, with
// |ln H| and |ln U| bounded from the numbers' binary exponents.
std::optional<long> RoundedFromNaturalLogs(double high, double u, double nu100) {
  constexpr double kLn10 = 2.302585092994045684;
  const double c = std::log(nu100);
  const double log_ratio = std::log(high / u);
  const double n = log_ratio / c;
  const double index = (std::exp(n * kLn10) - 1) / 0.00715 + 100;
  if (!(std::fabs(index) < 1e14)) return std::nullopt;
  constexpr double kUnits = 64 * std::numeric_limits<double>::epsilon();
  const double logs =
      (std::abs(std::ilogb(high)) + std::abs(std::ilogb(u)) + 2) * 0.6931471805599453;
  const double bound =
      kUnits * (std::fabs(index) + 1 / 0.00715) *
      (4 + 3 * (logs + std::fabs(log_ratio) + std::fabs(n) * c) / c + 3 * std::fabs(n) * kLn10);
  const double from_halfway = std::fabs(index - std::floor(index) - 0.5);
  if (!(from_halfway > bound)) return std::nullopt;
  return static_cast<long>(std::nearbyint(index));
}

}  // namespace

std::optional<ViscosityIndex> ViscosityIndexOf(double nu40, double nu100) {
  return IndexOf(nu40, nu100, Logs::Shown);
}

std::optional<long> RoundedViscosityIndexOf(double nu40, double nu100) {
  // An oil every check passes, thinner than H: the cheaper logarithms, where they decide.
  if (std::isfinite(nu40) && nu40 > 0 && nu100 >= kTableFirst && nu100 < nu40) {
    const BasicValues basic = nu100 <= kTableLast ? Interpolated(nu100) : FromFormulas(nu100);
    if (nu40 < basic.high) {
      if (const std::optional<long> rounded = RoundedFromNaturalLogs(basic.high, nu40, nu100)) {
        return rounded;
      }
    }
  }
  const std::optional<ViscosityIndex> index = IndexOf(nu40, nu100, Logs::Shown);
  if (!index) return std::nullopt;
  return index->rounded;
}

void CheckThinnerWhenHotter(const ViscosityPoint& first, const ViscosityPoint& second,
                            std::string_view subject) {
  if (first.temperature_c == second.temperature_c) return;
  const bool first_hotter = first.temperature_c > second.temperature_c;
  const ViscosityPoint& hotter = first_hotter ? first : second;
  const ViscosityPoint& colder = first_hotter ? second : first;
  if (hotter.kinematic_cst < colder.kinematic_cst) return;
  throw Error(Fault::InvalidArgument,
              "The viscosity at " + DegreesText(MessageNumber(hotter.temperature_c)) + " (" +
                  MessageNumber(hotter.kinematic_cst) + ") must be below the one at " +
                  DegreesText(MessageNumber(colder.temperature_c)) + " (" +
                  MessageNumber(colder.kinematic_cst) + ").",
              subject);
}

std::optional<double> Nu100ForIndex(double nu40, double index) {
  CheckViscosity(nu40, "The viscosity at 40 °C", 0);
  if (std::isnan(index)) {
    throw Error(Fault::InvalidOperation, "The viscosity index is not a number.");
  }
  if (!(nu40 > kTableFirst)) return std::nullopt;
  // The index rises with nu100 for a given nu40: from its value at 2 cSt to its value just
  // below nu40. Its logarithms are taken wide, so that every comparison, and with them the nu100
  // found, is the same with every C library.
  const auto index_at = [nu40](double nu100) {
    return IndexOf(nu40, nu100, Logs::Wide)->unrounded;
  };
  double low = kTableFirst;
  double high = std::nextafter(nu40, 0.0);
  if (index < index_at(low) || index > index_at(high)) return std::nullopt;
  constexpr double kRelative = 1e-9;
  for (int step = 0; step < 200 && high - low > kRelative * high; ++step) {
    const double middle = low + (high - low) / 2;
    if (index_at(middle) < index) {
      low = middle;
    } else {
      high = middle;
    }
  }
  return low + (high - low) / 2;
}

double RequireNu100ForIndex(double nu40, double index) {
  const std::optional<double> nu100 = Nu100ForIndex(nu40, index);
  if (nu100) return *nu100;
  throw Error(Fault::TypeMismatch, "No viscosity at 100 °C from 2 cSt up gives an oil of " +
                                       MessageNumber(nu40) + " cSt at 40 °C a viscosity index of " +
                                       MessageNumber(index) + ".");
}

std::span<const IsoGradeLimits> IsoGrades() { return kIsoGrades; }

std::optional<int> IsoGrade(double nu40) {
  if (std::isnan(nu40)) {
    throw Error(Fault::InvalidOperation, "The viscosity at 40 °C is not a number.");
  }
  // The grades follow one another without overlapping: the first whose maximum is not below
  // nu40 is the only one that can hold it.
  const auto* const found =
      std::lower_bound(kIsoGrades.begin(), kIsoGrades.end(), nu40,
                       [](const IsoGradeLimits& limits, double nu) { return limits.maximum < nu; });
  if (found != kIsoGrades.end() && nu40 >= found->minimum) return found->grade;
  return std::nullopt;
}

double DynamicReyn(double nu_cst, double sg) {
  if (std::isnan(sg)) throw Error(Fault::InvalidOperation, "The specific gravity is not a number.");
  if (!(sg > 0)) {
    throw Error(Fault::InvalidArgument,
                "The specific gravity must be above 0; it is " + MessageNumber(sg) + ".");
  }
  // The window's own conversion, on a record of this oil alone.
  CalcState s;
  s.gravity = sg;
  DensityFromGravity(s);
  return DynamicViscosity(s, nu_cst);
}

double ReynToMpaS(double reyn) { return reyn * kMpaSPerReyn; }
double ReynToPaS(double reyn) { return ReynToMpaS(reyn) / 1000; }

double GravityAt(double sg15, double alpha_per_c, double t_c) {
  if (std::isnan(sg15)) {
    throw Error(Fault::InvalidOperation, "The specific gravity is not a number.");
  }
  if (!(sg15 > 0) || std::isinf(sg15)) {
    throw Error(Fault::InvalidArgument, "The specific gravity must be a number above 0; it is " +
                                            MessageNumber(sg15) + ".");
  }
  if (std::isnan(alpha_per_c)) {
    throw Error(Fault::InvalidOperation, "The thermal expansion coefficient is not a number.");
  }
  if (!(alpha_per_c >= 0) || std::isinf(alpha_per_c)) {
    throw Error(Fault::InvalidArgument,
                "The thermal expansion coefficient must be a number of 0 or above; it is " +
                    MessageNumber(alpha_per_c) + ".");
  }
  if (std::isnan(t_c)) throw Error(Fault::InvalidOperation, "The temperature is not a number.");
  const double dt = t_c - 15;
  const double gravity =
      sg15 * std::exp(-alpha_per_c * dt * (1 + kExpansionSquare * alpha_per_c * dt));
  if (!std::isfinite(gravity)) {
    throw Error(Fault::Overflow, "The specific gravity at " + DegreesText(MessageNumber(t_c)) +
                                     " is too large to compute.");
  }
  return gravity;
}

double SayboltSeconds(double nu_cst, double t_f) {
  CheckViscosity(nu_cst, "The viscosity", 0);
  if (std::isnan(t_f)) throw Error(Fault::InvalidOperation, "The temperature is not a number.");
  const double nu = nu_cst;
  const double at100f =
      4.6324 * nu +
      (1 + 0.03264 * nu) / ((3930.2 + 262.7 * nu + 23.97 * nu * nu + 1.646 * nu * nu * nu) * 1e-5);
  const double seconds = at100f * (1 + 0.000061 * (t_f - 100));
  if (!std::isfinite(seconds)) {
    throw Error(Fault::Overflow, "The Saybolt seconds of " + MessageNumber(nu_cst) +
                                     " cSt are too large to compute.");
  }
  return seconds;
}

std::string BlendFormula() {
  return "Refutas, by mass fraction x of the second oil: VBN = " + MessageNumber(kBlendScale) +
         " ln ln (ν + " + MessageNumber(kBlendOffset) + ") + " + MessageNumber(kBlendShift) +
         ", VBN of the blend = (1 − x) VBN1 + x VBN2";
}

std::string DynamicFormula() {
  constexpr double kKgM3PerLbFt3 = 0.45359237 / (0.3048 * 0.3048 * 0.3048);
  return "dynamic viscosity = ν · SG · ρ_water, ρ_water = " + MessageNumber(kWaterWeightDensity) +
         " lb/ft³ (" + FormatNumber(kWaterWeightDensity * kKgM3PerLbFt3, kWaterDensityPattern) +
         " kg/m³)";
}

std::string ExpansionFormula() {
  return "SG at t = SG15 · exp(−α Δt (1 + " + MessageNumber(kExpansionSquare) +
         " α Δt)), Δt = t − 15 °C";
}

double BlendingNumber(double nu_cst) {
  return kBlendScale * std::log(std::log(nu_cst + kBlendOffset)) + kBlendShift;
}

double KinematicFromBlendingNumber(double vbn) {
  const double nu = std::exp(std::exp((vbn - kBlendShift) / kBlendScale)) - kBlendOffset;
  if (std::isnan(nu)) {
    throw Error(Fault::InvalidOperation, "The blending number is not a number.");
  }
  if (std::isinf(nu)) {
    throw Error(Fault::Overflow, "The viscosity of the blending number " + MessageNumber(vbn) +
                                     " is too large to compute.");
  }
  return nu;
}

double CheckedBlendFraction(double fraction_second) {
  if (std::isnan(fraction_second) || fraction_second < 0 || fraction_second > 1) {
    throw Error(Fault::InvalidArgument,
                "The fraction of the second oil must be from 0 to 1; it is " +
                    MessageNumber(fraction_second) + ".");
  }
  return fraction_second;
}

double BlendKinematic(double nu_first, double nu_second, double fraction_second) {
  const double first = CheckedBlendingNumber(nu_first, "The viscosity of the first oil");
  const double second = CheckedBlendingNumber(nu_second, "The viscosity of the second oil");
  CheckedBlendFraction(fraction_second);
  // The end points are the oils themselves, exactly.
  if (fraction_second == 0) return nu_first;
  if (fraction_second == 1) return nu_second;
  return KinematicFromBlendingNumber((1 - fraction_second) * first + fraction_second * second);
}

double BlendFractionFor(double nu_first, double nu_second, double target_cst) {
  const double first = CheckedBlendingNumber(nu_first, "The viscosity of the first oil");
  const double second = CheckedBlendingNumber(nu_second, "The viscosity of the second oil");
  if (std::isnan(target_cst)) {
    throw Error(Fault::InvalidOperation, "The target viscosity is not a number.");
  }
  // A target a rounding error away from one oil is that oil alone.
  constexpr double kSameViscosity = 1e-9;
  const auto near = [&](double nu) { return std::fabs(target_cst - nu) <= kSameViscosity * nu; };
  if (near(nu_first)) return 0;
  if (near(nu_second)) return 1;
  const double lowest = std::min(nu_first, nu_second);
  const double highest = std::max(nu_first, nu_second);
  if (target_cst < lowest || target_cst > highest) {
    throw Error(Fault::InvalidArgument,
                "The target viscosity " + MessageNumber(target_cst) +
                    " cSt is outside what the two oils reach at that temperature: " +
                    ShownNumber(lowest, kKinematicPattern) + " to " +
                    ShownNumber(highest, kKinematicPattern) + " cSt.");
  }
  if (first == second) return 0;  // the two oils are alike: the first alone reaches the target
  const double fraction = (BlendingNumber(target_cst) - first) / (second - first);
  return std::clamp(fraction, 0.0, 1.0);
}

namespace {

// A temperature of `value` in `unit` in degrees C, refused at or below absolute zero; `text` is
// the temperature as the message shows it.
double CelsiusOf(double value, TemperatureUnit unit, std::string_view text, std::string_view what) {
  if (value <= AbsoluteZero(unit)) {
    const std::string named = what.empty() ? "" : "The " + std::string(what) + " ";
    throw Error(Fault::InvalidArgument,
                named + "\"" + std::string(text) + "\" is at or below absolute zero.", what);
  }
  return ToCelsius(value, unit);
}

// The number of a temperature text and the scale its suffix names (C, F or K; none is degrees
// C), read with the window's number rules.
struct ScaledNumber {
  double value = 0;
  TemperatureUnit unit = TemperatureUnit::Celsius;
};

ScaledNumber ReadScaled(std::string_view text, std::string_view what) {
  std::string_view body = text;
  while (!body.empty() && (body.back() == ' ' || body.back() == '\t')) body.remove_suffix(1);
  ScaledNumber read;
  const std::optional<TemperatureUnit> suffix =
      body.empty() ? std::nullopt : UnitNamed(body.substr(body.size() - 1));
  const bool lettered = suffix.has_value();
  if (lettered) {
    read.unit = *suffix;
    body.remove_suffix(1);
  }
  auto number = [what](std::string_view digits) {
    return what.empty() ? TextToNumber(digits) : TextToNumber(digits, what);
  };
  try {
    read.value = number(body);
  } catch (const Error& error) {
    // A text with a scale letter is named whole in the message, as typed.
    if (lettered && error.fault() != Fault::Overflow) number(text);
    throw;
  }
  return read;
}

}  // namespace

double TextToTemperature(std::string_view text, std::string_view what) {
  const ScaledNumber read = ReadScaled(text, what);
  return CelsiusOf(read.value, read.unit, text, what);
}

double TextToTemperatureStep(std::string_view text, std::string_view what) {
  const ScaledNumber read = ReadScaled(text, what);
  return StepToCelsius(read.value, read.unit);
}

double TemperatureToCelsius(double value, TemperatureUnit unit, std::string_view what) {
  // The text for the message is made only for a refusal.
  if (!(value <= AbsoluteZero(unit))) return CelsiusOf(value, unit, {}, what);
  std::string shown = NumberToText(value);
  if (unit != TemperatureUnit::Celsius) shown += UnitLetter(unit);
  return CelsiusOf(value, unit, shown, what);
}

}  // namespace project1
