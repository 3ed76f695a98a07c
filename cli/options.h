#pragma once
// The options more than one command takes, each declared by one helper, and the readers of
// option texts. A name of a format, law, unit or other choice is read into its enum as the
// arguments are parsed (ChoiceOf, UnitChoice); a number's or temperature's text is kept as typed
// and read when the command runs, so that its messages name the option.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/output.h"
#include "engine/temperature_unit.h"
#include "engine/viscosity_line.h"

namespace CLI {
class App;
class Option;
class Validator;
}  // namespace CLI

namespace project1::cli {

// A usage mistake the parser cannot see: Error(BadUsage) with `message`.
[[noreturn]] void Usage(const std::string& message);

// An option whose text is kept as typed; absent when not given.
CLI::Option* AddTextOption(CLI::App& command, const std::string& name,
                           std::optional<std::string>& text, const std::string& description);
// An option that may be given again and again (--point, --at, chart's --oil).
CLI::Option* AddRepeatedOption(CLI::App& command, const std::string& name,
                               std::vector<std::string>& texts, const std::string& description);

// --law walther|d341.
void AddLawOption(CLI::App& command, Law& law);
// --point T=CST, repeated.
void AddPointOption(CLI::App& command, std::vector<std::string>& points,
                    const std::string& description);
// --temperature-unit C|F|K, the unit of every temperature the command writes.
void AddTemperatureUnitOption(CLI::App& command, TemperatureUnit& unit);
// --format text|csv|json.
void AddFormatOption(CLI::App& command, Format& format);
// --from T and --to T, by default the table file's range; `first` and `last` say what they are.
void AddSpanOptions(CLI::App& command, std::optional<std::string>& from,
                    std::optional<std::string>& to, const std::string& first,
                    const std::string& last);
// -o,--output FILE.
CLI::Option* AddOutputOption(CLI::App& command, std::optional<std::string>& file,
                             const std::string& description);

// The formulas a command's help states, one line each, as flags to combine.
enum Formulas : unsigned {
  kNoFormulas = 0,
  kLawFormulas = 1,       // both laws
  kBlendFormula = 2,      // Refutas
  kDynamicFormula = 4,    // ν · SG · ρ_water
  kExpansionFormula = 8,  // the gravity at t
};

// The command's formulas, a note on temperatures and the command's example, for the end of its
// help.
std::string Footer(const std::string& example, unsigned formulas = kNoFormulas);

// A number or temperature typed for `option`: the number rules and messages of the window,
// prefixed with the option's name ('--v40 "abc" is not a number.').
double OptionNumber(std::string_view option, std::string_view text);
double OptionTemperature(std::string_view option, std::string_view text);
// A temperature step in °C, with the suffixes of a temperature ("10F" is a step of 10 °F).
double OptionTemperatureStep(std::string_view option, std::string_view text);

// A specific gravity typed for `option`, refused outside 0.5 to 3 (oils/oil_limits.h).
double GravityOption(std::string_view option, std::string_view text);
// The specific gravity of a density at 15 °C typed for `option` in kg/m³ (SG = rho15 / 999.10),
// refused outside 500 to 3,000.
double DensityOption(std::string_view option, std::string_view text);
// A thermal expansion coefficient typed for `option`, refused outside 0 to 0.005 per °C.
double ExpansionOption(std::string_view option, std::string_view text);

// Transformers that read an option into a typed value as CLI11 parses it (add_option(...)
// ->transform(...)), with the program's rules and messages: a refusal reads '--load must be above
// 0 kN; it is 0.' or '--type "cube" is not one of ball, roller.' (the tool's parser message
// puts the option's name first).
// A number read by the program's number rules and handed on exactly, refused when `unit` is
// given and it is not above 0.
CLI::Validator NumberAbove0(std::string unit);
// A number from `low` to `high`.
CLI::Validator NumberFromTo(double low, double high);
// A number that is one of `values`, followed by `unit` in the message.
CLI::Validator NumberOneOf(std::span<const double> values, std::string unit);
// One of `names`, handed on as its index (an enum's value when the names are in its order).
CLI::Validator ChoiceOf(std::span<const std::string_view> names);
// A unit's name as UnitNamed reads it, handed on as the unit's value.
CLI::Validator UnitChoice();

// A measured point typed for --point as T=CST.
ViscosityPoint PointOption(const std::string& text);

}  // namespace project1::cli
