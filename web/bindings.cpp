// The page's view of the engine: web/calculator.h's values as JavaScript objects.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

#include "web/calculator.h"

namespace project1::web {

namespace {

using emscripten::val;

val Texts(const std::vector<std::string>& texts) {
  val array = val::array();
  for (const std::string& text : texts) array.call<void>("push", text);
  return array;
}

val Calculate(const PageInputs& inputs, bool with_chart) {
  const PageOutcome page = CalculatePage(inputs, with_chart);
  val out = val::object();
  out.set("shown", Texts(page.shown));
  out.set("message", page.message);
  out.set("box", page.box);
  out.set("table", page.table);
  out.set("results", page.results);
  val properties = val::array();
  for (const PageProperty& property : page.properties) {
    val one = val::object();
    one.set("name", property.name);
    one.set("value", property.value);
    properties.call<void>("push", one);
  }
  out.set("properties", properties);
  out.set("chartSvg", page.chart_svg);
  out.set("chartDescription", page.chart_description);
  out.set("chartMessage", page.chart_message);
  out.set("numbers", Texts(page.numbers));
  return out;
}

val OilList(const std::vector<PageOil>& oils) {
  val array = val::array();
  for (const PageOil& oil : oils) {
    val one = val::object();
    one.set("name", oil.name);
    one.set("visc40", oil.visc40);
    one.set("visc100", oil.visc100);
    one.set("gravity", oil.gravity);
    one.set("note", oil.note);
    array.call<void>("push", one);
  }
  return array;
}

val Oils() { return OilList(PageOils()); }

val UserOils(const PageUserOils& kept) {
  val out = val::object();
  out.set("oils", OilList(kept.oils));
  out.set("csv", kept.csv);
  out.set("summary", kept.summary);
  out.set("message", kept.message);
  out.set("box", kept.box);
  return out;
}

// The user's oils kept in the browser: read, imported, added, changed and removed.
void BindUserOils() {
  emscripten::value_object<PageUserOil>("PageUserOil")
      .field("name", &PageUserOil::name)
      .field("visc40", &PageUserOil::visc40)
      .field("visc100", &PageUserOil::visc100)
      .field("gravity", &PageUserOil::gravity)
      .field("note", &PageUserOil::note);
  emscripten::function(
      "userOilsKept", +[](const std::string& kept) { return UserOils(UserOilsKept(kept)); });
  emscripten::function(
      "importUserOils",
      +[](const std::string& kept, const std::string& file, const std::string& source) {
        return UserOils(ImportUserOils(kept, file, source));
      });
  emscripten::function(
      "addUserOil", +[](const std::string& kept, const PageUserOil& oil) {
        return UserOils(AddUserOil(kept, oil));
      });
  emscripten::function(
      "changeUserOil",
      +[](const std::string& kept, const std::string& name, const PageUserOil& oil) {
        return UserOils(ChangeUserOil(kept, name, oil));
      });
  emscripten::function(
      "removeUserOil", +[](const std::string& kept, const std::string& name) {
        return UserOils(RemoveUserOil(kept, name));
      });
}

val Answer(const PageAnswer& answer) {
  val out = val::object();
  out.set("text", answer.text);
  out.set("message", answer.message);
  return out;
}

val TemperatureFor(const std::string& visc40, const std::string& visc100, const std::string& law,
                   const std::string& kinematic) {
  return Answer(TemperatureForViscosity(visc40, visc100, law, kinematic));
}

}  // namespace

// The page's inputs by name: {visc40, visc100, temp1, temp2, gravity, picked, law}, each a text.
void BindInputs() {
  emscripten::value_object<PageInputs>("PageInputs")
      .field("visc40", &PageInputs::visc40)
      .field("visc100", &PageInputs::visc100)
      .field("temp1", &PageInputs::temp1)
      .field("temp2", &PageInputs::temp2)
      .field("gravity", &PageInputs::gravity)
      .field("picked", &PageInputs::picked)
      .field("law", &PageInputs::law)
      .field("kept", &PageInputs::kept)
      .field("chartWidth", &PageInputs::chart_width)
      .field("chartHeight", &PageInputs::chart_height);
}

// The answers beyond the window's boxes: their inputs by name, the rows as arrays of texts.
void BindRows() {
  emscripten::value_object<PageRowsInputs>("PageRowsInputs")
      .field("visc40", &PageRowsInputs::visc40)
      .field("visc100", &PageRowsInputs::visc100)
      .field("gravity", &PageRowsInputs::gravity)
      .field("expansion", &PageRowsInputs::expansion)
      .field("law", &PageRowsInputs::law)
      .field("unit", &PageRowsInputs::unit)
      .field("temperatures", &PageRowsInputs::temperatures)
      .field("from", &PageRowsInputs::from)
      .field("to", &PageRowsInputs::to)
      .field("step", &PageRowsInputs::step);
  const auto rows_of = [](const PageRows& rows) {
    val out = val::object();
    out.set("columns", Texts(rows.columns));
    val texts = val::array();
    val numbers = val::array();
    for (const auto& row : rows.rows) texts.call<void>("push", Texts(row));
    for (const auto& row : rows.numbers) numbers.call<void>("push", Texts(row));
    out.set("rows", texts);
    out.set("numbers", numbers);
    out.set("message", rows.message);
    out.set("box", rows.box);
    return out;
  };
  static const auto kRowsOf = rows_of;
  emscripten::function(
      "fitPoints", +[](const std::string& points, const std::string& law) {
        const PageFit fit = FitOfPoints(points, law);
        val out = kRowsOf(fit.points);
        out.set("visc40", fit.visc40);
        out.set("visc100", fit.visc100);
        out.set("note", fit.note);
        return out;
      });
  emscripten::function(
      "rowsAt", +[](const PageRowsInputs& inputs) { return kRowsOf(RowsAtTemperatures(inputs)); });
  emscripten::function(
      "tableRows", +[](const PageRowsInputs& inputs) { return kRowsOf(TableRows(inputs)); });
}

// The bearing box: its inputs by name, its answer's texts, and its lists' choices.
void BindBearing() {
  emscripten::value_object<PageBearingInputs>("PageBearingInputs")
      .field("visc40", &PageBearingInputs::visc40)
      .field("visc100", &PageBearingInputs::visc100)
      .field("law", &PageBearingInputs::law)
      .field("dm", &PageBearingInputs::dm)
      .field("speed", &PageBearingInputs::speed)
      .field("temperature", &PageBearingInputs::temperature)
      .field("type", &PageBearingInputs::type)
      .field("rating", &PageBearingInputs::rating)
      .field("load", &PageBearingInputs::load)
      .field("fatigueLoad", &PageBearingInputs::fatigue_load)
      .field("reliability", &PageBearingInputs::reliability)
      .field("cleanliness", &PageBearingInputs::cleanliness);
  emscripten::function(
      "bearing", +[](const PageBearingInputs& inputs) {
        const PageBearing page = BearingOfPage(inputs);
        val out = val::object();
        out.set("rated", page.rated);
        out.set("kinematic", page.kinematic);
        out.set("kappa", page.kappa);
        out.set("band", page.band);
        out.set("kappa1At", page.kappa_1_at);
        out.set("kappa4At", page.kappa_4_at);
        out.set("basicLife", page.basic_life);
        out.set("aIso", page.a_iso);
        out.set("modifiedLife", page.modified_life);
        out.set("lifeNote", page.life_note);
        out.set("numbers", Texts(page.numbers));
        out.set("message", page.message);
        out.set("box", page.box);
        return out;
      });
  emscripten::function(
      "bearingChoices", +[] {
        const PageBearingChoices choices = BearingChoices();
        val out = val::object();
        out.set("types", Texts(choices.types));
        out.set("reliabilities", Texts(choices.reliabilities));
        out.set("cleanliness", Texts(choices.cleanliness));
        return out;
      });
}

// The blend box: its inputs by name, its answer's texts in the order of its rows.
void BindBlend() {
  emscripten::value_object<PageBlendInputs>("PageBlendInputs")
      .field("visc40", &PageBlendInputs::visc40)
      .field("visc100", &PageBlendInputs::visc100)
      .field("law", &PageBlendInputs::law)
      .field("second40", &PageBlendInputs::second40)
      .field("second100", &PageBlendInputs::second100)
      .field("at", &PageBlendInputs::at)
      .field("fraction", &PageBlendInputs::fraction)
      .field("target", &PageBlendInputs::target);
  emscripten::function(
      "blend", +[](const PageBlendInputs& inputs) {
        const PageBlend page = BlendOfPage(inputs);
        val out = val::object();
        out.set("texts", Texts(page.texts));
        out.set("numbers", Texts(page.numbers));
        out.set("message", page.message);
        out.set("box", page.box);
        return out;
      });
}

EMSCRIPTEN_BINDINGS(project1) {
  BindBlend();
  BindRows();
  BindBearing();
  BindInputs();
  emscripten::function("calculate", &Calculate);
  emscripten::function("oils", &Oils);
  emscripten::function("temperatureFor", &TemperatureFor);
  BindUserOils();
  emscripten::function(
      "nu100ForIndex", +[](const std::string& visc40, const std::string& index) {
        return Answer(Nu100ForIndexText(visc40, index));
      });
}

}  // namespace project1::web
