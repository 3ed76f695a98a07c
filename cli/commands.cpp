#include "cli/commands.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "catalogue/catalogue.h"
#include "engine/model.h"
#include "engine/oil_properties.h"
#include "engine/sae_grades.h"
#include "engine/table_file.h"
#include "numtext/error.h"
#include "numtext/numtext.h"

namespace project1::cli {

namespace {

using Json = nlohmann::ordered_json;
using Align = TextTable::Align;

std::string JsonText(const Json& json) {
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

Json Nullable(const std::optional<double>& value) { return value ? Json(*value) : Json(nullptr); }

// CSV of one header line and rows of optional numbers (empty when absent).
std::string CsvText(const std::vector<std::string>& header,
                    const std::vector<std::vector<std::optional<double>>>& rows) {
  std::string out;
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (i > 0) out += ',';
    out += header[i];
  }
  out += '\n';
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) out += ',';
      if (row[i]) AppendShortest(out, *row[i]);
    }
    out += '\n';
  }
  return out;
}

[[noreturn]] void Usage(const std::string& message) {
  throw Error(ErrorKind::TypeMismatch, message);
}

// The table file's header line, as the window writes it.
constexpr double kDefaultFrom = -40;
constexpr double kDefaultTo = 250;
constexpr double kDefaultStep = 5;
constexpr double kMaxTableRows = 1000000;

std::string GradeText(const std::optional<int>& grade) {
  return grade ? "VG " + std::to_string(*grade) : "none";
}

struct IndexAnswer {
  std::optional<ViscosityIndex> index;
  std::optional<int> grade;
};

IndexAnswer IndexOf(double nu40, double nu100) {
  return {ViscosityIndexOf(nu40, nu100), IsoGrade(nu40)};
}

// Whether the temperature `t`, given in any unit, is `celsius`: a conversion from °F or K
// may leave it a rounding error away.
bool AtTemperature(double t, double celsius) { return std::abs(t - celsius) <= 1e-9; }

// The oil's viscosities at one temperature; the dynamic ones only when it has a gravity.
struct Point {
  double t = 0;
  double nu = 0;
  std::optional<Dynamic> dynamic;
};

std::string PointsJson(const std::vector<Point>& points) {
  Json out = Json::array();
  for (const Point& p : points) {
    Json row;
    row["temperature_c"] = p.t;
    row["kinematic_cst"] = p.nu;
    if (p.dynamic) {
      row["dynamic_reyn"] = p.dynamic->reyn;
      row["dynamic_mpa_s"] = p.dynamic->mpa_s;
    }
    out.push_back(std::move(row));
  }
  return JsonText(out);
}

// The dynamic columns are there when the oil has a gravity, `dynamic`.
std::string PointsCsv(const std::vector<Point>& points, bool dynamic) {
  std::vector<std::string> header = {"temperature_c", "kinematic_cst"};
  if (dynamic) header.insert(header.end(), {"dynamic_reyn", "dynamic_mpa_s"});
  std::vector<std::vector<std::optional<double>>> rows;
  for (const Point& p : points) {
    rows.push_back({p.t, p.nu});
    if (p.dynamic) rows.back().insert(rows.back().end(), {p.dynamic->reyn, p.dynamic->mpa_s});
  }
  return CsvText(header, rows);
}

}  // namespace

std::string AtCommand(const Oil& oil, const std::vector<std::string>& temperatures, Format format) {
  std::vector<Point> points;
  for (const std::string& text : temperatures) {
    Point point;
    point.t = TextToTemperature(text, "temperature");
    point.nu = KinematicAt(oil.line, point.t);
    point.dynamic = DynamicAt(oil, point.t, point.nu);
    points.push_back(point);
  }
  const bool dynamic = oil.sg.has_value();
  switch (format) {
    case Format::Json:
      return PointsJson(points);
    case Format::Csv:
      return PointsCsv(points, dynamic);
    case Format::Text: {
      TextTable table({Align::Right, Align::Right, Align::Right, Align::Right});
      if (dynamic) {
        table.Add({"Temperature", "Kinematic", "Dynamic", "Dynamic"});
        table.Add({"°C", "cSt", "reyn", "mPa·s"});
      } else {
        table.Add({"Temperature", "Kinematic"});
        table.Add({"°C", "cSt"});
      }
      for (const Point& p : points) {
        std::vector<std::string> row = {TextNumber(p.t, kTemperatureText),
                                        TextNumber(p.nu, kKinematicText)};
        if (p.dynamic) {
          row.push_back(TextNumber(p.dynamic->reyn, kReynText));
          row.push_back(TextNumber(p.dynamic->mpa_s, kMpaSText));
        }
        table.Add(std::move(row));
      }
      return table.Render();
    }
  }
  return {};
}

std::string TableCommand(const Oil& oil, const TableRange& range, Format format) {
  const double from = range.from ? OptionTemperature("--from", *range.from) : kDefaultFrom;
  const double to = range.to ? OptionTemperature("--to", *range.to) : kDefaultTo;
  const double step = range.step ? OptionNumber("--step", *range.step) : kDefaultStep;
  if (!(step > 0)) Usage("--step must be above 0; it is " + NumberToText(step) + ".");
  if (!(to >= from)) {
    Usage("--to (" + NumberToText(to) + " °C) is below --from (" + NumberToText(from) + " °C).");
  }
  const double span = (to - from) / step;
  if (!(span < kMaxTableRows)) {
    Usage("The table from " + NumberToText(from) + " °C to " + NumberToText(to) +
          " °C in steps of " + NumberToText(step) + " would have more than 1,000,000 rows.");
  }
  // --to is included, also when rounding leaves the last step a hair short of it.
  const auto count = static_cast<std::size_t>(std::floor(span * (1 + 1e-12) + 1e-9)) + 1;

  std::vector<Point> rows;
  rows.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    Point row;
    row.t = from + static_cast<double>(i) * step;
    row.nu = KinematicAt(oil.line, row.t);
    if (format != Format::Text) row.dynamic = DynamicAt(oil, row.t, row.nu);
    rows.push_back(row);
  }
  switch (format) {
    case Format::Text: {
      // The table file's format for any range and law; with the defaults and the window's line,
      // the window's table file byte for byte.
      std::string out(kTableHeaderLine);
      for (const Point& row : rows) AppendTableRow(out, row.t, row.nu);
      return out;
    }
    case Format::Json:
      return PointsJson(rows);
    case Format::Csv:
      return PointsCsv(rows, oil.sg.has_value());
  }
  return {};
}

std::string TemperatureForCommand(const Oil& oil, const std::string& cst, Format format) {
  const double nu = TextToNumber(cst, "viscosity");
  const double t = TemperatureFor(oil.line, nu);
  switch (format) {
    case Format::Json: {
      Json out;
      out["kinematic_cst"] = nu;
      out["temperature_c"] = t;
      return JsonText(out);
    }
    case Format::Csv:
      return CsvText({"kinematic_cst", "temperature_c"}, {{nu, t}});
    case Format::Text: {
      TextTable table({Align::Left, Align::Left});
      table.Add({"Kinematic viscosity", TextNumber(nu, kKinematicText) + " cSt"});
      table.Add({"Temperature", TextNumber(t, kTemperatureText) + " °C"});
      return table.Render();
    }
  }
  return {};
}

std::string IndexCommand(const Oil& oil, Format format) {
  CheckThinnerWhenHotter(oil);
  const IndexAnswer answer = IndexOf(oil.nu40, oil.nu100);
  const std::vector<std::string> j300 = SaeJ300Grades(oil.nu100);
  const std::optional<std::string> j306 = SaeJ306Grade(oil.nu100);
  std::string j300_text;
  for (const std::string& name : j300) j300_text += (j300_text.empty() ? "" : " ") + name;
  const double sus100 = SayboltSeconds(KinematicAt(oil.line, FahrenheitToCelsius(100)), 100);
  const double sus210 = SayboltSeconds(KinematicAt(oil.line, FahrenheitToCelsius(210)), 210);
  std::optional<double> rounded, unrounded, grade;
  if (answer.index) {
    rounded = static_cast<double>(answer.index->rounded);
    unrounded = answer.index->unrounded;
  }
  if (answer.grade) grade = *answer.grade;
  switch (format) {
    case Format::Json: {
      Json out;
      out["viscosity_index"] = answer.index ? Json(answer.index->rounded) : Json(nullptr);
      out["viscosity_index_unrounded"] = Nullable(unrounded);
      out["iso_vg"] = answer.grade ? Json(*answer.grade) : Json(nullptr);
      out["kinematic_40c_cst"] = oil.nu40;
      out["kinematic_100c_cst"] = oil.nu100;
      out["saybolt_100f_s"] = sus100;
      out["saybolt_210f_s"] = sus210;
      out["sae_j300_grades"] = j300;
      out["sae_j306_grade"] = j306 ? Json(*j306) : Json(nullptr);
      return JsonText(out);
    }
    case Format::Csv: {
      std::string out =
          "viscosity_index,viscosity_index_unrounded,iso_vg,kinematic_40c_cst,kinematic_100c_cst,"
          "saybolt_100f_s,saybolt_210f_s,sae_j300_grades,sae_j306_grade\n";
      const std::optional<double> numbers[] = {rounded,   unrounded, grade, oil.nu40,
                                               oil.nu100, sus100,    sus210};
      for (const std::optional<double>& number : numbers) {
        if (number) AppendShortest(out, *number);
        out += ',';
      }
      // The J300 grades that overlap share one field, blank-separated.
      AppendCsvField(out, j300_text);
      out += ',';
      AppendCsvField(out, j306.value_or(""));
      out += '\n';
      return out;
    }
    case Format::Text: {
      TextTable table({Align::Left, Align::Left});
      if (answer.index) {
        table.Add({"Viscosity index", std::to_string(answer.index->rounded)});
        table.Add({"Viscosity index, unrounded", TextNumber(*unrounded, kIndexText)});
      } else {
        table.Add({"Viscosity index", std::string(kIndexUndefined)});
      }
      table.Add({"ISO viscosity grade", GradeText(answer.grade)});
      table.Add({"Kinematic at 40 °C", TextNumber(oil.nu40, kKinematicText) + " cSt"});
      table.Add({"Kinematic at 100 °C", TextNumber(oil.nu100, kKinematicText) + " cSt"});
      table.Add({"Saybolt at 100 °F", TextNumber(sus100, kSayboltText) + " s"});
      table.Add({"Saybolt at 210 °F", TextNumber(sus210, kSayboltText) + " s"});
      std::string j300_list;
      for (const std::string& name : j300) j300_list += (j300_list.empty() ? "" : ", ") + name;
      table.Add({"SAE J300 grades", j300.empty() ? "none" : j300_list});
      table.Add({"SAE J306 grade", j306.value_or("none")});
      return table.Render() + std::string(kSaeWGradesNote) + "\n";
    }
  }
  return {};
}

std::string BlendCommand(const Oil& first, const OilOptions& first_options,
                         const BlendOptions& blend, Format format) {
  OilOptions second_options;
  second_options.law = first_options.law;
  if (blend.with_oil && (blend.with_v40 || blend.with_v100)) {
    Usage("Give the second oil as --with-oil NAME or as --with-v40 CST --with-v100 CST, not both.");
  }
  if (blend.with_oil) {
    second_options.oil = blend.with_oil;
  } else if (blend.with_v40 || blend.with_v100) {
    if (!blend.with_v40) Usage("--with-v100 is given without --with-v40.");
    if (!blend.with_v100) Usage("--with-v40 is given without --with-v100.");
    second_options.v40 = blend.with_v40;
    second_options.v100 = blend.with_v100;
  } else {
    Usage("No second oil given: give --with-oil NAME or --with-v40 CST --with-v100 CST.");
  }
  Oil second;
  try {
    second = ResolveOil(second_options);
  } catch (const Error& error) {
    // The second oil's options carry the prefix "with-".
    std::string message = error.what();
    for (const char* name : {"--oil", "--v40", "--v100"}) {
      if (message.rfind(name, 0) == 0) {
        message = "--with-" + message.substr(2);
        break;
      }
    }
    throw Error(error.kind(), message);
  }
  if (blend.fraction.has_value() == blend.target.has_value()) {
    Usage("Give exactly one of --fraction X and --target CST.");
  }

  const double t = OptionTemperature("--at", blend.at);
  const double nu_first = KinematicAt(first.line, t);
  const double nu_second = KinematicAt(second.line, t);
  double fraction = 0;
  if (blend.fraction) {
    fraction = OptionNumber("--fraction", *blend.fraction);
    if (!(fraction >= 0 && fraction <= 1)) {
      Usage("--fraction must be from 0 to 1; it is " + NumberToText(fraction) + ".");
    }
  } else {
    fraction = BlendFractionFor(nu_first, nu_second, OptionNumber("--target", *blend.target));
  }
  const double nu_blend = BlendKinematic(nu_first, nu_second, fraction);
  const double nu40 = BlendKinematic(first.nu40, second.nu40, fraction);
  const double nu100 = BlendKinematic(first.nu100, second.nu100, fraction);
  const std::optional<ViscosityIndex> index = ViscosityIndexOf(nu40, nu100);
  std::optional<double> rounded, unrounded;
  if (index) {
    rounded = static_cast<double>(index->rounded);
    unrounded = index->unrounded;
  }

  switch (format) {
    case Format::Json: {
      Json out;
      out["temperature_c"] = t;
      out["fraction"] = fraction;
      out["blend_kinematic_cst"] = nu_blend;
      out["blend_kinematic_40c_cst"] = nu40;
      out["blend_kinematic_100c_cst"] = nu100;
      out["viscosity_index"] = index ? Json(index->rounded) : Json(nullptr);
      out["viscosity_index_unrounded"] = Nullable(unrounded);
      return JsonText(out);
    }
    case Format::Csv:
      return CsvText({"temperature_c", "fraction", "blend_kinematic_cst", "blend_kinematic_40c_cst",
                      "blend_kinematic_100c_cst", "viscosity_index", "viscosity_index_unrounded"},
                     {{t, fraction, nu_blend, nu40, nu100, rounded, unrounded}});
    case Format::Text: {
      TextTable table({Align::Left, Align::Left});
      table.Add({"Fraction of the second oil", TextNumber(fraction, kFractionText)});
      table.Add({"Blend at " + TextNumber(t, kTemperatureText) + " °C",
                 TextNumber(nu_blend, kKinematicText) + " cSt"});
      // The rows at 40 and 100 °C, unless --at is that temperature and its row above says it.
      if (!AtTemperature(t, 40)) {
        table.Add({"Blend at 40 °C", TextNumber(nu40, kKinematicText) + " cSt"});
      }
      if (!AtTemperature(t, 100)) {
        table.Add({"Blend at 100 °C", TextNumber(nu100, kKinematicText) + " cSt"});
      }
      table.Add({"Blend viscosity index",
                 index ? std::to_string(index->rounded) : std::string(kIndexUndefined)});
      return table.Render();
    }
  }
  return {};
}

std::string OilsCommand(Format format) {
  switch (format) {
    case Format::Json: {
      Json out = Json::array();
      for (const Lubricant& oil : LubricantCatalogue) {
        Json row;
        row["name"] = std::string(oil.name);
        row["kinematic_40c_cst"] = oil.vc;
        row["kinematic_100c_cst"] = oil.vh;
        row["specific_gravity"] = oil.sg;
        out.push_back(std::move(row));
      }
      return JsonText(out);
    }
    case Format::Csv: {
      std::string out = "name,kinematic_40c_cst,kinematic_100c_cst,specific_gravity\n";
      for (const Lubricant& oil : LubricantCatalogue) {
        AppendCsvField(out, oil.name);
        for (double value : {oil.vc, oil.vh, oil.sg}) {
          out += ',';
          AppendShortest(out, value);
        }
        out += '\n';
      }
      return out;
    }
    case Format::Text: {
      TextTable table({Align::Left, Align::Right, Align::Right, Align::Right});
      table.Add({"Name", "At 40 °C", "At 100 °C", "Specific"});
      table.Add({"", "cSt", "cSt", "gravity"});
      for (const Lubricant& oil : LubricantCatalogue) {
        table.Add({std::string(oil.name), NumberToText(oil.vc), NumberToText(oil.vh),
                   NumberToText(oil.sg)});
      }
      return table.Render();
    }
  }
  return {};
}

}  // namespace project1::cli
