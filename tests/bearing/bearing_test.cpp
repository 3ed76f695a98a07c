#include "bearing/bearing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "engine/oil_properties.h"
#include "engine/viscosity_line.h"
#include "error_expectations.h"

namespace project1 {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(RatedViscosity, MeetsTheMakersCheckAndFollowsBothSpeedBranches) {
  struct Case {
    const char* name;
    double dm;
    double n;
    double rated;
    double tolerance;
  };
  const Case cases[] = {
      // d = 340, D = 420: the makers' diagram reads about 13 cSt.
      {"makers' check", 380, 500, 13.28, 0.005},
      {"slow branch, just below 1000 r/min", 100, 999, 14.573812, 1e-6},
      {"fast branch from 1000 r/min", 100, 1000, 14.230249, 1e-6},
      {"fast branch", 25, 3000, 16.431677, 1e-6},
      {"slow branch, very slow", 1000, 10, 210.480814, 1e-6},
      {"fast branch, very fast", 50, 1e5, 2.012461, 1e-6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(RatedViscosity(c.dm, c.n), c.rated, c.tolerance);
  }
  EXPECT_EQ(MeanDiameter(340, 420), 380);
  // Slower is thicker, and a smaller bearing needs more.
  EXPECT_GT(RatedViscosity(380, 400), RatedViscosity(380, 500));
  EXPECT_GT(RatedViscosity(100, 3000), RatedViscosity(400, 3000));
}

TEST(RatedViscosity, RefusesSizesAndSpeedsThatAreNotOne) {
  const ErrorCase cases[] = {
      {"no diameter", [] { RatedViscosity(0, 500); }, Fault::InvalidArgument,
       "The mean diameter must be above 0 mm; it is 0."},
      {"negative speed", [] { RatedViscosity(380, -5); }, Fault::InvalidArgument,
       "The speed must be above 0 r/min; it is -5."},
      {"speed not a number", [] { RatedViscosity(380, kNaN); }, Fault::InvalidOperation,
       "The speed is not a number."},
      {"bore at the outside diameter", [] { MeanDiameter(420, 420); }, Fault::InvalidArgument,
       "The bore (420 mm) must be below the outside diameter (420 mm)."},
      {"bore above the outside diameter", [] { MeanDiameter(420, 340); }, Fault::InvalidArgument,
       "The bore (420 mm) must be below the outside diameter (340 mm)."},
      {"no bore", [] { MeanDiameter(0, 340); }, Fault::InvalidArgument,
       "The bore must be above 0 mm; it is 0."},
  };
  ExpectErrors(cases);
}

TEST(KappaBand, ChangesExactlyAtOneAndFour) {
  struct Case {
    double kappa;
    KappaBand band;
    const char* name;
  };
  const Case cases[] = {
      {0, KappaBand::Below1, "below_1"},
      {std::nextafter(1.0, 0.0), KappaBand::Below1, "below_1"},
      {1, KappaBand::OneTo4, "1_to_4"},
      {std::nextafter(4.0, 0.0), KappaBand::OneTo4, "1_to_4"},
      {4, KappaBand::FourOrMore, "4_or_more"},
      {1e9, KappaBand::FourOrMore, "4_or_more"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kappa);
    EXPECT_EQ(KappaBandOf(c.kappa), c.band);
    EXPECT_EQ(KappaBandName(KappaBandOf(c.kappa)), c.name);
  }
  ExpectError([] { KappaBandOf(kNaN); }, Fault::InvalidOperation,
              "The viscosity ratio is not a number.");
}

TEST(OperatingRange, TemperaturesGiveBackOneAndFourTimesTheRatedViscosity) {
  struct Case {
    Law law;
    double nu40;
    double nu100;
    double rated;
    double tolerance;  // relative
  };
  // The D341 way back from Z is close to, not exactly, the inverse of its Z near 2 cSt.
  const Case cases[] = {
      {Law::Walther, 320, 24.5, 13.28, 1e-12}, {Law::Walther, 46, 6.8, 20, 1e-12},
      {Law::D341, 320, 24.5, 13.28, 1e-9},     {Law::D341, 68, 8.6, 2.01, 1e-4},
      {Law::Walther, 3200, 120, 210.5, 1e-12}, {Law::D341, 10, 2.7, 14.23, 1e-9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(LawName(c.law)) + " " + std::to_string(c.nu40));
    const ViscosityLine line = FitLine40100(c.law, c.nu40, c.nu100);
    const OperatingRange range = OperatingRangeOf(line, c.rated);
    EXPECT_NEAR(KinematicAt(line, range.kappa_1_temperature_c), c.rated, c.tolerance * c.rated);
    EXPECT_NEAR(KinematicAt(line, range.kappa_4_temperature_c), 4 * c.rated,
                4 * c.tolerance * c.rated);
    EXPECT_LT(range.kappa_4_temperature_c, range.kappa_1_temperature_c);
    // Just cooler than the kappa = 1 temperature the film separates; just hotter it does not.
    EXPECT_EQ(KappaBandOf(Kappa(KinematicAt(line, range.kappa_1_temperature_c - 0.01), c.rated)),
              KappaBand::OneTo4);
    EXPECT_EQ(KappaBandOf(Kappa(KinematicAt(line, range.kappa_1_temperature_c + 0.01), c.rated)),
              KappaBand::Below1);
  }
}

TEST(OperatingRange, RefusesALineThatDoesNotFallAsTheOilWarms) {
  const ViscosityLine rising = FitLine(Law::Walther, {40, 10}, {100, 20});
  ExpectError([&] { OperatingRangeOf(rising, 13); }, Fault::InvalidArgument,
              "The oil's viscosity does not fall as it warms, so no temperature range keeps the "
              "bearing's film.");
  ExpectError([] { Kappa(10, 0); }, Fault::InvalidArgument,
              "The rated viscosity must be above 0 cSt; it is 0.");
}

// The nu100 that gives nu40 the index, by walking up from 2 cSt in steps of `step` relative: the
// first nu100 whose index reaches it, or nullopt.
std::optional<double> SweptNu100(double nu40, double index, double step) {
  for (double nu100 = 2; nu100 < nu40; nu100 *= 1 + step) {
    if (ViscosityIndexOf(nu40, nu100)->unrounded >= index) {
      return nu100 == 2 ? std::nullopt : std::optional<double>(nu100);
    }
  }
  return std::nullopt;
}

TEST(SelectGrade, AgreesWithABruteForceSweepOfEveryGrade) {
  struct Case {
    double rated;
    double t_c;
    double index;
    Law law;
  };
  const Case cases[] = {
      {13.28, 70, 95, Law::Walther}, {13.28, 107, 95, Law::Walther}, {20, 40, 95, Law::Walther},
      {5, 60, 150, Law::Walther},    {50, 90, 0, Law::D341},         {2, 20, 95, Law::D341},
  };
  constexpr double kStep = 1e-4;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rated) + " cSt at " + std::to_string(c.t_c) + " °C, index " +
                 std::to_string(c.index));
    const GradeSelection selection = SelectGrade(c.rated, c.t_c, c.index, c.law);
    ASSERT_EQ(selection.grades.size(), IsoGrades().size());
    std::optional<int> smallest;
    for (std::size_t i = 0; i < selection.grades.size(); ++i) {
      const GradeKappa& grade = selection.grades[i];
      SCOPED_TRACE(grade.iso_vg);
      EXPECT_EQ(grade.iso_vg, IsoGrades()[i].grade);
      EXPECT_EQ(grade.kinematic_40c_cst, IsoGrades()[i].grade);
      const std::optional<double> swept = SweptNu100(grade.kinematic_40c_cst, c.index, kStep);
      ASSERT_EQ(grade.kinematic_100c_cst.has_value(), swept.has_value());
      if (!swept) {
        EXPECT_FALSE(grade.kappa.has_value());
        continue;
      }
      // The sweep's first step past the index and the bisection's answer lie one step apart.
      EXPECT_LE(*grade.kinematic_100c_cst, *swept);
      EXPECT_GE(*grade.kinematic_100c_cst, *swept / (1 + kStep));
      EXPECT_NEAR(ViscosityIndexOf(grade.kinematic_40c_cst, *grade.kinematic_100c_cst)->unrounded,
                  c.index, 1e-5);
      const double nu = KinematicAt(FitLine40100(c.law, grade.kinematic_40c_cst, *swept), c.t_c);
      EXPECT_NEAR(*grade.kappa, nu / c.rated, 1e-3 * nu / c.rated);
      if (!smallest && nu / c.rated >= 1) smallest = grade.iso_vg;
    }
    EXPECT_EQ(selection.smallest_iso_vg, smallest);
    ASSERT_TRUE(smallest.has_value());
  }
}

TEST(SelectGrade, JudgesEachGradeAtItsMinimumTooAndMarksTheMarginal) {
  struct Case {
    double rated;
    double t_c;
    double index;
  };
  for (const Case& c :
       {Case{13.28, 72, 95}, Case{13.28, 40, 95}, Case{5, 60, 150}, Case{50, 90, 0}}) {
    SCOPED_TRACE(std::to_string(c.rated) + " cSt at " + std::to_string(c.t_c) + " °C");
    const GradeSelection nominal = SelectGrade(c.rated, c.t_c, c.index);
    const GradeSelection minimum =
        SelectGrade(c.rated, c.t_c, c.index, Law::Walther, GradeBasis::Minimum);
    std::optional<int> smallest_at_minimum;
    for (const GradeKappa& grade : nominal.grades) {
      SCOPED_TRACE(grade.iso_vg);
      // ISO 3448's lower limit, 0.9 times the grade's mid-point (VG 2's is 2.2).
      const double nu40 = grade.minimum_40c_cst;
      if (grade.iso_vg >= 10) EXPECT_NEAR(nu40, 0.9 * grade.iso_vg, 1e-12);
      const std::optional<double> nu100 = Nu100ForIndex(nu40, c.index);
      ASSERT_EQ(grade.kappa_at_minimum.has_value(), nu100.has_value());
      if (!nu100) continue;
      const double kappa = KinematicAt(FitLine40100(Law::Walther, nu40, *nu100), c.t_c) / c.rated;
      EXPECT_NEAR(*grade.kappa_at_minimum, kappa, 1e-9 * kappa);
      EXPECT_LT(*grade.kappa_at_minimum, *grade.kappa);
      EXPECT_EQ(grade.marginal, *grade.kappa >= 1 && kappa < 1);
      if (!smallest_at_minimum && kappa >= 1) smallest_at_minimum = grade.iso_vg;
    }
    EXPECT_EQ(minimum.smallest_iso_vg, smallest_at_minimum);
    EXPECT_EQ(minimum.basis, GradeBasis::Minimum);
  }
  // At 72 °C VG 46 reaches κ = 1 only at its nominal ν40: the minimum asks for VG 68.
  EXPECT_EQ(SelectGrade(13.28, 72).smallest_iso_vg, 46);
  EXPECT_TRUE(SelectGrade(13.28, 72).grades[8].marginal);
  EXPECT_EQ(SelectGrade(13.28, 72, 95, Law::Walther, GradeBasis::Minimum).smallest_iso_vg, 68);
}

TEST(SelectGrade, NamesNoGradeWhenEvenTheThickestFallsShort) {
  const GradeSelection selection = SelectGrade(1e6, 100);
  EXPECT_FALSE(selection.smallest_iso_vg.has_value());
  EXPECT_EQ(selection.viscosity_index, kDefaultViscosityIndex);
  // At an ordinary index the thinnest grades have no nu100 of 2 cSt or more.
  EXPECT_FALSE(selection.grades[0].kinematic_100c_cst.has_value());
  EXPECT_TRUE(selection.grades.back().kappa.has_value());
}

}  // namespace
}  // namespace project1
