#pragma once
// What the window keeps of its last successful calculation, for the chart window and for
// copying: the nine boxes' texts as shown and the numbers the calculation used. No Qt.

#include <filesystem>
#include <string>
#include <vector>

#include "chart/chart.h"
#include "engine/calculate.h"
#include "user_oils/user_oils_text.h"

namespace project1 {

// The window's nine boxes exactly as they show: the five inputs, then the four results.
struct ShownTexts {
  std::string visc40;
  std::string visc100;
  std::string temp1;
  std::string temp2;
  std::string gravity;
  std::string visc1;
  std::string visc2;
  std::string dynamic1;
  std::string dynamic2;
};

struct CalculationRecord {
  ShownTexts shown;
  double nu40 = 0;   // cSt at 40 C
  double nu100 = 0;  // cSt at 100 C
  double temp1 = 0;  // reference temperatures, C
  double temp2 = 0;
  double visc1 = 0;  // cSt at the reference temperatures
  double visc2 = 0;
  double sg = 0;
  std::string oil_name;         // the oil picked when the inputs are its values, else "Oil"
  std::filesystem::path table;  // the table file the calculation wrote
};

// The record of a calculation that has succeeded: its numbers and table from `outcome`, the
// boxes' texts `shown`, and the oil name from the text `picked` in the lubricant list: a
// catalogue oil's, or one of the user's oils `own` (a user's oil without a gravity takes any).
CalculationRecord RecordCalculation(const CalculationOutcome& outcome, const ShownTexts& shown,
                                    const std::string& picked,
                                    const std::vector<UserOil>& own = {});

// Two lines with TAB between fields: the nine quantities with their units, then the texts.
std::string ResultsText(const CalculationRecord& record);

// The oil of the record on the chart: the window's line through its two viscosities, with the
// two reference temperatures.
ChartOil ChartOilOf(const CalculationRecord& record);

// The oil's properties shown beside the chart, as (name, value) texts.
struct OilProperty {
  std::string name;
  std::string value;
};
std::vector<OilProperty> PropertiesOf(const CalculationRecord& record);

}  // namespace project1
