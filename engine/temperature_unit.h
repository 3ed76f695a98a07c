#pragma once
// The unit in which temperatures are shown, and the one owner of its conversions and of a
// temperature's text. The engine computes in degrees C throughout; a temperature is converted
// only where it is read or shown.

#include <optional>
#include <string>
#include <string_view>

namespace project1 {

enum class TemperatureUnit { Celsius, Fahrenheit, Kelvin };

// Kelvin is degrees C from absolute zero; a degree F is 1.8 of a degree C, 32 °F at 0 °C.
inline constexpr double kKelvinOfZeroCelsius = 273.15;
inline constexpr double kFahrenheitPerCelsius = 1.8;
inline constexpr double kFahrenheitOfZeroCelsius = 32;

// t_c degrees C in `unit`.
constexpr double FromCelsius(double t_c, TemperatureUnit unit) {
  switch (unit) {
    case TemperatureUnit::Fahrenheit:
      return t_c * 9.0 / 5.0 + kFahrenheitOfZeroCelsius;
    case TemperatureUnit::Kelvin:
      return t_c + kKelvinOfZeroCelsius;
    case TemperatureUnit::Celsius:
      break;
  }
  return t_c;
}

// t in `unit` in degrees C: FromCelsius's inverse.
constexpr double ToCelsius(double t, TemperatureUnit unit) {
  switch (unit) {
    case TemperatureUnit::Fahrenheit:
      return (t - kFahrenheitOfZeroCelsius) / kFahrenheitPerCelsius;
    case TemperatureUnit::Kelvin:
      return t - kKelvinOfZeroCelsius;
    case TemperatureUnit::Celsius:
      break;
  }
  return t;
}

// A step or difference of temperature in `unit` in degrees C: a kelvin is a degree C.
constexpr double StepToCelsius(double step, TemperatureUnit unit) {
  return unit == TemperatureUnit::Fahrenheit ? step / kFahrenheitPerCelsius : step;
}

// Absolute zero in `unit`, each a literal: -273.15 °C, -459.67 °F, 0 K.
constexpr double AbsoluteZero(TemperatureUnit unit) {
  switch (unit) {
    case TemperatureUnit::Fahrenheit:
      return -459.67;
    case TemperatureUnit::Kelvin:
      return 0;
    case TemperatureUnit::Celsius:
      break;
  }
  return -kKelvinOfZeroCelsius;
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

// The unit a unit's name names, as the tool's --temperature-unit reads it: "C", "F" or "K", in
// either case; none for any other text.
constexpr std::optional<TemperatureUnit> UnitNamed(std::string_view name) {
  if (name.size() != 1) return std::nullopt;
  switch (name[0]) {
    case 'C':
    case 'c':
      return TemperatureUnit::Celsius;
    case 'F':
    case 'f':
      return TemperatureUnit::Fahrenheit;
    case 'K':
    case 'k':
      return TemperatureUnit::Kelvin;
    default:
      return std::nullopt;
  }
}

// The unit a letter names: "F" or "f" Fahrenheit, "K" or "k" Kelvin, any other Celsius (as the
// suffix of a temperature the tool was given, "160f" for 160F).
constexpr TemperatureUnit UnitOfLetter(char letter) {
  return UnitNamed(std::string_view(&letter, 1)).value_or(TemperatureUnit::Celsius);
}

// A temperature as a person reads it: its number's text (in the number pattern the caller
// shows), a blank and the unit's symbol: "71 °C", "160.0 °F", "344.15 K".
inline std::string DegreesText(std::string_view number,
                               TemperatureUnit unit = TemperatureUnit::Celsius) {
  std::string text(number);
  text += ' ';
  text += UnitSymbol(unit);
  return text;
}

}  // namespace project1
