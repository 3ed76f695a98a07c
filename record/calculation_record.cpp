#include "record/calculation_record.h"

#include <string_view>
#include <utility>

#include "catalogue/catalogue.h"
#include "engine/model.h"
#include "engine/oil_properties.h"
#include "engine/temperature_unit.h"
#include "error/error.h"
#include "numtext/numtext.h"

namespace project1 {

namespace {

// The oil named `picked` when the inputs are its values, else "Oil".
std::string OilName(const CalcState& s, const std::string& picked,
                    const std::vector<UserOil>& own) {
  if (const Lubricant* oil = FindOil(picked)) {
    const bool same = oil->nu40 == s.visc40 && oil->nu100 == s.visc100 && oil->gravity == s.gravity;
    return same ? picked : "Oil";
  }
  for (const UserOil& oil : own) {
    if (oil.name == picked && oil.nu40 == s.visc40 && oil.nu100 == s.visc100 &&
        oil.gravity.value_or(s.gravity) == s.gravity) {
      return picked;
    }
  }
  return "Oil";
}

}  // namespace

CalculationRecord RecordCalculation(const CalculationOutcome& outcome, const ShownTexts& shown,
                                    const std::string& picked, const std::vector<UserOil>& own) {
  const CalcState& s = outcome.values;
  CalculationRecord record;
  record.shown = shown;
  record.nu40 = s.visc40;
  record.nu100 = s.visc100;
  record.temp1 = s.temp1;
  record.temp2 = s.temp2;
  record.visc1 = s.visc1;
  record.visc2 = s.visc2;
  record.sg = s.gravity;
  record.oil_name = OilName(s, picked, own);
  record.table = outcome.table;
  return record;
}

std::string ResultsText(const CalculationRecord& record) {
  // Each box's quantity with its unit, in the window's order.
  static constexpr std::pair<std::string_view, std::string ShownTexts::*> kColumns[] = {
      {"Viscosity at 40 °C, cSt", &ShownTexts::visc40},
      {"Viscosity at 100 °C, cSt", &ShownTexts::visc100},
      {"First reference temperature, °C", &ShownTexts::temp1},
      {"Second reference temperature, °C", &ShownTexts::temp2},
      {"Specific gravity", &ShownTexts::gravity},
      {"Viscosity at the first reference temperature, cSt", &ShownTexts::visc1},
      {"Viscosity at the second reference temperature, cSt", &ShownTexts::visc2},
      {"Dynamic viscosity at the first reference temperature, reyn", &ShownTexts::dynamic1},
      {"Dynamic viscosity at the second reference temperature, reyn", &ShownTexts::dynamic2}};
  std::string header;
  std::string texts;
  for (const auto& [quantity, field] : kColumns) {
    if (!header.empty()) {
      header += '\t';
      texts += '\t';
    }
    header += quantity;
    texts += record.shown.*field;
  }
  return header + '\n' + texts + '\n';
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
  // A dynamic viscosity too large for mPa·s (a gravity far beyond any oil's) says why, as the
  // index does, instead of ending the panel.
  for (const auto& [t_c, nu] :
       {std::pair{record.temp1, record.visc1}, {record.temp2, record.visc2}}) {
    std::string value;
    try {
      value = FormatNumber(ReynToMpaS(DynamicReyn(nu, record.sg)), kRecordMpaSPattern) + " mPa·s";
    } catch (const Error& error) {
      value = error.what();
    }
    properties.push_back({"Dynamic viscosity at " + DegreesText(NumberToText(t_c)), value});
  }
  return properties;
}

}  // namespace project1
