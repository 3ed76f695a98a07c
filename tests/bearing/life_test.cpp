#include "bearing/life.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "bearing/bearing.h"
#include "error_expectations.h"

namespace project1 {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The expected factors come from a separate calculation of the formulas (Python, double
// precision), not from this code; -1 stands for no factor.
TEST(LifeModificationFactor, MatchesASeparateCalculationInEveryBandAndLimit) {
  struct Case {
    const char* name;
    BearingType type;
    double kappa;
    double ec;
    double cu;
    double p;
    bool ep;
    double expected;
  };
  using enum BearingType;
  const Case cases[] = {
      {"band 0.1-0.4, ball", Ball, 0.2, 0.5, 2, 10, false, 0.18835048784376618},
      {"band 0.1-0.4, roller", Roller, 0.3, 0.5, 2, 10, false, 0.14083387079107104},
      {"band 0.1-0.4, thrust ball", ThrustBall, 0.25, 0.6, 3, 10, false, 0.19563824919640124},
      {"band 0.1-0.4, thrust roller", ThrustRoller, 0.15, 0.8, 4, 10, false, 0.11507671795913146},
      // 0.4 belongs to the middle band, whose constants give 0.31200 just below it.
      {"band 0.4-1 at its start, ball", Ball, 0.4, 0.5, 2, 10, false, 0.3118797507972545},
      {"band 0.4-1, roller", Roller, 0.6, 0.6, 1.5, 8, false, 0.24697672152616215},
      {"band 0.4-1, thrust ball", ThrustBall, 0.8, 0.5, 2, 10, false, 0.6013657651513389},
      {"band 0.4-1, thrust roller", ThrustRoller, 0.5, 0.3, 5, 10, false, 0.17187275340290686},
      {"band 1-4 at its start, ball", Ball, 1, 0.5, 2, 10, false, 2.4305177780348117},
      {"band 1-4, roller", Roller, 2, 0.5, 2, 10, false, 0.5160974218793926},
      {"band 1-4, thrust ball", ThrustBall, 3, 0.8, 2.5, 10, false, 3.09687107473224},
      {"band 1-4 at its end, thrust roller", ThrustRoller, 4, 0.4, 3, 12, false,
       0.35610554822243823},
      {"above 4 taken as 4, ball", Ball, 6, 0.4, 3, 12, false, 7.201834948948802},
      {"above 4 taken as 4, roller", Roller, 10, 0.4, 3, 12, false, 0.6644192100699304},
      {"below the cap, roller", Roller, 4, 1, 10, 10, false, 32.919538283234594},
      {"capped at 50", Ball, 4, 1, 4, 10, false, 50},
      {"bracket below 0, ball", Ball, 4, 1, 25, 10, false, 50},
      {"bracket below 0, roller", Roller, 4, 1, 80, 10, false, 50},
      {"EP: kappa 0.5 taken as 1", Ball, 0.5, 0.5, 2, 10, true, 2.4305177780348117},
      {"EP: capped at 3", Ball, 0.3, 1, 5, 10, true, 3},
      {"EP: e_C of exactly 0.2", Roller, 0.7, 0.2, 2, 10, true, 0.25497543521553795},
      {"EP: no effect below e_C 0.2", Roller, 0.5, 0.1, 2, 10, true, 0.14124339480967937},
      {"EP: no cap from kappa 1 on", Ball, 1.5, 0.5, 2, 10, true, 3.3516493847419735},
      {"below kappa 0.1", Ball, 0.09, 0.5, 2, 10, false, -1},
      {"below kappa 0.1 even with EP", Roller, 0.09, 0.5, 2, 10, true, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<double> factor =
        LifeModificationFactor(c.type, c.kappa, c.ec, c.ec * c.cu / c.p, c.ep);
    if (c.expected < 0) {
      EXPECT_FALSE(factor.has_value());
      continue;
    }
    ASSERT_TRUE(factor.has_value());
    EXPECT_NEAR(*factor, c.expected, 1e-11 * c.expected);
  }
}

TEST(LifeModificationFactor, IsAboutATenthAtKappaOneTenthWhateverTheLoad) {
  for (const BearingType type : kBearingTypes) {
    for (const double x : {0.0, 0.01, 0.1, 1.0, 2.0, 5.0}) {
      SCOPED_TRACE(std::string(BearingTypeName(type)) + ", x = " + std::to_string(x));
      const std::optional<double> factor = LifeModificationFactor(type, 0.1, 1, x, false);
      ASSERT_TRUE(factor.has_value());
      EXPECT_NEAR(*factor, 0.1, 0.001);
    }
  }
  EXPECT_FALSE(LifeModificationFactor(BearingType::Ball, std::nextafter(0.1, 0.0), 1, 1, false));
}

TEST(RatingLife, GivesTheIssuesWorkedExampleEndToEnd) {
  const double rated = RatedViscosity(72.5, 3000);
  const double kappa = Kappa(20, rated);
  EXPECT_NEAR(rated, 9.649, 0.0005);
  EXPECT_NEAR(kappa, 2.073, 0.0005);
  LifeInputs inputs;
  inputs.rating_kn = 55.3;
  inputs.load_kn = 10;
  inputs.speed_rpm = 3000;
  inputs.contamination = 0.8;
  inputs.fatigue_load_kn = 1.34;
  const BasicLife basic = BasicLifeOf(inputs);
  EXPECT_EQ(basic.life_exponent, 3);
  EXPECT_EQ(basic.a1, 1);
  EXPECT_NEAR(basic.basic_rating_life_hours, 939.5, 0.05);
  EXPECT_NEAR(*basic.ec_cu_over_p, 0.1072, 1e-12);
  const ModifiedLife life = ModifiedLifeAt(inputs, basic, kappa);
  EXPECT_NEAR(*life.a_iso, 4.82, 0.005);
  EXPECT_NEAR(*life.modified_rating_life_hours, 4529, 0.5);
  EXPECT_EQ(life.note, "");

  // A roller bearing's exponent and a reliability of 99 %; the expected life computed apart.
  inputs.type = BearingType::Roller;
  inputs.rating_kn = 100;
  inputs.load_kn = 20;
  inputs.speed_rpm = 1000;
  inputs.reliability_percent = 99;
  const BasicLife roller = BasicLifeOf(inputs);
  EXPECT_NEAR(roller.basic_rating_life_hours, 3562.4498889097868, 1e-9);
  const ModifiedLife thin = ModifiedLifeAt(inputs, roller, 2);
  EXPECT_NEAR(*thin.modified_rating_life_hours, 0.25 * *thin.a_iso * 3562.4498889097868, 1e-9);
  const ModifiedLife outside = ModifiedLifeAt(inputs, roller, 0.05);
  EXPECT_FALSE(outside.a_iso || outside.modified_rating_life_hours);
  EXPECT_EQ(outside.note, kBelowLifeMethod);
}

TEST(RatingLife, ReadsTheCleanlinessTableOnBothSidesOf100Millimetres) {
  EXPECT_EQ(ContaminationFactor(Cleanliness::High, 99.9), 0.6);
  EXPECT_EQ(ContaminationFactor(Cleanliness::High, 100), 0.8);
  EXPECT_EQ(ContaminationFactor(Cleanliness::Typical, 72.5), 0.1);
  EXPECT_EQ(ContaminationFactor(Cleanliness::Typical, 380), 0.2);
  EXPECT_EQ(ContaminationFactor(Cleanliness::VerySevere, 380), 0);
  EXPECT_FALSE(CleanlinessNamed("clean"));
  EXPECT_FALSE(BearingTypeNamed("needle"));
}

// A bearing that lasts: the base of the refusal cases.
LifeInputs Lasting() {
  LifeInputs inputs;
  inputs.rating_kn = 55.3;
  inputs.load_kn = 10;
  inputs.speed_rpm = 3000;
  inputs.contamination = 0.5;
  inputs.fatigue_load_kn = 1.34;
  return inputs;
}

// Lasting() with one input changed.
template <auto kMember, typename Value>
LifeInputs With(Value value) {
  LifeInputs inputs = Lasting();
  inputs.*kMember = value;
  return inputs;
}

TEST(RatingLife, RefusesLoadsRatingsAndFactorsThatAreNotOne) {
  using In = LifeInputs;
  const ErrorCase cases[] = {
      {"no load", [] { BasicLifeOf(With<&In::load_kn>(0.0)); }, Fault::InvalidArgument,
       "The load P must be above 0 kN; it is 0."},
      {"load not a number", [] { BasicLifeOf(With<&In::load_kn>(kNaN)); }, Fault::InvalidOperation,
       "The load P is not a number."},
      {"rating below the load", [] { BasicLifeOf(With<&In::rating_kn>(9.5)); },
       Fault::InvalidArgument,
       "The dynamic load rating C (9.5 kN) must not be below the load P (10 kN)."},
      {"reliability without a1", [] { BasicLifeOf(With<&In::reliability_percent>(93.0)); },
       Fault::InvalidArgument,
       "The reliability must be one of 90, 95, 96, 97, 98 and 99 %; it is 93."},
      {"e_C above 1", [] { BasicLifeOf(With<&In::contamination>(1.5)); }, Fault::InvalidArgument,
       "The contamination factor e_C must be from 0 to 1; it is 1.5."},
      {"e_C below 0", [] { BasicLifeOf(With<&In::contamination>(-0.1)); }, Fault::InvalidArgument,
       "The contamination factor e_C must be from 0 to 1; it is -0.1."},
      {"no fatigue load limit", [] { BasicLifeOf(With<&In::fatigue_load_kn>(0.0)); },
       Fault::InvalidArgument, "The fatigue load limit C_u must be above 0 kN; it is 0."},
      {"modified life without e_C",
       [] {
         const In in = With<&In::contamination>(std::nullopt);
         ModifiedLifeAt(in, BasicLifeOf(in), 2);
       },
       Fault::InvalidArgument,
       "a_ISO needs the contamination factor e_C and the fatigue load limit C_u."},
      {"a life beyond a double", [] { BasicLifeOf(With<&In::rating_kn>(1e200)); }, Fault::Overflow,
       "The basic rating life of C = 1e+200 kN at P = 10 kN and 3000 r/min is out of range."},
      {"kappa not a number",
       [] { LifeModificationFactor(BearingType::Ball, kNaN, 0.5, 0.1, false); },
       Fault::InvalidOperation, "The viscosity ratio is not a number."},
  };
  ExpectErrors(cases);
  // A rating equal to the load lasts a million revolutions.
  LifeInputs equal = Lasting();
  equal.rating_kn = equal.load_kn;
  EXPECT_EQ(BasicLifeOf(equal).basic_rating_life_mrev, 1);
}

TEST(GradeLives, PicksTheFirstGradeWhoseModifiedLifeReachesTheTarget) {
  LifeInputs inputs = Lasting();
  const GradeSelection selection = SelectGrade(RatedViscosity(72.5, 3000), 60);
  for (const double target : {500.0, 2000.0, 3400.0}) {
    SCOPED_TRACE(target);
    const GradeLives lives = GradeLivesOf(selection, inputs, target);
    ASSERT_EQ(lives.modified_rating_life_hours.size(), selection.grades.size());
    ASSERT_TRUE(lives.smallest_iso_vg.has_value());
    bool reached = false;
    for (std::size_t i = 0; i < selection.grades.size(); ++i) {
      const std::optional<double> hours = lives.modified_rating_life_hours[i];
      EXPECT_EQ(hours.has_value(), selection.grades[i].kappa.value_or(0) >= kLifeMinimumKappa);
      if (selection.grades[i].iso_vg == *lives.smallest_iso_vg) {
        EXPECT_GE(*hours, target);
        reached = true;
      } else if (!reached && hours) {
        EXPECT_LT(*hours, target);
      }
    }
    EXPECT_TRUE(reached);
  }
  // Past kappa 4 thicker oil adds nothing: this bearing lasts 3,515 h at most.
  EXPECT_FALSE(GradeLivesOf(selection, inputs, 3600).smallest_iso_vg);
  EXPECT_FALSE(GradeLivesOf(selection, inputs, std::nullopt).smallest_iso_vg);
}

}  // namespace
}  // namespace project1
