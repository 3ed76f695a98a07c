#include "engine/calculate.h"

#include <filesystem>
#include <string>

#include "engine/model.h"
#include "engine/table_file.h"
#include "numtext/numtext.h"
#include "window/controls.h"

namespace project1 {

namespace {

struct InputBox {
  std::string_view subject;
  std::string_view box;
};

constexpr InputBox kInputBoxes[] = {
    {kVisc40Name, "vc"},   {kVisc100Name, "vh"}, {kTemp1Name, "tref"},
    {kTemp2Name, "tref2"}, {kGravityName, "SG"},
};

}  // namespace

std::string_view InputBoxOf(std::string_view subject) {
  for (const InputBox& input : kInputBoxes) {
    if (input.subject == subject) return input.box;
  }
  return {};
}

std::string CompletionNotice(const std::string& folder) {
  std::string shown = folder;
  while (!shown.empty() && shown.back() == '/') shown.pop_back();
  return "the file " + std::string(kTableFileName) + " was created in " + shown + "/";
}

// The steps run in this order, and the order decides what the window shows when one fails.
// Each step reaches the window afresh through Form1(): nothing of the window is kept between
// steps. Nothing is caught here; the first error ends the command.
void CalculateViscosity() {
  CalcState& s = ModuleState();

  s.visc40 = TextToNumber(Form1().vc().Text(), kVisc40Name);
  s.visc100 = TextToNumber(Form1().vh().Text(), kVisc100Name);
  s.temp1 = TextToNumber(Form1().tref().Text(), kTemp1Name);
  s.temp2 = TextToNumber(Form1().tref2().Text(), kTemp2Name);
  s.sg = TextToNumber(Form1().SG().Text(), kGravityName);

  FitViscosityLine(s);

  s.visc1 = ViscosityAt(s, s.temp1, kTemp1Name);
  Form1().vcalc().SetText(FormatNumber(s.visc1, kKinematicPattern));

  s.visc2 = ViscosityAt(s, s.temp2, kTemp2Name);
  Form1().vcalc2().SetText(FormatNumber(s.visc2, kKinematicPattern));

  DensityFromSG(s);

  s.dyn1 = DynamicViscosity(s, s.visc1, kTemp1Name);
  Form1().DynVisc().SetText(FormatNumber(s.dyn1, kDynamicPattern));

  // The dynamic viscosity at the second temperature is shown but not kept.
  Form1().DynVisc2().SetText(
      FormatNumber(DynamicViscosity(s, s.visc2, kTemp2Name), kDynamicPattern));

  const std::filesystem::path written = WriteViscosityTable(s);

  Form1().Label4().SetCaption(CompletionNotice(written.parent_path().string()));

  Form1().Label4().SetFontBold(true);
  Form1().Label4().SetFontSize(14);

  Form1().vcalc().SetBackColor(kLightGreen);
  Form1().vcalc2().SetBackColor(kLightGreen);
  Form1().DynVisc().SetBackColor(kLightGreen);
  Form1().DynVisc2().SetBackColor(kLightGreen);
}

}  // namespace project1
