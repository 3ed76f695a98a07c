// The page's answers computed natively, for comparing with the WebAssembly build: one line of
// TAB-separated inputs (visc40, visc100, temp1, temp2, gravity, picked oil, law, and optionally
// the chart's width and height) in, one line of
// JSON out, with the keys the page's module uses. A line that begins with "bearing" holds the
// bearing box's inputs after it instead (visc40, visc100, law, dm, speed, temperature, type,
// rating, load, fatigue load, reliability, cleanliness), and its answer comes out; one that
// begins with "fit" the points and the law, one with "blend" the blend box's inputs (visc40,
// visc100, law, second40, second100, at, fraction, target).
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "web/calculator.h"

int main() {
  using project1::web::PageInputs;
  using project1::web::PageOutcome;
  std::string line;
  while (std::getline(std::cin, line)) {
    std::vector<std::string> fields;
    std::stringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
    if (!fields.empty() && fields[0] == "bearing") {
      fields.resize(13);
      const project1::web::PageBearing bearing = project1::web::BearingOfPage(
          {fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7], fields[8],
           fields[9], fields[10], fields[11], fields[12]});
      const nlohmann::ordered_json out = {
          {"rated", bearing.rated},
          {"kinematic", bearing.kinematic},
          {"kappa", bearing.kappa},
          {"band", bearing.band},
          {"kappa1At", bearing.kappa_1_at},
          {"kappa4At", bearing.kappa_4_at},
          {"basicLife", bearing.basic_life},
          {"aIso", bearing.a_iso},
          {"modifiedLife", bearing.modified_life},
          {"lifeNote", bearing.life_note},
          {"numbers", bearing.numbers},
          {"message", bearing.message},
          {"box", bearing.box},
      };
      std::cout << out.dump() << '\n';
      continue;
    }
    if (!fields.empty() && fields[0] == "fit") {
      fields.resize(3);
      const project1::web::PageFit fit = project1::web::FitOfPoints(fields[1], fields[2]);
      const nlohmann::ordered_json out = {
          {"columns", fit.points.columns}, {"rows", fit.points.rows},
          {"numbers", fit.points.numbers}, {"message", fit.points.message},
          {"box", fit.points.box},         {"visc40", fit.visc40},
          {"visc100", fit.visc100},        {"note", fit.note},
      };
      std::cout << out.dump() << '\n';
      continue;
    }
    if (!fields.empty() && fields[0] == "blend") {
      fields.resize(9);
      const project1::web::PageBlend blend = project1::web::BlendOfPage(
          {fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7], fields[8]});
      const nlohmann::ordered_json out = {{"texts", blend.texts},
                                          {"numbers", blend.numbers},
                                          {"message", blend.message},
                                          {"box", blend.box}};
      std::cout << out.dump() << '\n';
      continue;
    }
    fields.resize(9);
    PageInputs inputs{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]};
    // The chart's size, when given.
    if (!fields[7].empty()) inputs.chart_width = std::stod(fields[7]);
    if (!fields[8].empty()) inputs.chart_height = std::stod(fields[8]);
    const PageOutcome page = project1::web::CalculatePage(inputs);
    nlohmann::ordered_json properties = nlohmann::ordered_json::array();
    for (const auto& property : page.properties) {
      properties.push_back({{"name", property.name}, {"value", property.value}});
    }
    const nlohmann::ordered_json out = {
        {"shown", page.shown},
        {"message", page.message},
        {"box", page.box},
        {"table", page.table},
        {"results", page.results},
        {"properties", properties},
        {"chartSvg", page.chart_svg},
        {"chartDescription", page.chart_description},
        {"chartMessage", page.chart_message},
        {"numbers", page.numbers},
    };
    std::cout << out.dump() << '\n';
  }
  return 0;
}
