#pragma once
// The unit in which temperatures are shown. The engine computes in degrees C throughout; a
// temperature is converted only where it is shown.

#include <string_view>

namespace project1 {

enum class TemperatureUnit { Celsius, Fahrenheit, Kelvin };

// t_c degrees C in `unit`.
constexpr double FromCelsius(double t_c, TemperatureUnit unit) {
  switch (unit) {
    case TemperatureUnit::Fahrenheit:
      return t_c * 9.0 / 5.0 + 32.0;
    case TemperatureUnit::Kelvin:
      return t_c + 273.15;
    case TemperatureUnit::Celsius:
      break;
  }
  return t_c;
}

// The unit's letter as the tool writes it after a number and in column names: "C", "F", "K".
constexpr std::string_view UnitLetter(TemperatureUnit unit) {
  switch (unit) {
    case TemperatureUnit::Fahrenheit:
      return "F";
    case TemperatureUnit::Kelvin:
      return "K";
    case TemperatureUnit::Celsius:
      break;
  }
  return "C";
}

// The unit as a person reads it after a number: "°C", "°F", "K".
constexpr std::string_view UnitSymbol(TemperatureUnit unit) {
  switch (unit) {
    case TemperatureUnit::Fahrenheit:
      return "°F";
    case TemperatureUnit::Kelvin:
      return "K";
    case TemperatureUnit::Celsius:
      break;
  }
  return "°C";
}

}  // namespace project1
