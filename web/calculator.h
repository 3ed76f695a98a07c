#pragma once
// What the browser's page asks of the engine, as plain values: the window's calculation with its
// texts, messages and failing step, the oil's properties, the table's bytes, the chart's SVG, and
// the temperature at which an oil reaches a viscosity. No browser code: the page's binding
// (web/bindings.cpp) hands these values to the page, and the parity test builds them natively.

#include <string>
#include <vector>

namespace project1::web {

// The five boxes as typed, the oil picked in the list ("" for none) and the law's name.
struct PageInputs {
  std::string visc40;
  std::string visc100;
  std::string temp1;
  std::string temp2;
  std::string gravity;
  std::string picked;
  std::string law = "walther";
  // The user's oils kept in the browser (PageUserOils::csv), so that one of theirs picked is
  // named in the properties and the chart; "" for none.
  std::string kept = {};
  // The chart's size in CSS pixels: drawn at the size it is shown, its texts keep their sizes.
  double chart_width = 800;
  double chart_height = 560;
};

struct PageProperty {
  std::string name;
  std::string value;
};

struct PageOutcome {
  // The result texts the window shows, in its order (first, second kinematic, first, second
  // dynamic), as far as the calculation came; the boxes after them keep what they showed.
  std::vector<std::string> shown;
  // The window's message of the first failure, "" when the calculation ran to its end.
  std::string message;
  // The box the failure is about: "visc40", "visc100", "temp1", "temp2", "gravity", or "".
  std::string box;
  // The rest is set only after a success.
  std::string table;                     // Viscosity.txt's bytes, CR LF
  std::string results;                   // the inputs and results as the window copies them
  std::vector<PageProperty> properties;  // oil, index, ISO grade, viscosities, mPa·s
  std::string chart_svg;
  std::string chart_description;  // the chart in words
  std::string chart_message;      // why there is no chart (the law cannot draw this oil)
  // The computed numbers in their shortest round-trip text, for comparing with the tool.
  std::vector<std::string> numbers;  // visc1, visc2, dynamic1, dynamic2 (reyn), both in mPa·s
};

// The window's calculation of `inputs` on the law's line, after the tool's refusals (an oil no
// thinner at 100 °C, a gravity outside 0.5 to 3); never throws. A reference temperature may be
// typed with the tool's suffix C, F or K ("160F", "344.15K"): it is calculated, copied and
// charted in degrees C. The law gives every answer: the
// four results, the mPa·s rows, the table and the chart, which is left out unless asked for (a
// page shows the results first and draws the chart a frame later). By walther, the window's own
// digits; by d341, the tool's.
PageOutcome CalculatePage(const PageInputs& inputs, bool with_chart = true);

// The texts of the lubricant list and the three values picking each oil fills in, as the window
// fills them.
struct PageOil {
  std::string name;
  std::string visc40;
  std::string visc100;
  std::string gravity;
  std::string note;  // a note the user kept with an oil of their own
};
std::vector<PageOil> PageOils();  // the ten oils, then "OTHER" with no values

// The temperature at which the oil of the two viscosities reaches `kinematic` cSt on the law's
// line, in degrees C as the chart labels degrees; or the message of the first failure.
struct PageAnswer {
  std::string text;
  std::string message;
};
PageAnswer TemperatureForViscosity(const std::string& visc40, const std::string& visc100,
                                   const std::string& law, const std::string& kinematic);

// The viscosity at 100 °C that gives the oil of visc40 the viscosity index `index`, as the tool
// finds it for --v40 with --vi, in its shortest round-trip text (so that the box reads back the
// same number); or the message of the first failure.
PageAnswer Nu100ForIndexText(const std::string& visc40, const std::string& index);

}  // namespace project1::web

namespace project1::web {

// What the page asks beyond the window's boxes, as the tool answers it: the viscosity at any list
// of temperatures, and a table with its own range and step, both with the dynamic viscosity in
// reyn and mPa·s, the temperatures read with their unit's suffix (160F, 344.15K) and shown in
// `unit`.
struct PageRowsInputs {
  std::string visc40;
  std::string visc100;
  std::string gravity;
  // The thermal expansion coefficient per °C, the gravity then taken at 15 °C and the dynamic
  // viscosity by the gravity at each temperature, as the tool's --expansion; blank for none.
  std::string expansion;
  std::string law = "walther";
  std::string unit = "C";    // C, F or K
  std::string temperatures;  // blank-separated, for the list
  std::string from = "-40";  // the table's range and step
  std::string to = "250";
  std::string step = "5";
};

struct PageRows {
  std::vector<std::string> columns;            // "Temperature, °F", "Kinematic, cSt", ...
  std::vector<std::vector<std::string>> rows;  // each row's texts, as the tool shows them
  // Each row's numbers in their shortest round-trip text, for comparing with the tool: the
  // temperature in the unit shown, kinematic, reyn, mPa·s.
  std::vector<std::vector<std::string>> numbers;
  std::string message;  // the first failure's message, "" for none
  // The box it is about: an oil's box, "expansion", "unit", "temperatures", "from", "to" or
  // "step".
  std::string box;
};

// The viscosities at inputs.temperatures.
PageRows RowsAtTemperatures(const PageRowsInputs& inputs);
// The table from inputs.from to inputs.to in steps of inputs.step, both ends included.
PageRows TableRows(const PageRowsInputs& inputs);

// Two or more measured points instead of ν40 and ν100, typed in one box as the tool's --point
// takes each, blank-separated ("20=500 40=320 100F=90"): the line of `law` through them, as the
// tool fits it. `points` holds, for three or more, each point's temperature (°C), measured and
// line viscosity and the line's deviation in percent; its message and box ("points") on a
// failure.
struct PageFit {
  PageRows points;
  std::string visc40;   // the line's viscosities at 40 and 100 °C in their shortest round-trip
  std::string visc100;  // text, for the oil's boxes
  std::string note;     // the tool's sentence naming the point farthest from the line
};
PageFit FitOfPoints(const std::string& points, const std::string& law);

// The blend by mass of the oil of the boxes (its two viscosities and law) with a second oil, at
// the temperature `at`: for a fraction of the second oil, or the fraction that gives a target
// viscosity at `at` (the other left blank), as the tool's `blend` answers.
struct PageBlendInputs {
  std::string visc40;
  std::string visc100;
  std::string law = "walther";
  std::string second40;
  std::string second100;
  std::string at = "40";
  std::string fraction;
  std::string target;
};
struct PageBlend {
  std::vector<std::string> texts;    // fraction, ν at `at`, at 40 °C, at 100 °C, index
  std::vector<std::string> numbers;  // the same in shortest round-trip text, the index unrounded
  std::string message;
  // "visc40", "visc100", "second40", "second100", "blend-at", "fraction", "target", or "".
  std::string box;
};
PageBlend BlendOfPage(const PageBlendInputs& inputs);

}  // namespace project1::web

namespace project1::web {

// The bearing box: is the oil of the boxes (its two viscosities and law) right for a rolling
// bearing of mean diameter dm turning at `speed` r/min at the running temperature, and, given
// its loads (C, P and C_u in kN, all blank for none), how long it lasts on it. Each a text as
// typed; the type, reliability and cleanliness are the tool's names and numbers.
struct PageBearingInputs {
  std::string visc40;
  std::string visc100;
  std::string law = "walther";
  std::string dm;
  std::string speed;
  std::string temperature;
  std::string type = "ball";
  std::string rating;
  std::string load;
  std::string fatigue_load;
  std::string reliability = "90";
  std::string cleanliness = "normal";
};

// The box's answer, each text as the tool's `bearing` command shows it; the life's texts are ""
// without loads.
struct PageBearing {
  std::string rated;          // ν1, cSt
  std::string kinematic;      // ν at the running temperature, cSt
  std::string kappa;          // κ = ν / ν1
  std::string band;           // "1 to 4: a separating film, where designs aim"
  std::string kappa_1_at;     // °C
  std::string kappa_4_at;     // °C
  std::string basic_life;     // L10h, h
  std::string a_iso;          // "–" below the life method
  std::string modified_life;  // L_nmh, h; "–" below the life method
  std::string life_note;      // why there is no modified life, "" when there is one
  // The numbers in their shortest round-trip text, for comparing with the tool: ν1, ν, κ, the
  // κ = 1 and κ = 4 temperatures, and with loads L10h, a_ISO and L_nmh ("" for none).
  std::vector<std::string> numbers;
  std::string message;  // the first failure's message, "" for none
  // The box it is about: "visc40", "visc100", "dm", "speed", "running", "bearing-type",
  // "rating", "load", "fatigue", "reliability", "cleanliness", or "".
  std::string box;
};

PageBearing BearingOfPage(const PageBearingInputs& inputs);

// The choices of the box's lists, as the tool names them: the bearing types, the reliabilities
// (in percent) and the cleanliness levels, cleanest first.
struct PageBearingChoices {
  std::vector<std::string> types;
  std::vector<std::string> reliabilities;
  std::vector<std::string> cleanliness;
};
PageBearingChoices BearingChoices();

}  // namespace project1::web

namespace project1::web {

// The user's oils the page keeps in the browser's storage, as the text of the desktop's oils file
// (user_oils_text.h), read and written by the desktop's reader and writer.
struct PageUserOils {
  std::vector<PageOil> oils;  // in the file's order; gravity "" for an oil without one
  std::string csv;            // the text to keep, and to export as oils.csv
  std::string summary;        // "2 oils added: you have 5 oils of your own."
  std::string message;        // the first problem, by its line; "" for none
  // The box the problem is about, for an oil added or changed in the page: "user-name",
  // "visc40", "visc100" or "gravity"; "" for the others.
  std::string box;
};

// The oils of the text kept ("" for none), refused whole at its first problem (`csv` is then
// the text kept, as it was).
PageUserOils UserOilsKept(const std::string& kept);

// The oils kept with those of the oils file `file` (named `source` in the messages) added, each
// refused as the desktop refuses an oil added: on the first problem, its message with the file's
// line, and the oils kept as they were.
PageUserOils ImportUserOils(const std::string& kept, const std::string& file,
                            const std::string& source);

// An oil of the user's as typed in the page: its name and note, and the oil's boxes (a gravity
// left blank for none), read and refused as the tool's `oils add` reads and refuses its options.
struct PageUserOil {
  std::string name;
  std::string visc40;
  std::string visc100;
  std::string gravity;
  std::string note;
};

// The oils kept with `oil` added after them, as the tool's `oils add` adds it; or, on a refusal,
// its message and box, and the oils kept as they were.
PageUserOils AddUserOil(const std::string& kept, const PageUserOil& oil);
// The oils kept with the one named `name` given the name, values and note of `oil` in its place
// (renamed when the name differs), as the tool's `oils edit` and `oils rename` change it.
PageUserOils ChangeUserOil(const std::string& kept, const std::string& name,
                           const PageUserOil& oil);
// The oils kept without the one named `name`.
PageUserOils RemoveUserOil(const std::string& kept, const std::string& name);

}  // namespace project1::web
