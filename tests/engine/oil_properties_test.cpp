#include "engine/oil_properties.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "catalogue/catalogue.h"
#include "caught.h"
#include "engine/model.h"
#include "engine/viscosity_line.h"
#include "error_expectations.h"
#include "numtext/numtext.h"

namespace project1 {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ViscosityIndex, MeetsTheStandardsExamplesAndEachBranch) {
  struct Case {
    const char* branch;
    double nu40;
    double nu100;
    double unrounded;  // hand-checked; compared to `tolerance`
    double tolerance;
    long rounded;
  };
  const Case cases[] = {
      // The standard's examples.
      {"example, below 100", 73.30, 8.86, 92.43, 0.01, 92},
      {"example, above 100", 22.83, 5.05, 156.42, 0.01, 156},
      {"example, above 100", 53.47, 7.80, 111.31, 0.01, 111},
      // Rows of the table: L gives 0 and H gives 100 exactly.
      {"first row, L", 7.994, 2, 0, 0, 0},
      {"first row, H", 6.394, 2, 100, 0, 100},
      {"last row, L", 4905, 70, 0, 0, 0},
      {"last row, H", 1558, 70, 100, 0, 100},
      // Half way between the rows 2 and 2.1: L = 8.317, H = 6.644.
      {"between rows, L", 8.317, 2.05, 0, 1e-9, 0},
      {"between rows, H", 6.644, 2.05, 100, 1e-9, 100},
      // Above 70 cSt: at 80, L = 6303.52 and H = 1928.76 from the formulas.
      {"formulas, L", 6303.52, 80, 0, 1e-9, 0},
      {"formulas, below 100", 3000, 80, 75.51317, 1e-5, 76},
      {"formulas, H", 1928.76, 80, 100, 1e-9, 100},
      {"formulas, above 100", 1000, 80, 157.65327, 1e-5, 158},
      // Exact halves at 69 cSt (L = 4773, H = 1523) go to the even number.
      {"half, down to even", 4366.75, 69, 12.5, 0, 12},
      {"half, up to even", 3554.25, 69, 37.5, 0, 38},
      {"half, down to even", 2741.75, 69, 62.5, 0, 62},
      {"half, up to even", 1929.25, 69, 87.5, 0, 88},
      // A little off a half rounds to the nearest.
      {"near half", 2741.5, 69, 62.5077, 1e-4, 63},
      // Past L the index is negative.
      {"negative", 5098, 69, -10, 1e-9, -10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.branch) + " " + std::to_string(c.nu40));
    const std::optional<ViscosityIndex> index = ViscosityIndexOf(c.nu40, c.nu100);
    ASSERT_TRUE(index.has_value());
    EXPECT_NEAR(index->unrounded, c.unrounded, c.tolerance);
    EXPECT_EQ(index->rounded, c.rounded);
  }
}

// The index of an oil at 69 cSt at 100 C (H = 1523) from the logarithms taken in long double,
// each rounded once to double: what every C library gives.
double WideIndexAt69(double nu40) {
  const auto log10 = [](double x) { return static_cast<double>(std::log10((long double)x)); };
  const double n = (log10(1523) - log10(nu40)) / log10(69);
  return (static_cast<double>(std::pow(10.0L, (long double)n)) - 1) / 0.00715 + 100;
}

// Right beside a halfway point of its roundings (to a whole number, to three decimals) the index
// is taken as the wider logarithms take it, so that no C library's last unit in the last place
// can show another rounded index. Oils a few units in the last place from the halfway point,
// on both sides, show what the wide index shows.
TEST(ViscosityIndex, RoundsBesideAHalfwayPointAsEveryCLibraryDoes) {
  for (const double halfway : {120.5, 151.5, 187.5, 130.0005, 175.1235, 142.9995}) {
    SCOPED_TRACE(halfway);
    // The index falls as nu40 rises: the two neighbouring doubles either side of the halfway.
    double low = 100;
    double high = 1500;
    while (std::nextafter(low, high) < high) {
      const double middle = low + (high - low) / 2;
      (WideIndexAt69(middle) > halfway ? low : high) = middle;
    }
    double nu40 = low;
    for (int i = 0; i < 8; ++i) nu40 = std::nextafter(nu40, 0.0);
    for (int i = 0; i < 16; ++i, nu40 = std::nextafter(nu40, 2000.0)) {
      const double wide = WideIndexAt69(nu40);
      const std::optional<ViscosityIndex> index = ViscosityIndexOf(nu40, 69);
      ASSERT_TRUE(index.has_value());
      EXPECT_EQ(index->rounded, std::lround(std::nearbyint(wide))) << nu40;
      EXPECT_EQ(FormatNumber(index->unrounded, "0.000"), FormatNumber(wide, "0.000")) << nu40;
    }
  }
}

// The batch's rounded index is the full index's, on random oils over the table and above it and
// on the doubles beside halfway points of the whole numbers, where its cheaper logarithms must
// give way; refusals are the same too.
TEST(RoundedViscosityIndex, IsTheFullIndexRounded) {
  const auto expect_same = [](double nu40, double nu100) {
    const std::optional<Error> full_error = Caught([&] { ViscosityIndexOf(nu40, nu100); });
    const std::optional<Error> error = Caught([&] { RoundedViscosityIndexOf(nu40, nu100); });
    ASSERT_EQ(Outcome(error), Outcome(full_error)) << nu40 << " " << nu100;
    if (full_error) return;
    const std::optional<ViscosityIndex> full = ViscosityIndexOf(nu40, nu100);
    const std::optional<long> rounded = RoundedViscosityIndexOf(nu40, nu100);
    ASSERT_EQ(rounded.has_value(), full.has_value()) << nu40 << " " << nu100;
    if (full) {
      ASSERT_EQ(*rounded, full->rounded) << nu40 << " " << nu100;
    }
  };
  std::mt19937_64 random(36);
  std::uniform_real_distribution<double> hot(1.5, 150);
  std::uniform_real_distribution<double> ratio(1.05, 40);
  for (int i = 0; i < 200000; ++i) {
    const double nu100 = hot(random);
    expect_same(nu100 * ratio(random), nu100);
  }
  for (const double halfway : {120.5, 151.5, 187.5, 99.5, 0.5, -20.5}) {
    SCOPED_TRACE(halfway);
    double low = 70;  // the index falls as nu40 rises
    double high = 1e5;
    while (std::nextafter(low, high) < high) {
      const double middle = low + (high - low) / 2;
      (ViscosityIndexOf(middle, 69)->unrounded > halfway ? low : high) = middle;
    }
    double nu40 = low;
    for (int i = 0; i < 8; ++i) nu40 = std::nextafter(nu40, 0.0);
    for (int i = 0; i < 16; ++i, nu40 = std::nextafter(nu40, 1e6)) expect_same(nu40, 69);
  }
  for (const auto& [nu40, nu100] : {std::pair{0.0, 8.86},
                                    {kNaN, 8.86},
                                    {73.3, kNaN},
                                    {10.0, 20.0},
                                    {1e-300, 8.86},
                                    {1.0, 1.5},
                                    {7.9, 1.99}}) {
    expect_same(nu40, nu100);
  }
}

TEST(ViscosityIndex, IsNotDefinedBelowTwoCentistokesAt100C) {
  EXPECT_FALSE(ViscosityIndexOf(7.9, 1.99).has_value());
  EXPECT_FALSE(ViscosityIndexOf(3, 0.5).has_value());
  EXPECT_TRUE(ViscosityIndexOf(7.9, 2).has_value());
  EXPECT_EQ(kIndexUndefined, "not defined below 2 cSt at 100 °C");
}

TEST(ViscosityIndex, RefusesViscositiesThatAreNotOne) {
  ExpectError([] { ViscosityIndexOf(0, 8.86); }, Fault::InvalidArgument,
              "The viscosity at 40 °C must be above 0 cSt; it is 0.");
  ExpectError([] { ViscosityIndexOf(kNaN, 8.86); }, Fault::InvalidOperation,
              "The viscosity at 40 °C is not a number.");
  ExpectError([] { ViscosityIndexOf(73.3, kNaN); }, Fault::InvalidOperation,
              "The viscosity at 100 °C is not a number.");
  // Thinner at 40 °C than at 100 °C: refused before the index could grow without bound.
  ExpectError([] { ViscosityIndexOf(1e-300, 8.86); }, Fault::InvalidArgument,
              "The viscosity at 100 °C (8.86) must be below the one at 40 °C (1e-300).");
}

TEST(ViscosityIndex, RefusesAnOilNoThinnerWhenHotter) {
  const ErrorCase cases[] = {
      {"thicker at 100 °C", [] { ViscosityIndexOf(10, 20); }, Fault::InvalidArgument,
       "The viscosity at 100 °C (20) must be below the one at 40 °C (10)."},
      {"alike", [] { ViscosityIndexOf(46, 46); }, Fault::InvalidArgument,
       "The viscosity at 100 °C (46) must be below the one at 40 °C (46)."},
      {"both below 2 cSt", [] { ViscosityIndexOf(1, 1.5); }, Fault::InvalidArgument,
       "The viscosity at 100 °C (1.5) must be below the one at 40 °C (1)."},
      {"points, hotter first",
       [] {
         CheckThinnerWhenHotter({80, 20}, {50, 10});
       },
       Fault::InvalidArgument, "The viscosity at 80 °C (20) must be below the one at 50 °C (10)."},
      {"points, colder first",
       [] {
         CheckThinnerWhenHotter({-10, 5}, {120.5, 5});
       },
       Fault::InvalidArgument,
       "The viscosity at 120.5 °C (5) must be below the one at -10 °C (5)."},
  };
  ExpectErrors(cases);
  EXPECT_NO_THROW(CheckThinnerWhenHotter({100, 8.86}, {40, 73.3}));
  EXPECT_NO_THROW(CheckThinnerWhenHotter({40, 73.3}, {100, 8.86}));
}

TEST(Nu100ForIndex, GivesBackTheIndexOfEachBranchAndTableRegion) {
  struct Case {
    double nu40;
    double index;
  };
  const Case cases[] = {
      {73.30, 92.43}, {22.83, 156.42}, {7, 95},      {46, 95},       {320, 95},
      {3200, 95},     {3200, 0},       {6303.52, 0}, {1000, 157.65}, {68, -20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.nu40) + ", index " + std::to_string(c.index));
    const std::optional<double> nu100 = Nu100ForIndex(c.nu40, c.index);
    ASSERT_TRUE(nu100.has_value());
    EXPECT_NEAR(ViscosityIndexOf(c.nu40, *nu100)->unrounded, c.index, 1e-5);
    // The next nu100 1e-8 relative above gives a larger index: the bisection found the crossing.
    EXPECT_LT(ViscosityIndexOf(c.nu40, *nu100 * (1 - 1e-8))->unrounded, c.index);
    EXPECT_GT(ViscosityIndexOf(c.nu40, *nu100 * (1 + 1e-8))->unrounded, c.index);
  }
  // The standard's example read backwards.
  EXPECT_NEAR(*Nu100ForIndex(73.30, ViscosityIndexOf(73.30, 8.86)->unrounded), 8.86, 1e-8);
}

TEST(Nu100ForIndex, HasNoAnswerWhereNoViscosityFromTwoCentistokesGivesTheIndex) {
  EXPECT_FALSE(Nu100ForIndex(2, 95).has_value());  // VG 2: thinner than the table's first row
  EXPECT_FALSE(Nu100ForIndex(5, 95).has_value());
  EXPECT_FALSE(Nu100ForIndex(1.5, 95).has_value());
  EXPECT_FALSE(Nu100ForIndex(46, 1e6).has_value());  // no nu100 below nu40 reaches it
  ExpectError([] { Nu100ForIndex(46, kNaN); }, Fault::InvalidOperation,
              "The viscosity index is not a number.");
  ExpectError([] { Nu100ForIndex(0, 95); }, Fault::InvalidArgument,
              "The viscosity at 40 °C must be above 0 cSt; it is 0.");
}

TEST(IsoGrade, HoldsEachViscosityWithinThePrintedLimits) {
  struct Case {
    double nu40;
    std::optional<int> grade;
  };
  const Case cases[] = {
      {28.8, 32},
      {35.2, 32},
      {32, 32},
      {28.79, std::nullopt},
      {35.21, std::nullopt},
      {1.98, 2},
      {1.97, std::nullopt},
      {2.42, 2},
      {2.5, std::nullopt},
      {10, 10},
      {11, 10},
      {46, 46},
      {100, 100},
      {3520, 3200},
      {3521, std::nullopt},
      {0, std::nullopt},
      {-5, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nu40);
    EXPECT_EQ(IsoGrade(c.nu40), c.grade);
  }
  ExpectError([] { IsoGrade(kNaN); }, Fault::InvalidOperation,
              "The viscosity at 40 °C is not a number.");
}

TEST(IsoGrade, ListsTheTwentyGradesInOrderWithoutOverlap) {
  const int expected[] = {2,   3,   5,   7,   10,  15,  22,   32,   46,   68,
                          100, 150, 220, 320, 460, 680, 1000, 1500, 2200, 3200};
  ASSERT_EQ(IsoGrades().size(), std::size(expected));
  for (std::size_t i = 0; i < IsoGrades().size(); ++i) {
    const IsoGradeLimits& limits = IsoGrades()[i];
    SCOPED_TRACE(limits.grade);
    EXPECT_EQ(limits.grade, expected[i]);
    // +-10 % of the mid-point: the maximum is 11/9 of the minimum.
    EXPECT_NEAR(limits.maximum / limits.minimum, 11.0 / 9.0, 1e-12);
    if (i > 0) {
      EXPECT_LT(IsoGrades()[i - 1].maximum, limits.minimum);
    }
  }
}

TEST(DynamicViscosity, IsTheWindowsNumberInEveryUnit) {
  // Every catalogue oil, as the window converts it.
  for (const Lubricant& oil : LubricantCatalogue) {
    SCOPED_TRACE(std::string(oil.name));
    CalcState window;
    window.gravity = oil.gravity;
    DensityFromGravity(window);
    for (double nu : {oil.nu40, oil.nu100, 1234.5}) {
      EXPECT_EQ(DynamicReyn(nu, oil.gravity), DynamicViscosity(window, nu));
    }
  }
  // SHC 632 at 71 C, as the window shows it.
  const double nu = KinematicAt(FitLine40100(Law::Walther, 320, 35), 71);
  EXPECT_NEAR(DynamicReyn(nu, 0.87), 1.0796544e-05, 1e-12);

  // 1 cSt of water at the window's 62.37 lb/ft^3 is about 0.9991 mPa*s.
  EXPECT_NEAR(ReynToMpaS(DynamicReyn(1, 1)), 0.9991, 1e-4);
  EXPECT_EQ(ReynToMpaS(1), 6894757.293168);
  ExpectError([] { DynamicReyn(31, 0); }, Fault::InvalidArgument,
              "The specific gravity must be above 0; it is 0.");
  ExpectError([] { DynamicReyn(31, kNaN); }, Fault::InvalidOperation,
              "The specific gravity is not a number.");
}

TEST(DynamicViscosity, GravityFollowsTheThermalExpansion) {
  struct Case {
    double alpha;
    double t;
    double gravity;  // hand-checked
    double tolerance;
  };
  const Case cases[] = {
      {0, 100, 0.87, 0},
      {0.0007, 15, 0.87, 0},
      {0.0007, 100, 0.81742652, 1e-8},
      {0.0007, -40, 0.90307663, 1e-8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.t);
    EXPECT_NEAR(GravityAt(0.87, c.alpha, c.t), c.gravity, c.tolerance);
  }
  ExpectError([] { GravityAt(0.87, -0.001, 40); }, Fault::InvalidArgument,
              "The thermal expansion coefficient must be a number of 0 or above; it is -0.001.");
  ExpectError([] { GravityAt(-1, 0.0007, 40); }, Fault::InvalidArgument,
              "The specific gravity must be a number above 0; it is -1.");
  ExpectError([] { GravityAt(0.87, 0.0007, kNaN); }, Fault::InvalidOperation,
              "The temperature is not a number.");
}

TEST(Saybolt, SecondsAt100FAndOtherTemperatures) {
  struct Case {
    double nu;
    double t_f;
    double seconds;  // hand-checked
  };
  const Case cases[] = {
      {10, 100, 58.83697},
      {100, 100, 463.46256},
      // At 210 F: times 1 + 0.000061 * 110 = 1.00671.
      {10, 210, 58.83697 * 1.00671},
      {100, 210, 463.46256 * 1.00671},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.nu) + " at " + std::to_string(c.t_f));
    EXPECT_NEAR(SayboltSeconds(c.nu, c.t_f), c.seconds, 1e-5);
  }
  ExpectError([] { SayboltSeconds(-1, 100); }, Fault::InvalidArgument,
              "The viscosity must be above 0 cSt; it is -1.");
}

TEST(Blending, EndsAreTheOilsAndTheFractionReachesTheTarget) {
  EXPECT_EQ(BlendKinematic(31, 320, 0), 31);
  EXPECT_EQ(BlendKinematic(31, 320, 1), 320);
  EXPECT_EQ(BlendFractionFor(31, 320, 31), 0);
  EXPECT_EQ(BlendFractionFor(31, 320, 320), 1);
  // Hand-checked blends of 31 and 320 cSt.
  EXPECT_NEAR(BlendKinematic(31, 320, 0.5), 86.391218, 1e-6);
  EXPECT_NEAR(BlendKinematic(31, 320, 0.25), 50.187037, 1e-6);
  EXPECT_NEAR(BlendKinematic(320, 31, 0.75), 50.187037, 1e-6);

  for (double fraction : {0.1, 0.25, 0.5, 0.9}) {
    SCOPED_TRACE(fraction);
    EXPECT_NEAR(BlendFractionFor(31, 320, BlendKinematic(31, 320, fraction)), fraction, 1e-12);
    EXPECT_NEAR(BlendFractionFor(320, 31, BlendKinematic(320, 31, fraction)), fraction, 1e-12);
  }
  EXPECT_NEAR(KinematicFromBlendingNumber(BlendingNumber(46)), 46, 1e-12);
  EXPECT_EQ(BlendFractionFor(46, 46, 46), 0);
}

TEST(Blending, ReachesATargetARoundingErrorFromEitherOil) {
  struct Case {
    double first;
    double second;
    double target;
    double fraction;
  };
  const Case cases[] = {
      // An oil blended with itself, its viscosity computed on the line, and the round target.
      {320.0000000000017, 320.0000000000017, 320, 0},
      {31, 320, 320 * (1 + 5e-10), 1},
      {31, 320, 320 * (1 - 5e-10), 1},
      {31, 320, 31 * (1 - 9e-10), 0},
      {320, 31, 31 * (1 - 9e-10), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    EXPECT_EQ(BlendFractionFor(c.first, c.second, c.target), c.fraction);
  }
  // Further off than 1e-9 relative is still outside.
  EXPECT_THROW(BlendFractionFor(31, 320, 320 * (1 + 2e-9)), Error);
  EXPECT_THROW(BlendFractionFor(46, 46, 46 * (1 - 2e-9)), Error);
}

TEST(Blending, RefusesWhatNoBlendReaches) {
  const ErrorCase cases[] = {
      {"above", [] { BlendFractionFor(31, 320, 500); }, Fault::InvalidArgument,
       "The target viscosity 500 cSt is outside what the two oils reach at that temperature: 31 "
       "to 320 cSt."},
      {"below, oils reversed", [] { BlendFractionFor(320, 31, 30.5); }, Fault::InvalidArgument,
       "The target viscosity 30.5 cSt is outside what the two oils reach at that temperature: 31 "
       "to 320 cSt."},
      {"target not a number", [] { BlendFractionFor(31, 320, kNaN); }, Fault::InvalidOperation,
       "The target viscosity is not a number."},
      {"fraction above 1", [] { BlendKinematic(31, 320, 1.5); }, Fault::InvalidArgument,
       "The fraction of the second oil must be from 0 to 1; it is 1.5."},
      {"fraction not a number", [] { BlendKinematic(31, 320, kNaN); }, Fault::InvalidArgument,
       "The fraction of the second oil must be from 0 to 1; it is not a number."},
      {"first oil too thin", [] { BlendKinematic(0.2, 320, 0.5); }, Fault::InvalidArgument,
       "The viscosity of the first oil must be above 0.2 cSt; it is 0.2."},
      {"second oil too thin", [] { BlendFractionFor(31, -3, 5); }, Fault::InvalidArgument,
       "The viscosity of the second oil must be above 0.2 cSt; it is -3."},
  };
  ExpectErrors(cases);
}

TEST(Temperature, ReadsCelsiusFahrenheitAndKelvin) {
  struct Case {
    const char* text;
    double celsius;
  };
  const Case cases[] = {
      {"40", 40},
      {"-30", -30},
      {"212F", 100},
      {"-40F", -40},
      {"160F", 71.1111111111},
      {"160f", 71.1111111111},
      {"344.15K", 71},
      {"344.15k", 71},
      {"40C", 40},
      {"-30.5c", -30.5},
      {"1,000 C", 1000},
      {" 1,000 ", 1000},
      {"32 F", 0},
      {"273.15K ", 0},
      {"-273.14", -273.14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_NEAR(TextToTemperature(c.text, "temperature"), c.celsius, 1e-9);
  }
}

TEST(Temperature, StepsAreReadInTheirScale) {
  struct Case {
    const char* text;
    double celsius;
  };
  for (const Case& c : {Case{"10", 10}, Case{"10C", 10}, Case{"10K", 10}, Case{"9F", 5},
                        Case{"36 f", 20}, Case{"-9F", -5}, Case{"0.5k", 0.5}}) {
    SCOPED_TRACE(c.text);
    EXPECT_NEAR(TextToTemperatureStep(c.text, "step"), c.celsius, 1e-12);
  }
  ExpectError([] { TextToTemperatureStep("10FF", "step"); }, Fault::TypeMismatch,
              "The step \"10FF\" is not a number.");
}

TEST(Temperature, RefusesTextThatIsNoTemperature) {
  struct Case {
    const char* text;
    Fault kind;
    const char* message;
  };
  const Case cases[] = {
      {"abc", Fault::TypeMismatch, "The first temperature \"abc\" is not a number."},
      {"abcF", Fault::TypeMismatch, "The first temperature \"abcF\" is not a number."},
      {"F", Fault::TypeMismatch, "The first temperature \"F\" is not a number."},
      {"", Fault::TypeMismatch, "The first temperature \"\" is not a number."},
      {"40CC", Fault::TypeMismatch, "The first temperature \"40CC\" is not a number."},
      {"C", Fault::TypeMismatch, "The first temperature \"C\" is not a number."},
      {"40FC", Fault::TypeMismatch, "The first temperature \"40FC\" is not a number."},
      {"40FF", Fault::TypeMismatch, "The first temperature \"40FF\" is not a number."},
      {"1e999", Fault::Overflow, "The first temperature \"1e999\" is too large."},
      {"-273.15", Fault::InvalidArgument,
       "The first temperature \"-273.15\" is at or below absolute zero."},
      {"-500F", Fault::InvalidArgument,
       "The first temperature \"-500F\" is at or below absolute zero."},
      {"0K", Fault::InvalidArgument, "The first temperature \"0K\" is at or below absolute zero."},
      {"-300C", Fault::InvalidArgument,
       "The first temperature \"-300C\" is at or below absolute zero."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ExpectError([&] { TextToTemperature(c.text, "first temperature"); }, c.kind, c.message);
  }
  // The error's subject is the input named; without a name the messages name only the text.
  struct Unnamed {
    const char* text;
    const char* what;
    std::string message;
  };
  const Unnamed unnamed[] = {
      {"abcF", "first temperature", "The first temperature \"abcF\" is not a number."},
      {"0K", "first temperature", "The first temperature \"0K\" is at or below absolute zero."},
      {"abcF", "", "\"abcF\" is not a number."},
      {"1e999", "", "\"1e999\" is too large."},
      {"0K", "", "\"0K\" is at or below absolute zero."},
  };
  for (const Unnamed& c : unnamed) {
    SCOPED_TRACE(c.message);
    const std::optional<Error> error = Caught([&] { TextToTemperature(c.text, c.what); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->what(), c.message);
    EXPECT_EQ(error->subject(), c.what);
  }
}

// A number in a unit is read as its text with the unit's letter: the same degrees C, bit for bit,
// and the same refusal.
TEST(Temperature, ANumberInAUnitIsItsTextWithTheUnitsLetter) {
  struct Case {
    double value;
    TemperatureUnit unit;
    const char* text;
  };
  const Case cases[] = {
      {40, TemperatureUnit::Celsius, "40"},
      {160, TemperatureUnit::Fahrenheit, "160F"},
      {344.15, TemperatureUnit::Kelvin, "344.15K"},
      {-459.6, TemperatureUnit::Fahrenheit, "-459.6F"},
      {0.1, TemperatureUnit::Kelvin, "0.1K"},
      {-273.15, TemperatureUnit::Celsius, "-273.15"},
      {-459.67, TemperatureUnit::Fahrenheit, "-459.67F"},
      {0, TemperatureUnit::Kelvin, "0K"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<Error> from_text =
        Caught([&] { TextToTemperature(c.text, "temperature"); });
    const std::optional<Error> from_number = Caught([&] { TemperatureToCelsius(c.value, c.unit); });
    ASSERT_EQ(from_text.has_value(), from_number.has_value());
    if (from_text) {
      EXPECT_STREQ(from_number->what(), from_text->what());
    } else {
      EXPECT_EQ(TemperatureToCelsius(c.value, c.unit), TextToTemperature(c.text, "temperature"));
    }
  }
}

}  // namespace
}  // namespace project1
