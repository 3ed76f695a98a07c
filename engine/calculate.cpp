#include "engine/calculate.h"

#include <filesystem>
#include <string>

#include "engine/model.h"
#include "engine/table_file.h"
#include "numtext/numtext.h"
#include "window/controls.h"

namespace project1 {

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

  s.visc40 = TextToNumber(Form1().vc().Text(), "viscosity at 40 °C");
  s.visc100 = TextToNumber(Form1().vh().Text(), "viscosity at 100 °C");
  s.temp1 = TextToNumber(Form1().tref().Text(), "first reference temperature");
  s.temp2 = TextToNumber(Form1().tref2().Text(), "second reference temperature");
  s.sg = TextToNumber(Form1().SG().Text(), "specific gravity");

  FitViscosityLine(s);

  s.visc1 = ViscosityAt(s, s.temp1);
  Form1().vcalc().SetText(FormatNumber(s.visc1, kKinematicPattern));

  s.visc2 = ViscosityAt(s, s.temp2);
  Form1().vcalc2().SetText(FormatNumber(s.visc2, kKinematicPattern));

  DensityFromSG(s);

  s.dyn1 = DynamicViscosity(s, s.visc1);
  Form1().DynVisc().SetText(FormatNumber(s.dyn1, kDynamicPattern));

  // The dynamic viscosity at the second temperature is shown but not kept.
  Form1().DynVisc2().SetText(FormatNumber(DynamicViscosity(s, s.visc2), kDynamicPattern));

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
