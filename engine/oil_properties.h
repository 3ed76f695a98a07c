#pragma once
// Properties of a lubricating oil that engineers ask for beside its viscosity line: viscosity
// index, ISO viscosity grade, dynamic viscosity in several units, Saybolt seconds, blending of
// two oils, and temperatures read in degrees C, F or K. Every failure is Error with a message
// that names the quantity and its value.

#include <optional>
#include <span>
#include <string_view>

#include "engine/temperature_unit.h"
#include "engine/viscosity_line.h"
#include "error/error.h"

namespace project1 {

// Viscosity index per ASTM D2270 from the kinematic viscosities at 40 C and 100 C.
struct ViscosityIndex {
  double unrounded = 0;
  long rounded = 0;  // nearest whole number, an exact half to the even one
};
// nullopt below 2 cSt at 100 C, where the index is not defined. Error(InvalidArgument) when
// nu100 is not below nu40: such an oil has no viscosity line these properties hold for.
std::optional<ViscosityIndex> ViscosityIndexOf(double nu40, double nu100);
// The rounded index alone, the same as ViscosityIndexOf's, refused alike; cheaper for an oil
// whose index lies far from a halfway point of the whole numbers (nearly every one).
std::optional<long> RoundedViscosityIndexOf(double nu40, double nu100);
inline constexpr std::string_view kIndexUndefined = "not defined below 2 cSt at 100 °C";

// Refuses two measured points unless the hotter one has the lower viscosity:
// "The viscosity at 100 °C (20) must be below the one at 40 °C (10)." Points at one temperature
// are left to the line's fit to refuse. `subject` names the input the error is about (the
// hotter point's, for a front end with a box for each).
void CheckThinnerWhenHotter(const ViscosityPoint& first, const ViscosityPoint& second,
                            std::string_view subject = {});

// The viscosity at 100 C that gives an oil of nu40 at 40 C the (unrounded) viscosity index
// `index`, found by bisection to 1e-9 relative. nullopt when no nu100 from 2 cSt (where the
// index starts) up to nu40 gives it.
std::optional<double> Nu100ForIndex(double nu40, double index);
// The same, refusing with Error(TypeMismatch) where there is none: "No viscosity at 100 °C from
// 2 cSt up gives an oil of 5 cSt at 40 °C a viscosity index of 300."
double RequireNu100ForIndex(double nu40, double index);

// ISO 3448 viscosity grades: mid-point and the inclusive limits printed by the standard.
struct IsoGradeLimits {
  int grade = 0;
  double minimum = 0;
  double maximum = 0;
};
std::span<const IsoGradeLimits> IsoGrades();  // VG 2 ... VG 3200, in order
// The grade whose limits hold nu40, or nullopt between grades.
std::optional<int> IsoGrade(double nu40);

// Dynamic viscosity.
inline constexpr double kMpaSPerReyn = 6894757.293168;
// reyn (lbf*s/in^2) of nu cSt at specific gravity sg, computed as the window computes it.
double DynamicReyn(double nu_cst, double sg);
double ReynToMpaS(double reyn);  // = cP
double ReynToPaS(double reyn);

// The density of water at 15 °C, kg/m³, which a density at 15 °C is divided by to give the specific
// gravity: SG = rho15 / 999.10.
inline constexpr double kWaterDensity15KgM3 = 999.10;
constexpr double GravityFromDensity(double rho15_kg_m3) {
  return rho15_kg_m3 / kWaterDensity15KgM3;
}

// Specific gravity at t of an oil whose gravity sg15 is taken at 15 C and whose thermal
// expansion coefficient is alpha per C: sg15 * exp(-alpha dt (1 + 0.8 alpha dt)), dt = t - 15.
double GravityAt(double sg15, double alpha_per_c, double t_c);

// The formulas above in one line each, with their constants, for a person.
std::string BlendFormula();      // Refutas, by mass fraction
std::string DynamicFormula();    // ν · SG · ρ_water, with the water density used
std::string ExpansionFormula();  // GravityAt

// Saybolt universal seconds (ASTM D2161) of nu cSt at t degrees F.
double SayboltSeconds(double nu_cst, double t_f);

// Blending two oils by mass with the Refutas viscosity blending number
// VBN = 14.534 ln ln(nu + 0.8) + 10.975.
double BlendingNumber(double nu_cst);
double KinematicFromBlendingNumber(double vbn);
// A mass fraction of the second oil: Error(InvalidArgument) outside 0 to 1 or not a number.
double CheckedBlendFraction(double fraction_second);
// nu of the blend holding the mass fraction `fraction_second` (CheckedBlendFraction) of the
// second oil.
double BlendKinematic(double nu_first, double nu_second, double fraction_second);
// The mass fraction of the second oil that gives the blend target_cst; Error naming the
// reachable range when the target lies outside the two oils' viscosities. A target within 1e-9
// relative of one oil's viscosity is that oil: fraction 0 or 1.
double BlendFractionFor(double nu_first, double nu_second, double target_cst);

// Temperatures: a number in degrees C, or with the suffix C, F or K ("40C", "160F", "344.15K",
// K = C + 273.15; "c", "f" and "k" too, blanks allowed before the suffix), read with the window's
// number rules
// and messages. `what` names the quantity and is the error's subject; an empty `what` leaves the
// messages naming only the text. Error(InvalidArgument) at or below absolute zero.
double TextToTemperature(std::string_view text, std::string_view what);

// A temperature step or difference in degrees C, read as TextToTemperature reads a temperature:
// "10F" is a step of 10 °F (5.555… °C), "10K" and "10C" of 10 °C. Not checked for its sign.
double TextToTemperatureStep(std::string_view text, std::string_view what);
// A temperature given as a number in `unit`, in degrees C, refused as TextToTemperature refuses
// its text, the number shown with its unit's letter ('The temperature "-500F" is at or below
// absolute zero.').
double TemperatureToCelsius(double value, TemperatureUnit unit,
                            std::string_view what = "temperature");

}  // namespace project1
