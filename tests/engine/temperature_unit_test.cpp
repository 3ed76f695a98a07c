#include "engine/temperature_unit.h"

#include <optional>
#include <utility>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace project1 {
namespace {

constexpr TemperatureUnit kC = TemperatureUnit::Celsius;
constexpr TemperatureUnit kF = TemperatureUnit::Fahrenheit;
constexpr TemperatureUnit kK = TemperatureUnit::Kelvin;

TEST(TemperatureUnit, ConvertsBothWaysAtTheFixedPoints) {
  struct Case {
    double celsius;
    TemperatureUnit unit;
    double shown;
  };
  const Case cases[] = {
      {0, kF, 32},     {100, kF, 212},    {-40, kF, -40},     {71, kF, 159.8},
      {0, kK, 273.15}, {100, kK, 373.15}, {-273.15, kK, 0},   {-273.15, kF, -459.67},
      {40, kC, 40},    {-300, kC, -300},  {1e300, kK, 1e300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.celsius) + " " + std::string(UnitSymbol(c.unit)));
    EXPECT_NEAR(FromCelsius(c.celsius, c.unit), c.shown, 1e-12 * (1 + std::abs(c.shown)));
    EXPECT_NEAR(ToCelsius(c.shown, c.unit), c.celsius, 1e-12 * (1 + std::abs(c.celsius)));
  }
  // The two whole-degree points a reader checks by eye, exactly.
  EXPECT_EQ(ToCelsius(212, kF), 100);
  EXPECT_EQ(ToCelsius(-40, kF), -40);
}

TEST(TemperatureUnit, StepsAndAbsoluteZeroFollowTheScale) {
  struct Case {
    TemperatureUnit unit;
    double step;  // 9 of the unit, in degrees C
    double zero;  // absolute zero in the unit
  };
  for (const Case& c : {Case{kC, 9, -273.15}, Case{kF, 5, -459.67}, Case{kK, 9, 0}}) {
    SCOPED_TRACE(std::string(UnitSymbol(c.unit)));
    EXPECT_DOUBLE_EQ(StepToCelsius(9, c.unit), c.step);
    EXPECT_EQ(AbsoluteZero(c.unit), c.zero);
    EXPECT_NEAR(ToCelsius(AbsoluteZero(c.unit), c.unit), -273.15, 1e-12);
  }
}

TEST(TemperatureUnit, WritesTheDegreeTextAndReadsTheLetter) {
  struct Case {
    char letter;
    TemperatureUnit unit;
    const char* text;  // "71" in that unit
  };
  const Case cases[] = {{'c', kC, "71 °C"}, {'C', kC, "71 °C"}, {'f', kF, "71 °F"},
                        {'F', kF, "71 °F"}, {'k', kK, "71 K"},  {'K', kK, "71 K"},
                        {'x', kC, "71 °C"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.letter);
    EXPECT_EQ(UnitOfLetter(c.letter), c.unit);
    EXPECT_EQ(DegreesText("71", c.unit), c.text);
  }
  EXPECT_EQ(DegreesText("-273.16"), "-273.16 °C");
}

TEST(TemperatureUnit, IsNamedByItsLetterAloneInEitherCase) {
  const std::pair<const char*, std::optional<TemperatureUnit>> cases[] = {
      {"C", kC}, {"c", kC},  {"F", kF},  {"f", kF},  {"K", kK},  {"k", kK},     {"", {}},
      {"x", {}}, {"CF", {}}, {"°C", {}}, {" F", {}}, {"F ", {}}, {"Kelvin", {}}};
  for (const auto& [name, unit] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(UnitNamed(name), unit);
  }
}

}  // namespace
}  // namespace project1
