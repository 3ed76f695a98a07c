// The engine as the Python module `project1`: each function asks the engine, the catalogue, the
// user's oils and the bearing library, element by element over NumPy arrays broadcast together.
// Every refusal is the engine's own error, raised as ValueError naming the argument.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "bearing/bearing.h"
#include "bearing/life.h"
#include "catalogue/catalogue.h"
#include "engine/model.h"
#include "engine/oil_properties.h"
#include "engine/sae_grades.h"
#include "engine/temperature_unit.h"
#include "engine/viscosity_line.h"
#include "error/error.h"
#include "numtext/numtext.h"
#include "oils/oil_directory.h"
#include "oils/oil_limits.h"
#include "project1/version.h"
#include "python/broadcast.h"
#include "user_oils/user_oils.h"

namespace project1::python {

namespace {

using namespace pybind11::literals;

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

Law LawArg(const std::string& name) {
  try {
    return LawFromName(name);
  } catch (const Error& error) {
    throw py::value_error(std::string("law: ") + error.what());
  }
}

// A temperature unit argument: "C", "F" or "K", as the tool's --temperature-unit reads them.
TemperatureUnit UnitArg(const char* name, const std::string& text) {
  if (const std::optional<TemperatureUnit> unit = UnitNamed(text)) return *unit;
  throw py::value_error(std::string(name) + ": \"" + text + "\" is not one of C, F, K.");
}

// The line through (40 C, nu40) and (100 C, nu100): an error about one viscosity blames its
// argument, any other both.
ViscosityLine FitBlamed(Law law, double nu40, double nu100, unsigned arg40, unsigned arg100) {
  try {
    return FitLine40100(law, nu40, nu100);
  } catch (const Error& error) {
    const unsigned args = error.subject() == kVisc40Name    ? arg40
                          : error.subject() == kVisc100Name ? arg100
                                                            : arg40 | arg100;
    throw Blamed{args, error};
  }
}

// A fitted line kept for the next element while the oil stays the same (one oil over many
// temperatures fits once).
struct LineCache {
  bool valid = false;
  double first = 0, second = 0;
  ViscosityLine line;
  template <typename Fit>
  const ViscosityLine& Get(double a, double b, Fit fit) {
    if (!valid || a != first || b != second) {
      valid = false;
      line = fit();
      first = a;
      second = b;
      valid = true;
    }
    return line;
  }
};

py::object KinematicAtFunction(const py::object& v40, const py::object& v100, const py::object& t,
                               const py::object& vi, const std::string& law_name,
                               const std::string& unit_name) {
  const Law law = LawArg(law_name);
  const TemperatureUnit unit = UnitArg("unit", unit_name);
  if (t.is_none()) throw py::type_error("kinematic_at() needs the temperatures t.");
  if (v100.is_none() == vi.is_none()) {
    throw py::value_error(vi.is_none() ? "Give v100 or vi." : "Give v100 or vi, not both.");
  }
  LineCache cache;
  if (vi.is_none()) {
    const std::array<Arg, 3> args{ArgOf("v40", v40), ArgOf("v100", v100), ArgOf("t", t)};
    return Broadcast(args, [&](const std::array<double, 3>& x) {
      const ViscosityLine& line =
          cache.Get(x[0], x[1], [&] { return FitBlamed(law, x[0], x[1], ArgBit(0), ArgBit(1)); });
      const double t_c = Blame(ArgBit(2), [&] { return TemperatureToCelsius(x[2], unit); });
      return Blame(ArgBit(2), [&] { return KinematicAt(line, t_c); });
    });
  }
  const std::array<Arg, 3> args{ArgOf("v40", v40), ArgOf("vi", vi), ArgOf("t", t)};
  return Broadcast(args, [&](const std::array<double, 3>& x) {
    const ViscosityLine& line = cache.Get(x[0], x[1], [&] {
      const double nu100 =
          Blame(ArgBit(0) | ArgBit(1), [&] { return RequireNu100ForIndex(x[0], x[1]); });
      return FitBlamed(law, x[0], nu100, ArgBit(0), ArgBit(1));
    });
    const double t_c = Blame(ArgBit(2), [&] { return TemperatureToCelsius(x[2], unit); });
    return Blame(ArgBit(2), [&] { return KinematicAt(line, t_c); });
  });
}

// ---- A line through measured points -------------------------------------------------------------

struct Line {
  ViscosityLine line;
  std::vector<ViscosityPoint> points;
};

Line LineFromPoints(const py::object& temperatures, const py::object& viscosities,
                    const std::string& law_name, const std::string& unit_name) {
  const Law law = LawArg(law_name);
  const TemperatureUnit unit = UnitArg("unit", unit_name);
  const Arg t = ArgOf("temperatures", temperatures);
  const Arg nu = ArgOf("viscosities", viscosities);
  if (t.values.ndim() != 1 || nu.values.ndim() != 1 || t.values.size() != nu.values.size()) {
    throw py::value_error(
        "temperatures and viscosities must be two sequences of numbers of one length.");
  }
  const std::array<Arg, 1> in{t};
  const py::array_t<double> celsius = Broadcast(in, [&](const std::array<double, 1>& x) {
    return Blame(ArgBit(0), [&] { return TemperatureToCelsius(x[0], unit); });
  });
  Line line;
  const auto c = celsius.unchecked<1>();
  const auto n = nu.values.unchecked<1>();
  for (py::ssize_t i = 0; i < c.shape(0); ++i) line.points.push_back({c(i), n(i)});
  try {
    line.line = FitLine(law, line.points);
  } catch (const Error& error) {
    throw py::value_error(std::string("temperatures, viscosities: ") + error.what());
  }
  return line;
}

// ---- Dynamic viscosity --------------------------------------------------------------------------

enum class DynamicUnit { MpaS, Reyn, PaS };

DynamicUnit DynamicUnitArg(const std::string& text) {
  if (text == "mPa*s") return DynamicUnit::MpaS;
  if (text == "reyn") return DynamicUnit::Reyn;
  if (text == "Pa*s") return DynamicUnit::PaS;
  throw py::value_error("unit: \"" + text + "\" is not one of mPa*s, reyn, Pa*s.");
}

py::object DynamicViscosityFunction(const py::object& nu, const py::object& sg, const py::object& t,
                                    const std::string& unit_name, const py::object& expansion,
                                    const std::string& t_unit_name) {
  const DynamicUnit unit = DynamicUnitArg(unit_name);
  const TemperatureUnit t_unit = UnitArg("t_unit", t_unit_name);
  if (!expansion.is_none() && t.is_none()) {
    throw py::value_error("expansion needs the temperature t of the viscosity nu.");
  }
  const auto in_unit = [unit](double reyn) {
    return unit == DynamicUnit::Reyn  ? reyn
           : unit == DynamicUnit::PaS ? ReynToPaS(reyn)
                                      : ReynToMpaS(reyn);
  };
  const auto checked_gravity = [](double sg15) {
    return Blame(ArgBit(1), [&] { return CheckedGravity("The specific gravity", sg15, {}); });
  };
  // The gravity's errors blame sg; any other the viscosity.
  const auto reyn_of = [](double nu_cst, double gravity, unsigned gravity_args) {
    try {
      return DynamicReyn(nu_cst, gravity);
    } catch (const Error& error) {
      throw Blamed{InputOf(error) == CalculationInput::Gravity ? gravity_args : ArgBit(0), error};
    }
  };
  if (expansion.is_none()) {
    const std::array<Arg, 2> args{ArgOf("nu", nu), ArgOf("sg", sg)};
    return Broadcast(args, [&](const std::array<double, 2>& x) {
      return in_unit(reyn_of(x[0], checked_gravity(x[1]), ArgBit(1)));
    });
  }
  const std::array<Arg, 4> args{ArgOf("nu", nu), ArgOf("sg", sg), ArgOf("expansion", expansion),
                                ArgOf("t", t)};
  return Broadcast(args, [&](const std::array<double, 4>& x) {
    const double sg15 = checked_gravity(x[1]);
    const double alpha = Blame(
        ArgBit(2), [&] { return CheckedExpansion("The thermal expansion coefficient", x[2]); });
    const double t_c = Blame(ArgBit(3), [&] { return TemperatureToCelsius(x[3], t_unit); });
    const double gravity =
        Blame(ArgBit(1) | ArgBit(2) | ArgBit(3), [&] { return ExpandedGravity(sg15, alpha, t_c); });
    return in_unit(reyn_of(x[0], gravity, ArgBit(1) | ArgBit(2) | ArgBit(3)));
  });
}

// ---- Functions of one or two numbers ------------------------------------------------------------

// `f(x)` over an array, its errors blaming the argument.
template <typename F>
py::object Unary(const char* name, const py::object& x, F f) {
  const std::array<Arg, 1> args{ArgOf(name, x)};
  return Broadcast(args, [&](const std::array<double, 1>& v) {
    return Blame(ArgBit(0), [&] { return f(v[0]); });
  });
}

// `f(x, y)` over arrays broadcast, its errors blaming both arguments.
template <typename F>
py::object Binary(const char* x_name, const py::object& x, const char* y_name, const py::object& y,
                  F f) {
  const std::array<Arg, 2> args{ArgOf(x_name, x), ArgOf(y_name, y)};
  return Broadcast(args, [&](const std::array<double, 2>& v) {
    return Blame(ArgBit(0) | ArgBit(1), [&] { return f(v[0], v[1]); });
  });
}

// The same over three.
template <typename F>
py::object Ternary(const char* x_name, const py::object& x, const char* y_name, const py::object& y,
                   const char* z_name, const py::object& z, F f) {
  const std::array<Arg, 3> args{ArgOf(x_name, x), ArgOf(y_name, y), ArgOf(z_name, z)};
  return Broadcast(args, [&](const std::array<double, 3>& v) {
    return Blame(ArgBit(0) | ArgBit(1) | ArgBit(2), [&] { return f(v[0], v[1], v[2]); });
  });
}

// A float result that may be "no value": None for a number, NaN in an array; a number that is
// whole by its nature (`whole`) an int.
py::object NoneForNan(py::object result, bool whole = false) {
  if (!py::isinstance<py::float_>(result)) return result;
  const double value = result.cast<double>();
  if (std::isnan(value)) return py::none();
  if (whole) return py::int_(static_cast<long>(value));
  return result;
}

// `words(x)` for each element of x: a list of texts for a number, an object array of them for
// an array.
template <typename Words>
py::object WordsOver(const char* name, const py::object& x, Words words) {
  const Arg arg = ArgOf(name, x);
  const std::array<Arg, 1> args{arg};
  std::vector<py::object> each;
  Broadcast(args, [&](const std::array<double, 1>& v) {
    each.push_back(Blame(ArgBit(0), [&] { return words(v[0]); }));
    return 0.0;
  });
  if (arg.values.ndim() == 0) return each.front();
  const py::module_ numpy = py::module_::import("numpy");
  py::array result = numpy.attr("empty")(each.size(), "dtype"_a = "object");
  for (std::size_t i = 0; i < each.size(); ++i) result[py::int_(i)] = each[i];
  return result.attr("reshape")(arg.values.attr("shape"));
}

// ---- A bearing's life ---------------------------------------------------------------------------

BearingType BearingTypeArg(const std::string& name) {
  if (const std::optional<BearingType> type = BearingTypeNamed(name)) return *type;
  std::string names;
  const auto all = BearingTypeNames();
  for (std::size_t i = 0; i < all.size(); ++i) {
    names += (i == 0 ? "" : ", ") + std::string(all[i]);
  }
  throw py::value_error("type: \"" + name + "\" is not one of " + names + ".");
}

// a_ISO (`hours` false) or L_nmh of the bearing at each kappa: NaN where kappa is below the life
// method's. The bearing's errors blame its arguments, the viscosity ratio's kappa.
py::object LifeFunction(bool hours, const py::object& kappa, const py::object& rating,
                        const py::object& load, const py::object& speed,
                        const py::object& contamination, const py::object& fatigue_load,
                        const std::string& type_name, double reliability, bool ep) {
  const BearingType type = BearingTypeArg(type_name);
  const std::array<Arg, 6> args{ArgOf("kappa", kappa),
                                ArgOf("rating", rating),
                                ArgOf("load", load),
                                ArgOf("speed", speed),
                                ArgOf("contamination", contamination),
                                ArgOf("fatigue_load", fatigue_load)};
  constexpr unsigned kBearing = ArgBit(1) | ArgBit(2) | ArgBit(3) | ArgBit(4) | ArgBit(5);
  return NoneForNan(Broadcast(args, [&](const std::array<double, 6>& x) {
    LifeInputs inputs;
    inputs.type = type;
    inputs.rating_kn = x[1];
    inputs.load_kn = x[2];
    inputs.speed_rpm = x[3];
    inputs.reliability_percent = reliability;
    inputs.contamination = x[4];
    inputs.fatigue_load_kn = x[5];
    inputs.ep = ep;
    const BasicLife basic = Blame(kBearing, [&] { return BasicLifeOf(inputs); });
    const ModifiedLife life = Blame(ArgBit(0), [&] { return ModifiedLifeAt(inputs, basic, x[0]); });
    const std::optional<double> value = hours ? life.modified_rating_life_hours : life.a_iso;
    return value ? *value : kNone;
  }));
}

// ---- Oils ---------------------------------------------------------------------------------------

py::dict Record(std::string_view name, double nu40, double nu100, std::optional<double> sg,
                std::string_view note, std::string_view source) {
  return py::dict("name"_a = std::string(name), "v40"_a = nu40, "v100"_a = nu100,
                  "sg"_a = sg ? py::object(py::float_(*sg)) : py::object(py::none()),
                  "note"_a = std::string(note), "source"_a = std::string(source));
}

void Warn(const std::string& message) {
  PyErr_WarnEx(PyExc_UserWarning, message.c_str(), 1) == 0 ? void() : throw py::error_already_set();
}

// The user's oils as the tool reads them, each problem of the file a warning; none where the
// system names no folder for them.
UserOilLibrary ReadUsersOils() {
  UserOilLibrary library;
  try {
    library = ReadUserOils(UserOilsPath());
  } catch (const Error&) {
    return library;
  }
  for (const std::string& problem : library.problems) Warn(problem);
  return library;
}

py::list Catalogue() {
  py::list records;
  for (const Lubricant& oil : LubricantCatalogue) {
    records.append(Record(oil.name, oil.nu40, oil.nu100, oil.gravity, "", "catalogue"));
  }
  return records;
}

py::list UsersOilsList() {
  py::list records;
  for (const UserOil& oil : ReadUsersOils().oils) {
    records.append(Record(oil.name, oil.nu40, oil.nu100, oil.gravity, oil.note, "user"));
  }
  return records;
}

py::dict OilNamed(const std::string& name) {
  const UserOilLibrary library = ReadUsersOils();
  try {
    const FoundOil found = project1::OilNamed("name", name, library.oils);
    if (found.shadowed) Warn(ShadowedByCatalogueNotice(name));
    const DirectoryOil& oil = found.oil;
    return Record(oil.name, oil.nu40, oil.nu100, oil.gravity, oil.note,
                  oil.catalogue ? "catalogue" : "user");
  } catch (const Error& error) {
    throw py::value_error(error.what());
  }
}

}  // namespace

PYBIND11_MODULE(project1, m) {
  m.doc() =
      "The viscosity of lubricating oils: the engine of the viscosity tool and its window, the "
      "same digits. Every function takes numbers or NumPy arrays, broadcast together as NumPy "
      "broadcasts them. Viscosities are kinematic in cSt (mm^2/s) unless said otherwise; "
      "temperatures are in degrees C unless a unit says otherwise. A refused input raises "
      "ValueError with the tool's message, naming the argument and, in an array, the first bad "
      "element's index.";
  m.attr("__version__") = std::string(kVersion);

  m.def("kinematic_at", &KinematicAtFunction, "v40"_a, "v100"_a = py::none(), "t"_a = py::none(),
        py::kw_only(), "vi"_a = py::none(), "law"_a = "walther", "unit"_a = "C",
        "Kinematic viscosity in cSt at the temperatures t of the oil of v40 cSt at 40 °C and "
        "v100 cSt at 100 °C, or of v40 and the viscosity index vi (give one of v100 and vi).\n\n"
        "law: 'walther' (the window's line) or 'd341'. unit: 'C', 'F' or 'K', the unit of t.");

  py::class_<Line>(m, "Line",
                   "A viscosity-temperature line fitted through measured points (see "
                   "line_from_points).")
      .def_property_readonly(
          "law", [](const Line& l) { return std::string(LawName(l.line.law)); },
          "The law the line follows: 'walther' or 'd341'.")
      .def_property_readonly(
          "a", [](const Line& l) { return l.line.a; },
          "The constant A of log10 log10 Z = A - B log10 T.")
      .def_property_readonly(
          "b", [](const Line& l) { return l.line.b; },
          "The constant B of log10 log10 Z = A - B log10 T.")
      .def(
          "kinematic_at",
          [](const Line& l, const py::object& t, const std::string& unit_name) {
            const TemperatureUnit unit = UnitArg("unit", unit_name);
            const std::array<Arg, 1> args{ArgOf("t", t)};
            return Broadcast(args, [&](const std::array<double, 1>& x) {
              const double t_c = Blame(ArgBit(0), [&] { return TemperatureToCelsius(x[0], unit); });
              return Blame(ArgBit(0), [&] { return KinematicAt(l.line, t_c); });
            });
          },
          "t"_a, "unit"_a = "C",
          "Kinematic viscosity in cSt on the line at the temperatures t (in unit: 'C', 'F' or "
          "'K').")
      .def(
          "temperature_for",
          [](const Line& l, const py::object& nu, const std::string& unit_name) {
            const TemperatureUnit unit = UnitArg("unit", unit_name);
            return Unary("nu", nu,
                         [&](double v) { return FromCelsius(TemperatureFor(l.line, v), unit); });
          },
          "nu"_a, "unit"_a = "C",
          "The temperature at which the line reaches nu cSt, in unit ('C', 'F' or 'K').")
      .def_property_readonly(
          "fit_max_deviation_percent",
          [](const Line& l) -> std::optional<double> {
            if (l.points.size() <= 2) return std::nullopt;
            return MaxDeviationPercent(l.line, l.points);
          },
          "The largest |nu_line / nu_point - 1| x 100 over the points, in percent; None for a "
          "line through two points, which passes through both.")
      .def_property_readonly(
          "deviations_percent",
          [](const Line& l) {
            const std::vector<double> d = DeviationsPercent(l.line, l.points);
            return py::array_t<double>(static_cast<py::ssize_t>(d.size()), d.data());
          },
          "(nu_line / nu_point - 1) x 100 at each point, in percent, in the points' order.")
      .def("__repr__", [](const Line& l) {
        return "<project1.Line " + std::string(LawName(l.line.law)) + " through " +
               std::to_string(l.points.size()) + " points: A=" + ShortestText(l.line.a) +
               " B=" + ShortestText(l.line.b) + ">";
      });

  m.def("line_from_points", &LineFromPoints, "temperatures"_a, "viscosities"_a, py::kw_only(),
        "law"_a = "walther", "unit"_a = "C",
        "The line of law ('walther' or 'd341') through measured points: the temperatures (in "
        "unit: 'C', 'F' or 'K') and the kinematic viscosities there in cSt. Two points give the "
        "line through both; three or more the least-squares fit of the law's coordinates.");

  m.def("dynamic_viscosity", &DynamicViscosityFunction, "nu"_a, "sg"_a, "t"_a = py::none(),
        py::kw_only(), "unit"_a = "mPa*s", "expansion"_a = py::none(), "t_unit"_a = "C",
        "Dynamic viscosity of nu cSt at specific gravity sg (0.5 to 3), in unit: 'mPa*s' (= cP), "
        "'reyn' (lbf*s/in^2) or 'Pa*s'. With expansion (the thermal expansion coefficient per "
        "°C, 0 to 0.005), sg is the gravity at 15 °C and t the temperature of nu (in t_unit: "
        "'C', 'F' or 'K').");

  m.def(
      "viscosity_index",
      [](const py::object& v40, const py::object& v100) {
        const auto index = [](double a, double b) { return ViscosityIndexOf(a, b); };
        py::object rounded = Binary("v40", v40, "v100", v100, [&](double a, double b) {
          const auto vi = index(a, b);
          return vi ? static_cast<double>(vi->rounded) : kNone;
        });
        py::object unrounded = Binary("v40", v40, "v100", v100, [&](double a, double b) {
          const auto vi = index(a, b);
          return vi ? vi->unrounded : kNone;
        });
        return py::make_tuple(NoneForNan(rounded, true), NoneForNan(unrounded));
      },
      "v40"_a, "v100"_a,
      "The viscosity index (ASTM D2270) of the oil of v40 cSt at 40 °C and v100 cSt at 100 °C, "
      "as (rounded, unrounded): the rounded to the nearest whole number, an exact half to the "
      "even one. Not defined below 2 cSt at 100 °C: None for a number, NaN in an array.");

  m.def(
      "v100_for_index",
      [](const py::object& v40, const py::object& vi) {
        return Binary("v40", v40, "vi", vi, &RequireNu100ForIndex);
      },
      "v40"_a, "vi"_a,
      "The viscosity in cSt at 100 °C that gives the oil of v40 cSt at 40 °C the (unrounded) "
      "viscosity index vi.");

  m.def(
      "iso_vg",
      [](const py::object& v40) {
        return NoneForNan(Unary("v40", v40,
                                [](double nu40) {
                                  const std::optional<int> grade = IsoGrade(nu40);
                                  return grade ? static_cast<double>(*grade) : kNone;
                                }),
                          true);
      },
      "v40"_a,
      "The ISO 3448 viscosity grade (VG) whose limits hold v40 cSt at 40 °C: an int for a "
      "number, a float in an array; None (NaN in an array) between grades.");

  m.def(
      "sae_j300_grades",
      [](const py::object& v100) {
        return WordsOver("v100", v100, [](double nu100) { return py::cast(SaeJ300Grades(nu100)); });
      },
      "v100"_a,
      "The SAE J300 engine-oil grades (not W) whose ranges hold v100 cSt at 100 °C, as a list "
      "(an array of lists for an array): the ranges of 8, 12, 16 and 20 overlap. W grades need "
      "low-temperature measurements and are not given.");

  m.def(
      "sae_j306_grade",
      [](const py::object& v100) {
        return WordsOver("v100", v100, [](double nu100) { return py::cast(SaeJ306Grade(nu100)); });
      },
      "v100"_a,
      "The SAE J306 axle and manual-transmission grade (not W) whose range holds v100 cSt at "
      "100 °C, or None below the first.");

  m.def(
      "saybolt_seconds",
      [](const py::object& nu, const py::object& t, const std::string& unit_name) {
        const TemperatureUnit unit = UnitArg("unit", unit_name);
        const std::array<Arg, 2> args{ArgOf("nu", nu), ArgOf("t", t)};
        return Broadcast(args, [&](const std::array<double, 2>& x) {
          const double t_c = Blame(ArgBit(1), [&] { return TemperatureToCelsius(x[1], unit); });
          const double t_f = unit == TemperatureUnit::Fahrenheit
                                 ? x[1]
                                 : FromCelsius(t_c, TemperatureUnit::Fahrenheit);
          return Blame(ArgBit(0) | ArgBit(1), [&] { return SayboltSeconds(x[0], t_f); });
        });
      },
      "nu"_a, "t"_a, "unit"_a = "C",
      "Saybolt universal seconds (ASTM D2161) of nu cSt at the temperature t (in unit: 'C', 'F' "
      "or 'K').");

  m.def(
      "blend",
      [](const py::object& nu_first, const py::object& nu_second, const py::object& fraction) {
        return Ternary("nu_first", nu_first, "nu_second", nu_second, "fraction", fraction,
                       &BlendKinematic);
      },
      "nu_first"_a, "nu_second"_a, "fraction"_a,
      "Kinematic viscosity in cSt of the blend by mass of two oils of nu_first and nu_second "
      "cSt at one temperature, holding the mass fraction (0 to 1) of the second (Refutas "
      "blending number).");

  m.def(
      "blend_fraction",
      [](const py::object& nu_first, const py::object& nu_second, const py::object& target) {
        return Ternary("nu_first", nu_first, "nu_second", nu_second, "target", target,
                       &BlendFractionFor);
      },
      "nu_first"_a, "nu_second"_a, "target"_a,
      "The inverse of blend: the mass fraction of the second oil that gives the blend target "
      "cSt at the temperature of nu_first and nu_second.");

  m.def(
      "mean_diameter",
      [](const py::object& bore, const py::object& outside) {
        return Binary("bore", bore, "outside", outside, &MeanDiameter);
      },
      "bore"_a, "outside"_a,
      "The mean diameter in mm, (d + D) / 2, of a bearing of bore d and outside diameter D in "
      "mm.");

  m.def(
      "rated_viscosity",
      [](const py::object& dm, const py::object& n) {
        return Binary("dm", dm, "n", n, &RatedViscosity);
      },
      "dm"_a, "n"_a,
      "The rated viscosity nu1 in cSt a rolling bearing of mean diameter dm mm needs at n "
      "r/min.");

  m.def(
      "kappa",
      [](const py::object& nu, const py::object& rated) {
        return Binary("nu", nu, "rated", rated, &Kappa);
      },
      "nu"_a, "rated"_a,
      "The viscosity ratio kappa = nu / nu1 of an oil of nu cSt at its running temperature in a "
      "bearing of rated viscosity nu1 = rated cSt.");

  m.def(
      "a_iso",
      [](const py::object& kappa, const py::object& rating, const py::object& load,
         const py::object& speed, const py::object& contamination, const py::object& fatigue_load,
         const std::string& type, double reliability, bool ep) {
        return LifeFunction(false, kappa, rating, load, speed, contamination, fatigue_load, type,
                            reliability, ep);
      },
      "kappa"_a, "rating"_a, "load"_a, "speed"_a, "contamination"_a, "fatigue_load"_a,
      py::kw_only(), "type"_a = "ball", "reliability"_a = 90.0, "ep"_a = false,
      "The life modification factor a_ISO (ISO 281) of a rolling bearing at the viscosity ratio "
      "kappa: rating C and load P in kN, speed in r/min, contamination the factor e_C (0 to 1), "
      "fatigue_load C_u in kN; type 'ball', 'roller', 'thrust-ball' or 'thrust-roller', "
      "reliability in % (90, 95, 96, 97, 98 or 99), ep for an oil whose EP additives are known "
      "to work. None (NaN in an array) below kappa 0.1, outside the life method.");
  m.def(
      "modified_rating_life_hours",
      [](const py::object& kappa, const py::object& rating, const py::object& load,
         const py::object& speed, const py::object& contamination, const py::object& fatigue_load,
         const std::string& type, double reliability, bool ep) {
        return LifeFunction(true, kappa, rating, load, speed, contamination, fatigue_load, type,
                            reliability, ep);
      },
      "kappa"_a, "rating"_a, "load"_a, "speed"_a, "contamination"_a, "fatigue_load"_a,
      py::kw_only(), "type"_a = "ball", "reliability"_a = 90.0, "ep"_a = false,
      "The modified rating life L_nmh = a1 a_ISO L10h (ISO 281) in hours, with the arguments of "
      "a_iso. None (NaN in an array) below kappa 0.1, outside the life method.");

  m.def("catalogue", &Catalogue,
        "The built-in catalogue's ten oils, in list order, as records: dicts of name, v40 and "
        "v100 (cSt at 40 and 100 °C), sg (specific gravity), note and source ('catalogue').");
  m.def("user_oils", &UsersOilsList,
        "The user's own oils (the oils file the tool and the window share), in file order, as "
        "records like catalogue()'s, source 'user' and sg None where not given. Each row of the "
        "file that cannot be read is a warning.");
  m.def("oil", &OilNamed, "name"_a,
        "The oil named name as the tool's --oil finds it: the user's oil of that name unless the "
        "catalogue holds one, else the catalogue's, without regard to case and blanks. A record "
        "like catalogue()'s.");
}

}  // namespace project1::python
