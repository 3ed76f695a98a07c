#include "engine/model.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "error_expectations.h"
#include "test_support.h"

namespace project1 {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Sentinels that no calculation produces, to tell a field that was left alone.
constexpr double kUntouched1 = -1111.25;
constexpr double kUntouched2 = -2222.5;

TEST(ViscosityModel, FitsTheDefaultOilToTheReferenceSlopeAndIntercept) {
  const CalcState s = FittedLine(320, 35);
  EXPECT_NEAR(s.line.b, 2.7353244, 1e-7);
  EXPECT_NEAR(s.line.a, 7.2257051, 1e-7);
}

TEST(ViscosityModel, EvaluatesTheDefaultOilAtTheReferenceTemperatures) {
  struct Case {
    double t;
    double nu;
    double tolerance;
  };
  const Case cases[] = {
      {71, 85.64225, 5e-6},
      {150, 11.98708, 5e-6},
      {-40, 412753.93, 5e-3},
      {250, 3.527, 5e-4},
  };
  CalcState s = FittedLine(320, 35);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.t);
    EXPECT_NEAR(ViscosityAt(s, c.t), c.nu, c.tolerance);
  }
}

TEST(ViscosityModel, LinePassesThroughBothGivenViscosities) {
  struct Oil {
    double visc40;
    double visc100;
  };
  const Oil oils[] = {{320, 35}, {68, 8.8},   {1000, 50}, {10, 2.5},
                      {2, 1},    {100000, 1}, {35, 320},  {0.5, 0.45}};
  for (const Oil& oil : oils) {
    SCOPED_TRACE(testing::Message() << oil.visc40 << "/" << oil.visc100);
    CalcState s = FittedLine(oil.visc40, oil.visc100);
    EXPECT_NEAR(ViscosityAt(s, 40), oil.visc40, oil.visc40 * 1e-12);
    EXPECT_NEAR(ViscosityAt(s, 100), oil.visc100, oil.visc100 * 1e-12);
  }
}

TEST(ViscosityModel, EqualViscositiesGiveTheSameViscosityEverywhere) {
  CalcState s = FittedLine(50, 50);
  EXPECT_EQ(s.line.b, 0);
  for (const double t : {-270.0, -40.0, 0.0, 40.0, 71.0, 100.0, 250.0, 1000.0}) {
    EXPECT_NEAR(ViscosityAt(s, t), 50, 1e-11) << t;
  }
}

TEST(ViscosityModel, DensityMatchesTheReferenceValues) {
  struct Case {
    double gravity;
    double density;  // lbf*s^2/in^4
  };
  const Case cases[] = {
      {0.87, 8.1332656e-05},
      {0.85, 7.9462940e-05},
      // Water: 62.37 lb/ft^3 is 9.3486e-5 lbf*s^2/in^4.
      {1, 9.3485812e-05},
  };
  for (const Case& c : cases) {
    CalcState s;
    s.gravity = c.gravity;
    DensityFromGravity(s);
    EXPECT_NEAR(s.density, c.density, c.density * 1e-7) << c.gravity;
  }
}

TEST(ViscosityModel, DensityRefusesAGravityNotAboveZeroAndKeepsTheDensity) {
  const std::pair<double, std::string> cases[] = {{0.0, "0"},
                                                  {-0.0, "0"},
                                                  {-0.9, "-0.9"},
                                                  {-1e-300, "-0." + std::string(299, '0') + "1"},
                                                  {-kInf, "minus infinite"}};
  for (const auto& [gravity, shown] : cases) {
    SCOPED_TRACE(shown);
    CalcState s;
    s.gravity = gravity;
    s.density = kUntouched1;
    const std::optional<Error> error = Caught([&] { DensityFromGravity(s); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(FaultName(error->fault()), FaultName(Fault::InvalidArgument));
    EXPECT_EQ(error->what(), "The specific gravity must be above 0; it is " + shown + ".");
    EXPECT_EQ(error->subject(), "specific gravity");
    EXPECT_EQ(s.density, kUntouched1);
  }
  // The smallest gravity above 0 still gives a density.
  CalcState s;
  s.gravity = std::numeric_limits<double>::denorm_min();
  DensityFromGravity(s);
  EXPECT_GE(s.density, 0);
}

TEST(ViscosityModel, DynamicViscosityOfTheDefaultOilMatchesTheReferenceValues) {
  struct Case {
    double t;
    double reyn;
  };
  const Case cases[] = {{71, 1.0796544e-05}, {150, 1.5111582e-06}};
  CalcState s = FittedLine(320, 35);
  s.gravity = 0.87;
  DensityFromGravity(s);
  for (const Case& c : cases) {
    EXPECT_NEAR(DynamicViscosity(s, ViscosityAt(s, c.t)), c.reyn, c.reyn * 1e-7) << c.t;
  }
  EXPECT_EQ(DynamicViscosity(s, 0), 0);
}

TEST(ViscosityModel, FitRefusesEachBadViscosityAndLeavesTheLineAsItWas) {
  struct Case {
    double visc40;
    double visc100;
    Fault kind;
    const char* message;
  };
  const Case cases[] = {
      {0.4, 35, Fault::InvalidArgument, "The viscosity at 40 °C must be above 0.4 cSt; it is 0.4."},
      {0.1, 35, Fault::InvalidArgument, "The viscosity at 40 °C must be above 0.4 cSt; it is 0.1."},
      {-0.6, 35, Fault::InvalidArgument,
       "The viscosity at 40 °C must be above 0.4 cSt; it is -0.6."},
      {-5, 35, Fault::InvalidArgument, "The viscosity at 40 °C must be above 0.4 cSt; it is -5."},
      {320, 0.4, Fault::InvalidArgument,
       "The viscosity at 100 °C must be above 0.4 cSt; it is 0.4."},
      {320, 0, Fault::InvalidArgument, "The viscosity at 100 °C must be above 0.4 cSt; it is 0."},
      // The 40 °C value is taken first.
      {0.3, 0.2, Fault::InvalidArgument,
       "The viscosity at 40 °C must be above 0.4 cSt; it is 0.3."},
      {kNaN, 35, Fault::InvalidOperation, "The viscosity at 40 °C is not a number."},
      {320, kNaN, Fault::InvalidOperation, "The viscosity at 100 °C is not a number."},
      {kInf, 35, Fault::Overflow, "The viscosity at 40 °C is too large; it is infinite."},
      {320, kInf, Fault::Overflow, "The viscosity at 100 °C is too large; it is infinite."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    CalcState s;
    s.visc40 = c.visc40;
    s.visc100 = c.visc100;
    s.line.b = kUntouched1;
    s.line.a = kUntouched2;
    ExpectError([&] { FitViscosityLine(s); }, c.kind, c.message);
    EXPECT_EQ(s.line.b, kUntouched1);
    EXPECT_EQ(s.line.a, kUntouched2);
  }
}

TEST(ViscosityModel, EvaluationRefusesEachFailure) {
  struct Case {
    const char* name;
    double slope;
    double intercept;
    double t;
    Fault kind;
    const char* message;
  };
  const CalcState fitted = FittedLine(320, 35);
  const CalcState steep = FittedLine(100000, 1);
  const Case cases[] = {
      {"absolute zero", fitted.line.b, fitted.line.a, -273.16, Fault::InvalidArgument,
       "The temperature must be above -273.16 °C; it is -273.16."},
      {"below absolute zero", fitted.line.b, fitted.line.a, -300, Fault::InvalidArgument,
       "The temperature must be above -273.16 °C; it is -300."},
      {"temperature not a number", fitted.line.b, fitted.line.a, kNaN, Fault::InvalidOperation,
       "The temperature is not a number."},
      {"broken line", kNaN, fitted.line.a, 40, Fault::InvalidOperation,
       "The viscosity at 40 °C gave no number."},
      // The second power of ten is beyond a double.
      {"steep line at -40", steep.line.b, steep.line.a, -40, Fault::Overflow,
       "The viscosity at -40 °C is too large to compute: the viscosity-temperature line is "
       "too steep there."},
      // The first power of ten (of about 487) is beyond a double.
      {"power of loglog", -200, 0, 0, Fault::Overflow,
       "The viscosity at 0 °C is too large to compute: the viscosity-temperature line is too "
       "steep there."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CalcState s;
    s.line.b = c.slope;
    s.line.a = c.intercept;
    ExpectError([&] { ViscosityAt(s, c.t); }, c.kind, c.message);
  }
}

TEST(ViscosityModel, DensityAndDynamicViscosityRefuseValuesThatAreNotFinite) {
  CalcState s;
  s.density = kUntouched1;
  s.gravity = kNaN;
  ExpectError([&] { DensityFromGravity(s); }, Fault::InvalidOperation,
              "The specific gravity is not a number.");
  s.gravity = kInf;
  ExpectError([&] { DensityFromGravity(s); }, Fault::Overflow,
              "The specific gravity is too large to compute a density.");
  EXPECT_EQ(s.density, kUntouched1);

  s.density = DBL_MAX;
  ExpectError([&] { DynamicViscosity(s, 2000); }, Fault::Overflow,
              "The specific gravity is too large to compute the dynamic viscosity of 2000 cSt.");
  ExpectError([&] { DynamicViscosity(s, kNaN); }, Fault::InvalidOperation,
              "The dynamic viscosity gave no number.");
}

}  // namespace
}  // namespace project1
