#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <functional>

#include "engine/fit_points.h"
#include "engine/oil_properties.h"
#include "engine/table_text.h"
#include "error/error.h"
#include "numtext/numtext.h"
#include "oils/oil_limits.h"

namespace project1::cli {

namespace {

// Runs `read`, whose messages name only the text, naming `option` in them: 'is not a number'
// of "abc" becomes '--v40 "abc" is not a number.' An error already about a named input passes.
template <typename Read>
double Prefixed(std::string_view option, Read read) {
  try {
    return read();
  } catch (const Error& error) {
    if (!error.subject().empty()) throw;
    throw Error(error.kind(), std::string(option) + " " + error.what(), option);
  }
}

// A number option's transformer: the text read by the program's rules, refused with the message
// `check` gives (none: accepted), else replaced by a decimal form that CLI11 reads back to the
// same double.
CLI::Validator NumberValidator(std::function<std::string(double)> check) {
  return CLI::Validator(
      [check = std::move(check)](std::string& text) -> std::string {
        double value = 0;
        try {
          value = TextToNumber(text);
        } catch (const Error& error) {
          return error.what();
        }
        std::string problem = check(value);
        if (!problem.empty()) return problem;
        // 17 significant digits lie within 0.9 of half the number's last place of it, so that
        // CLI11, which reads them through a long double, rounds them back to it exactly.
        char exact[64];
        char* end =
            std::to_chars(exact, exact + sizeof exact, value, std::chars_format::scientific, 16)
                .ptr;
        text.assign(exact, end);
        return {};
      },
      "");
}

// "a, b, c" or "a, b and c".
template <typename Item, typename Text>
std::string Listed(std::span<const Item> items, Text text, std::string_view last) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += i + 1 == items.size() ? last : ", ";
    out += text(items[i]);
  }
  return out;
}

// A transformer of one of the texts `read` knows into the index it gives (an enum's value), refused
// with '"cube" is not one of ball, roller.' naming the `list` of the texts.
CLI::Validator Choice(std::function<std::optional<std::size_t>(std::string_view)> read,
                      std::string list) {
  return CLI::Validator(
      [read = std::move(read), list = std::move(list)](std::string& text) -> std::string {
        const std::optional<std::size_t> index = read(text);
        if (!index) return "\"" + text + "\" is not one of " + list + ".";
        text = std::to_string(*index);
        return {};
      },
      "");
}

constexpr const char* kTemperatureNote =
    "Temperatures are in °C; a suffix F or K reads them in °F or K (160F, 344.15K), and C in °C "
    "(40C).";

}  // namespace

void Usage(const std::string& message) { throw Error(ErrorKind::BadUsage, message); }

CLI::Option* AddTextOption(CLI::App& command, const std::string& name,
                           std::optional<std::string>& text, const std::string& description) {
  return command.add_option_function<std::string>(
      name, [&text](const std::string& given) { text = given; }, description);
}

CLI::Option* AddRepeatedOption(CLI::App& command, const std::string& name,
                               std::vector<std::string>& texts, const std::string& description) {
  return command.add_option(name, texts, description)
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

void AddLawOption(CLI::App& command, Law& law) {
  command.add_option("--law", law, "viscosity-temperature law: walther or d341")
      ->transform(ChoiceOf(LawNames()))
      ->type_name("LAW")
      ->default_str(std::string(LawName(Law::Walther)));
}

void AddPointOption(CLI::App& command, std::vector<std::string>& points,
                    const std::string& description) {
  AddRepeatedOption(command, "--point", points, description)->type_name("T=CST");
}

void AddTemperatureUnitOption(CLI::App& command, TemperatureUnit& unit) {
  command.add_option("--temperature-unit", unit, "unit of the temperatures written: C, F or K")
      ->transform(UnitChoice())
      ->type_name("UNIT")
      ->default_str(std::string(UnitLetter(TemperatureUnit::Celsius)));
}

void AddFormatOption(CLI::App& command, Format& format) {
  command.add_option("--format", format, "text (for a person), csv or json")
      ->transform(ChoiceOf(FormatNames()))
      ->type_name("FORMAT")
      ->default_str(std::string(FormatNames()[static_cast<int>(Format::Text)]));
}

void AddSpanOptions(CLI::App& command, std::optional<std::string>& from,
                    std::optional<std::string>& to, const std::string& first,
                    const std::string& last) {
  AddTextOption(command, "--from", from, first)
      ->type_name("T")
      ->default_str(NumberToText(kTableFromC));
  AddTextOption(command, "--to", to, last)->type_name("T")->default_str(NumberToText(kTableToC));
}

CLI::Option* AddOutputOption(CLI::App& command, std::optional<std::string>& file,
                             const std::string& description) {
  return AddTextOption(command, "-o,--output", file, description)->type_name("FILE");
}

std::string Footer(const std::string& example, unsigned formulas) {
  std::string lines;
  const auto add = [&lines](const std::string& formula) { lines += "  " + formula + "\n"; };
  if (formulas & kLawFormulas) {
    add(LawFormula(Law::Walther));
    add(LawFormula(Law::D341));
  }
  if (formulas & kBlendFormula) add(BlendFormula());
  if (formulas & kDynamicFormula) add(DynamicFormula());
  if (formulas & kExpansionFormula) add(ExpansionFormula());
  const std::string stated = lines.empty() ? "" : "Formulas:\n" + lines + "\n";
  return stated + kTemperatureNote + "\n\nExample:\n  " + example;
}

CLI::Validator NumberAbove0(std::string unit) {
  return NumberValidator([unit = std::move(unit)](double value) -> std::string {
    if (value > 0) return {};
    return "must be above 0 " + unit + "; it is " + NumberToText(value) + ".";
  });
}

CLI::Validator NumberFromTo(double low, double high) {
  return NumberValidator([low, high](double value) -> std::string {
    if (value >= low && value <= high) return {};
    return "must be from " + NumberToText(low) + " to " + NumberToText(high) + "; it is " +
           NumberToText(value) + ".";
  });
}

CLI::Validator NumberOneOf(std::span<const double> values, std::string unit) {
  return NumberValidator([values, unit = std::move(unit)](double value) -> std::string {
    for (const double one : values) {
      if (one == value) return {};
    }
    return "must be one of " +
           Listed(
               values, [](double one) { return NumberToText(one); }, " and ") +
           " " + unit + "; it is " + NumberToText(value) + ".";
  });
}

CLI::Validator ChoiceOf(std::span<const std::string_view> names) {
  return Choice(
      [names](std::string_view text) -> std::optional<std::size_t> {
        const auto found = std::find(names.begin(), names.end(), text);
        if (found == names.end()) return std::nullopt;
        return static_cast<std::size_t>(found - names.begin());
      },
      Listed(
          names, [](std::string_view name) { return std::string(name); }, ", "));
}

CLI::Validator UnitChoice() {
  static constexpr TemperatureUnit kUnits[] = {
      TemperatureUnit::Celsius, TemperatureUnit::Fahrenheit, TemperatureUnit::Kelvin};
  return Choice(
      [](std::string_view text) -> std::optional<std::size_t> {
        const std::optional<TemperatureUnit> unit = UnitNamed(text);
        if (!unit) return std::nullopt;
        return static_cast<std::size_t>(*unit);
      },
      Listed(
          std::span<const TemperatureUnit>(kUnits),
          [](TemperatureUnit unit) { return std::string(UnitLetter(unit)); }, ", "));
}

ViscosityPoint PointOption(const std::string& text) {
  const auto sides = SplitPoint(text);
  if (!sides) Usage("--point \"" + text + "\" is not " + std::string(kPointForm) + ".");
  return {OptionTemperature("--point", sides->first), OptionNumber("--point", sides->second)};
}

double OptionNumber(std::string_view option, std::string_view text) {
  return Prefixed(option, [&] { return TextToNumber(text); });
}

double OptionTemperature(std::string_view option, std::string_view text) {
  return Prefixed(option, [&] { return TextToTemperature(text, {}); });
}

double OptionTemperatureStep(std::string_view option, std::string_view text) {
  return Prefixed(option, [&] { return TextToTemperatureStep(text, {}); });
}

double GravityOption(std::string_view option, std::string_view text) {
  const double sg = OptionNumber(option, text);
  // A density typed as a gravity; a text with a comma is told about the comma instead.
  if (const std::optional<std::string> density =
          DensityTypedAsGravity(option, sg, text, "--density " + std::string(text))) {
    Usage(*density);
  }
  return CheckedGravity(option, sg, text);
}

double DensityOption(std::string_view option, std::string_view text) {
  return GravityFromDensity(CheckedDensity(option, OptionNumber(option, text)));
}

double ExpansionOption(std::string_view option, std::string_view text) {
  return CheckedExpansion(option, OptionNumber(option, text));
}

}  // namespace project1::cli
