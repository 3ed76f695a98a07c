#pragma once
// What each command answers, as a function of typed values that its Declare function (commands.h)
// calls once the options are read and returns the answer's bytes. The commands about one oil (at,
// table, temperature-for, index, blend, bearing) share their options, read once into what the
// command works on (OilCommand).

#include <optional>
#include <span>
#include <string>

#include "bearing/bearing.h"
#include "bearing/life.h"
#include "cli/oil.h"
#include "cli/output.h"
#include "engine/temperature_unit.h"

namespace CLI {
class App;
}  // namespace CLI

namespace project1::cli {

// The options of every command about one oil: the oil, --format and --temperature-unit.
struct OilCommandOptions {
  OilOptions oil;
  Format format = Format::Text;
  TemperatureUnit unit = TemperatureUnit::Celsius;
};

// Whether a command writes temperatures, and so takes --temperature-unit.
enum class WritesTemperatures { Yes, No };

// Declares the oil's options, --format and, where the command writes temperatures,
// --temperature-unit.
void AddOilCommandOptions(CLI::App& command, OilCommandOptions& options, OilGravity gravity,
                          WritesTemperatures temperatures = WritesTemperatures::Yes);

// What a command about one oil works on: the format and unit of its answer, and the oil.
struct OilCommand {
  Format format = Format::Text;
  TemperatureUnit unit = TemperatureUnit::Celsius;
  Oil oil;
};

// The options' command: the oil resolved (ResolveOil), refused with its message.
OilCommand ResolveOilCommand(const OilCommandOptions& options);

// `viscosity at`: the oil's viscosities at each temperature, in degrees C.
std::string RunAt(const OilCommand& command, std::span<const double> temperatures_c);
// `viscosity table`: the table at the temperatures, in degrees C (TableTemperatures); in text,
// the table file's format.
std::string RunTable(const OilCommand& command, std::span<const double> temperatures_c);
// `viscosity temperature-for`: the temperature at which the oil reaches `kinematic_cst`.
std::string RunTemperatureFor(const OilCommand& command, double kinematic_cst);
// `viscosity index`: the viscosity index, grades and Saybolt seconds.
std::string RunIndex(const OilCommand& command);

// How much of the second oil a blend takes: `fraction` (0 to 1, checked), or the fraction that
// gives the blend `target_cst` at the blend's temperature.
struct BlendShare {
  std::optional<double> fraction;
  std::optional<double> target_cst;
};
// `viscosity blend`: the command's oil blended with `second` at t_c degrees C.
std::string RunBlend(const OilCommand& command, const Oil& second, double t_c, BlendShare share);

// A rolling bearing as the bearing commands are given it: its mean diameter and speed, and the
// viscosity it needs (ν1).
struct Bearing {
  double mean_diameter_mm = 0;
  double speed_rpm = 0;
  double rated_cst = 0;
};

// `viscosity bearing`: the oil on `bearing` at each temperature, in degrees C, with its lives when
// `life` is given.
std::string RunBearing(const OilCommand& command, const Bearing& bearing,
                       const std::optional<LifeInputs>& life,
                       std::span<const double> temperatures_c);

// What `viscosity select-grade` is asked.
struct GradeQuestion {
  Format format = Format::Text;
  TemperatureUnit unit = TemperatureUnit::Celsius;
  Bearing bearing;
  double temperature_c = 0;
  double viscosity_index = kDefaultViscosityIndex;
  GradeBasis basis = GradeBasis::Nominal;
  std::optional<LifeInputs> life;    // the bearing's loads, for each grade's L_nmh
  std::optional<double> life_hours;  // the L_nmh the grade must give
};
// `viscosity select-grade`: the grades on the bearing, the smallest that is enough marked.
std::string RunSelectGrade(const GradeQuestion& question);

// `viscosity oils`: the catalogue and the user's oils.
std::string RunOilsList(Format format);

}  // namespace project1::cli
