#include "window/calculation_record.h"

#include "catalogue/catalogue.h"
#include "engine/model.h"
#include "engine/oil_properties.h"
#include "engine/table_file.h"
#include "numtext/numtext.h"
#include "window/controls.h"

namespace project1 {

namespace {

constexpr std::string_view kDynamicMpaSPattern = "###,##0.###";

std::string Degrees(double t_c) { return NumberToText(t_c) + " °C"; }

// The catalogue oil named in the list whose values the inputs still hold, else "Oil".
std::string OilName(const CalcState& s) {
  const std::string picked = Form1().LubList().Text();
  for (const Lubricant& oil : LubricantCatalogue) {
    if (oil.name == picked && oil.vc == s.visc40 && oil.vh == s.visc100 && oil.sg == s.sg) {
      return picked;
    }
  }
  return "Oil";
}

}  // namespace

CalculationRecord RecordLastCalculation() {
  Form1Controls& form = Form1();
  const CalcState& s = ModuleState();
  CalculationRecord record;
  record.shown = {form.vc().Text(),     form.vh().Text(),      form.tref().Text(),
                  form.tref2().Text(),  form.SG().Text(),      form.vcalc().Text(),
                  form.vcalc2().Text(), form.DynVisc().Text(), form.DynVisc2().Text()};
  record.nu40 = s.visc40;
  record.nu100 = s.visc100;
  record.temp1 = s.temp1;
  record.temp2 = s.temp2;
  record.visc1 = s.visc1;
  record.visc2 = s.visc2;
  record.sg = s.sg;
  record.oil_name = OilName(s);
  record.table = TableFolder() / kTableFileName;
  return record;
}

std::string ResultsText(const CalculationRecord& record) {
  static constexpr std::array<std::string_view, 9> kHeader = {
      "Viscosity at 40 °C, cSt",
      "Viscosity at 100 °C, cSt",
      "First reference temperature, °C",
      "Second reference temperature, °C",
      "Specific gravity",
      "Viscosity at the first reference temperature, cSt",
      "Viscosity at the second reference temperature, cSt",
      "Dynamic viscosity at the first reference temperature, reyn",
      "Dynamic viscosity at the second reference temperature, reyn"};
  std::string text;
  for (std::size_t i = 0; i < kHeader.size(); ++i) {
    if (i > 0) text += '\t';
    text += kHeader[i];
  }
  text += '\n';
  for (std::size_t i = 0; i < record.shown.size(); ++i) {
    if (i > 0) text += '\t';
    text += record.shown[i];
  }
  text += '\n';
  return text;
}

ChartOil ChartOilOf(const CalculationRecord& record) {
  return {record.oil_name,
          FitLine40100(Law::Walther, record.nu40, record.nu100),
          {{{40, record.nu40}, {100, record.nu100}}},
          {record.temp1, record.temp2}};
}

std::vector<OilProperty> PropertiesOf(const CalculationRecord& record) {
  std::vector<OilProperty> properties;
  properties.push_back({"Oil", record.oil_name});
  // An oil no thinner at 100 °C than at 40 °C has no index; the panel says why.
  std::string index_text;
  try {
    const std::optional<ViscosityIndex> index = ViscosityIndexOf(record.nu40, record.nu100);
    index_text = index ? std::to_string(index->rounded) : std::string(kIndexUndefined);
  } catch (const Error& error) {
    index_text = error.what();
  }
  properties.push_back({"Viscosity index", index_text});
  const std::optional<int> grade = IsoGrade(record.nu40);
  properties.push_back({"ISO grade", grade ? "ISO VG " + std::to_string(*grade) : "none"});
  properties.push_back({"ν40", FormatNumber(record.nu40, kKinematicPattern) + " cSt"});
  properties.push_back({"ν100", FormatNumber(record.nu100, kKinematicPattern) + " cSt"});
  for (const auto& [t_c, nu] :
       {std::pair{record.temp1, record.visc1}, {record.temp2, record.visc2}}) {
    const double mpa_s = ReynToMpaS(DynamicReyn(nu, record.sg));
    properties.push_back({"Dynamic viscosity at " + Degrees(t_c),
                          FormatNumber(mpa_s, kDynamicMpaSPattern) + " mPa·s"});
  }
  return properties;
}

}  // namespace project1
