#include "engine/viscosity_line.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "engine/model.h"
#include "error_expectations.h"

namespace project1 {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ViscosityLine, TheCalculationsFitIsTheLineThroughItsTwoPoints) {
  for (const Lubricant& oil : LubricantCatalogue) {
    SCOPED_TRACE(std::string(oil.name));
    CalcState window;
    window.visc40 = oil.nu40;
    window.visc100 = oil.nu100;
    FitViscosityLine(window);
    EXPECT_EQ(window.line.law, Law::Walther);

    // Through the two usual points given as points, the same line.
    const ViscosityLine through = FitLine(Law::Walther, {40, oil.nu40}, {100, oil.nu100});
    EXPECT_EQ(through.a, window.line.a);
    EXPECT_EQ(through.b, window.line.b);
  }
}

// Each reason a line has no value: what EvaluateLine reports, how KinematicAt refuses it, and
// the calculation's own message for the same failure (ViscosityAt, its temperature named).
TEST(ViscosityLine, EvaluationNamesWhyTheLineHasNoValue) {
  const ViscosityLine oil = FitLine40100(Law::Walther, 320, 35);
  const ViscosityLine steep = FitLine40100(Law::Walther, 100000, 1);
  const ViscosityLine broken{Law::Walther, 7, kNaN};
  struct Case {
    const char* name;
    ViscosityLine line;
    double t;
    LineFailure failure;
    Fault kind;
    const char* line_message;
    const char* calculation_message;
  };
  const Case cases[] = {
      {"temperature not a number", oil, kNaN, LineFailure::TemperatureNotANumber,
       Fault::InvalidOperation, "The temperature is not a number.",
       "The first reference temperature is not a number."},
      {"at absolute zero", oil, -273.16, LineFailure::BelowAbsoluteZero, Fault::InvalidArgument,
       "The temperature must be above -273.16 °C; it is -273.16.",
       "The first reference temperature must be above -273.16 °C; it is -273.16."},
      // The calculation writes the typed digits whole; the line, from 10^15 on, in scientific.
      {"far below it", oil, -1e16, LineFailure::BelowAbsoluteZero, Fault::InvalidArgument,
       "The temperature must be above -273.16 °C; it is -1e+16.",
       "The first reference temperature must be above -273.16 °C; it is -10000000000000000."},
      {"too steep", steep, -40, LineFailure::TooLarge, Fault::Overflow,
       "The viscosity at -40 °C is too large to compute: the viscosity-temperature line is too "
       "steep there.",
       "The viscosity at the first reference temperature (-40 °C) is too large to compute: the "
       "viscosity-temperature line is too steep there."},
      {"broken line", broken, 40, LineFailure::NoNumber, Fault::InvalidOperation,
       "The calculation at 40 °C gave no number.",
       "The viscosity at the first reference temperature (40 °C) gave no number."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LineValue value = EvaluateLine(c.line, c.t);
    EXPECT_EQ(value.failure, c.failure);
    ExpectError([&] { KinematicAt(c.line, c.t); }, c.kind, c.line_message);
    CalcState s;
    s.line = c.line;
    ExpectError([&] { ViscosityAt(s, c.t, kTemp1Name); }, c.kind, c.calculation_message);
  }
  // Where it has one, the same bits as KinematicAt.
  for (const double t : {-60.0, 0.1, 71.0, 150.0, 1000.0}) {
    const LineValue value = EvaluateLine(oil, t);
    EXPECT_EQ(value.failure, LineFailure::None);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(value.kinematic_cst),
              std::bit_cast<std::uint64_t>(KinematicAt(oil, t)));
  }
}

TEST(ViscosityLine, D341MeetsThePublishedChecks) {
  struct Case {
    ViscosityPoint first;
    ViscosityPoint second;
    double t;
    double published;  // to three decimals
  };
  const Case cases[] = {
      {{40, 404}, {100, 28}, 60, 132.126},
      // Below 2 cSt: reached only with the low-viscosity terms of Z and of its inverse.
      {{0, 1.644}, {40, 0.925}, 20, 1.201},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.published);
    const ViscosityLine line = FitLine(Law::D341, c.first, c.second);
    EXPECT_EQ(line.law, Law::D341);
    EXPECT_NEAR(KinematicAt(line, c.t), c.published, 0.0005);
  }
}

TEST(ViscosityLine, TheWindowsLineAgreesWithItsReferenceValues) {
  // SHC 632 at the temperatures the window's table prints.
  const ViscosityLine line = FitLine40100(Law::Walther, 320, 35);
  EXPECT_NEAR(line.b, 2.7353244, 1e-7);
  EXPECT_NEAR(line.a, 7.2257051, 1e-7);
  EXPECT_NEAR(KinematicAt(line, -40), 412753.932, 5e-4);
  EXPECT_NEAR(KinematicAt(line, 35), 415.075, 5e-4);
  EXPECT_NEAR(KinematicAt(line, 250), 3.527, 5e-4);
}

TEST(ViscosityLine, TemperatureForInvertsTheLineBothWays) {
  struct Case {
    Law law;
    ViscosityPoint first;
    ViscosityPoint second;
    double tolerance;  // relative, of the viscosity and of the absolute temperature
  };
  const Case cases[] = {
      {Law::Walther, {40, 31}, {100, 5.8}, 1e-9},
      {Law::Walther, {40, 968}, {100, 78.5}, 1e-9},
      {Law::Walther, {-20, 5000}, {150, 4}, 1e-9},
      {Law::Walther, {40, 1.2}, {100, 0.7}, 1e-9},
      // The standard's way back from Z is close to, not exactly, the inverse of its Z: within
      // about 1e-5 near 2 cSt (these lines at 250 C), 1e-4 below 1 cSt.
      {Law::D341, {40, 404}, {100, 28}, 2e-5},
      {Law::D341, {40, 46}, {100, 7.7}, 2e-5},
      {Law::D341, {0, 1.644}, {40, 0.925}, 2e-4},
      {Law::D341, {40, 3200}, {100, 200}, 1e-9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(LawName(c.law)) + " " + std::to_string(c.first.kinematic_cst));
    const ViscosityLine line = FitLine(c.law, c.first, c.second);

    // Temperature -> viscosity -> temperature.
    for (double t : {-30.0, 0.0, 20.0, 40.0, 71.0, 100.0, 150.0, 250.0}) {
      SCOPED_TRACE(t);
      const double back = TemperatureFor(line, KinematicAt(line, t));
      const double absolute = AbsoluteTemperature(c.law, t);
      EXPECT_NEAR(AbsoluteTemperature(c.law, back), absolute, c.tolerance * absolute);
    }
    // Viscosity -> temperature -> viscosity, and the given points themselves.
    for (double nu : {c.first.kinematic_cst, c.second.kinematic_cst,
                      std::sqrt(c.first.kinematic_cst * c.second.kinematic_cst)}) {
      SCOPED_TRACE(nu);
      EXPECT_NEAR(KinematicAt(line, TemperatureFor(line, nu)), nu, c.tolerance * nu);
    }
    EXPECT_NEAR(TemperatureFor(line, c.first.kinematic_cst), c.first.temperature_c,
                c.tolerance * AbsoluteTemperature(c.law, c.first.temperature_c));
    EXPECT_NEAR(TemperatureFor(line, c.second.kinematic_cst), c.second.temperature_c,
                c.tolerance * AbsoluteTemperature(c.law, c.second.temperature_c));
  }
}

TEST(ViscosityLine, ChartCoordinatesAreTheLawsOwn) {
  struct Case {
    Law law;
    double t;
    double nu;
    double absolute;
    double z;
  };
  const Case cases[] = {
      {Law::Walther, 40, 320, 313.16, 320.6},
      {Law::D341, 40, 320, 313.15, 320.7},
      {Law::Walther, 100, 1, 373.16, 1.6},
      // 1 cSt under d341: 1 + 0.7 + exp(-3.82).
      {Law::D341, 100, 1, 373.15, 1.7219278},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(LawName(c.law)) + " " + std::to_string(c.nu));
    EXPECT_NEAR(AbsoluteTemperature(c.law, c.t), c.absolute, 1e-12);
    EXPECT_NEAR(LawZ(c.law, c.nu), c.z, 1e-7);
    EXPECT_NEAR(ChartX(c.law, c.t), std::log10(c.absolute), 1e-12);
    EXPECT_NEAR(TemperatureFromChartX(c.law, ChartX(c.law, c.t)), c.t, 1e-9);
  }
  // On a line, y = a - b x.
  const ViscosityLine line = FitLine(Law::D341, {40, 404}, {100, 28});
  EXPECT_NEAR(ChartY(Law::D341, KinematicAt(line, 60)), line.a - line.b * ChartX(Law::D341, 60),
              1e-12);
}

TEST(ViscosityLine, LawsAreNamed) {
  for (Law law : {Law::Walther, Law::D341}) EXPECT_EQ(LawFromName(LawName(law)), law);
  EXPECT_EQ(LawName(Law::Walther), "walther");
  EXPECT_EQ(LawName(Law::D341), "d341");
  ExpectError([] { LawFromName("Walther"); }, Fault::TypeMismatch,
              "The law \"Walther\" is not known; use walther or d341.");
  ExpectError([] { LawFromName(""); }, Fault::TypeMismatch,
              "The law \"\" is not known; use walther or d341.");
}

TEST(ViscosityLine, TwoPointsGiveTheTwoPointLineBitForBit) {
  const ViscosityPoint pairs[][2] = {
      {{40, 320}, {100, 35}}, {{20, 760}, {100, 18.75}}, {{-20, 5000}, {150, 4.1}},
      {{100, 5.8}, {40, 31}}, {{0, 1.644}, {40, 0.925}},
  };
  for (const Law law : {Law::Walther, Law::D341}) {
    for (const auto& pair : pairs) {
      SCOPED_TRACE(std::string(LawName(law)) + " " + std::to_string(pair[0].temperature_c));
      const ViscosityLine two = FitLine(law, pair[0], pair[1]);
      const ViscosityLine fitted = FitLine(law, std::span<const ViscosityPoint>(pair));
      EXPECT_EQ(std::bit_cast<std::uint64_t>(fitted.a), std::bit_cast<std::uint64_t>(two.a));
      EXPECT_EQ(std::bit_cast<std::uint64_t>(fitted.b), std::bit_cast<std::uint64_t>(two.b));
    }
  }
}

// The batch's two shortcuts give the lines and values of the single commands bit for bit: the
// line through 40 and 100 C with the reference temperatures' logarithms taken once, and a
// temperature made ready once for many lines; and a temperature at or below the law's absolute
// zero is refused by both alike.
TEST(ViscosityLine, TheBatchsShortcutsGiveTheSameLinesAndValuesBitForBit) {
  const double oils[][2] = {{320, 35}, {46, 6.8}, {2.3, 1.1}, {10000, 300}, {1.2, 0.75}};
  const double temperatures[] = {-40, -0.5, 0, 25, 40, 71, 100, 150, 250, 1000};
  const auto bits = [](double value) { return std::bit_cast<std::uint64_t>(value); };
  for (const Law law : {Law::Walther, Law::D341}) {
    for (const auto& oil : oils) {
      SCOPED_TRACE(std::string(LawName(law)) + " " + std::to_string(oil[0]));
      const ViscosityLine batch = FitLine40100(law, oil[0], oil[1]);
      const ViscosityLine single = FitLine(law, {40, oil[0]}, {100, oil[1]});
      ASSERT_EQ(bits(batch.a), bits(single.a));
      ASSERT_EQ(bits(batch.b), bits(single.b));
      for (const double t : temperatures) {
        EXPECT_EQ(bits(KinematicAt(batch, PrepareTemperature(law, t))),
                  bits(KinematicAt(single, t)))
            << t;
      }
    }
    const double zero = law == Law::Walther ? -273.16 : -273.15;
    const std::string message = "The temperature must be above " +
                                std::string(law == Law::Walther ? "-273.16" : "-273.15") +
                                " °C; it is " + (law == Law::Walther ? "-273.16." : "-273.15.");
    ExpectError([&] { PrepareTemperature(law, zero); }, Fault::InvalidArgument, message);
    ExpectError([&] { KinematicAt(FitLine40100(law, 46, 6.8), zero); }, Fault::InvalidArgument,
                message);
  }
}

TEST(ViscosityLine, ThreeOrMorePointsGiveTheLeastSquaresLine) {
  // a and b of the regression of log10 log10 Z on log10 T, worked out apart from the program
  // (means, sums of squares and products), and the largest deviation of its viscosities.
  struct Case {
    Law law;
    std::vector<ViscosityPoint> points;
    double a, b, deviation_percent;
  };
  const std::vector<Case> cases = {
      {Law::Walther,
       {{20, 760}, {60, 86}, {100, 18.75}},
       8.69359882898401,
       3.3358465708854292,
       8.647425670954734},
      {Law::Walther,
       {{20, 760}, {40, 220}, {60, 86}, {100, 18.75}},
       8.708000101362966,
       3.3413972998836834,
       8.277085339095647},
      {Law::D341,
       {{20, 760}, {60, 86}, {100, 18.75}},
       8.675921274967175,
       3.3287347520831316,
       8.479186326754796},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(LawName(c.law)) + " " + std::to_string(c.points.size()));
    const ViscosityLine line = FitLine(c.law, c.points);
    EXPECT_NEAR(line.a, c.a, 1e-12);
    EXPECT_NEAR(line.b, c.b, 1e-12);
    EXPECT_NEAR(MaxDeviationPercent(line, c.points), c.deviation_percent, 1e-9);
  }
  // Points on one line give that line back, and no deviation.
  const ViscosityLine catalogue = FitLine40100(Law::Walther, 320, 35);
  std::vector<ViscosityPoint> on_line;
  for (const double t : {0.0, 40.0, 80.0, 120.0, 160.0}) {
    on_line.push_back({t, KinematicAt(catalogue, t)});
  }
  const ViscosityLine refitted = FitLine(Law::Walther, on_line);
  EXPECT_NEAR(refitted.a, catalogue.a, 1e-12);
  EXPECT_NEAR(refitted.b, catalogue.b, 1e-12);
  EXPECT_LT(MaxDeviationPercent(refitted, on_line), 1e-9);
}

TEST(ViscosityLine, RefusesWhatHasNoLine) {
  const ErrorCase cases[] = {
      {"walther below 0.4 cSt", [] { FitLine40100(Law::Walther, 0.3, 5); }, Fault::InvalidArgument,
       "The viscosity at 40 °C must be above 0.4 cSt; it is 0.3."},
      {"walther at 0.4 cSt", [] { FitLine40100(Law::Walther, 31, 0.4); }, Fault::InvalidArgument,
       "The viscosity at 100 °C must be above 0.4 cSt; it is 0.4."},
      {"point below 0.4 cSt",
       [] {
         FitLine(Law::Walther, {60, 0.25}, {100, 5});
       },
       Fault::InvalidArgument, "The viscosity at 60 °C must be above 0.4 cSt; it is 0.25."},
      {"d341 too thin",
       [] {
         FitLine(Law::D341, {-10, 5}, {60, 0.1});
       },
       Fault::InvalidArgument,
       "The viscosity at 60 °C is below what the d341 law covers; it is 0.1 cSt."},
      {"viscosity not a number", [] { FitLine40100(Law::D341, kNaN, 5); }, Fault::InvalidOperation,
       "The viscosity at 40 °C is not a number."},
      {"infinite viscosity",
       [] { FitLine40100(Law::Walther, 31, std::numeric_limits<double>::infinity()); },
       Fault::Overflow, "The viscosity at 100 °C is too large; it is infinite."},
      {"same temperature",
       [] {
         FitLine(Law::Walther, {40, 31}, {40, 5.8});
       },
       Fault::InvalidArgument, "The two temperatures must differ; both are 40 °C."},
      {"three points at one temperature",
       [] {
         const ViscosityPoint points[] = {{40, 31}, {40, 30}, {40, 32}};
         FitLine(Law::Walther, points);
       },
       Fault::InvalidArgument, "The temperatures must differ; all are 40 °C."},
      {"one point",
       [] {
         const ViscosityPoint points[] = {{40, 31}};
         FitLine(Law::Walther, points);
       },
       Fault::InvalidArgument, "A viscosity line needs two or more points."},
      {"a point of three below 0.4 cSt",
       [] {
         const ViscosityPoint points[] = {{40, 31}, {100, 5.8}, {150, 0.3}};
         FitLine(Law::Walther, points);
       },
       Fault::InvalidArgument, "The viscosity at 150 °C must be above 0.4 cSt; it is 0.3."},
      {"point at absolute zero",
       [] {
         FitLine(Law::D341, {-273.15, 31}, {100, 5.8});
       },
       Fault::InvalidArgument, "The temperature must be above -273.15 °C; it is -273.15."},
      {"walther evaluated below absolute zero",
       [] { KinematicAt(FitLine40100(Law::Walther, 31, 5.8), -300); }, Fault::InvalidArgument,
       "The temperature must be above -273.16 °C; it is -300."},
      {"d341 evaluated at absolute zero",
       [] { KinematicAt(FitLine40100(Law::D341, 31, 5.8), -273.15); }, Fault::InvalidArgument,
       "The temperature must be above -273.15 °C; it is -273.15."},
      {"d341 too steep to evaluate", [] { KinematicAt(FitLine40100(Law::D341, 320, 35), -270); },
       Fault::Overflow,
       "The viscosity at -270 °C is too large to compute: the viscosity-temperature line is too "
       "steep there."},
      {"level line", [] { TemperatureFor(FitLine40100(Law::Walther, 31, 31), 20); },
       Fault::DivisionByZero, "The viscosity line is level: no temperature gives 20 cSt."},
      {"temperature for too little", [] { TemperatureFor(FitLine40100(Law::Walther, 31, 5), 0.4); },
       Fault::InvalidArgument, "The viscosity must be above 0.4 cSt; it is 0.4."},
      {"temperature for not a number", [] { TemperatureFor(FitLine40100(Law::D341, 31, 5), kNaN); },
       Fault::InvalidOperation, "The viscosity is not a number."},
  };
  ExpectErrors(cases);
}

}  // namespace
}  // namespace project1
