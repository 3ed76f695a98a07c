#include "catalogue/catalogue.h"

#include <string>

#include "numtext/numtext.h"
#include "window/controls.h"

namespace project1 {

void FillList() {
  if (Form1().LubList().ListCount() != 0) return;
  for (const Lubricant& lubricant : LubricantCatalogue) {
    Form1().LubList().AddItem(std::string(lubricant.name));
  }
  Form1().LubList().AddItem(std::string(kOtherLubricant));
}

void SelectLubricant() {
  const std::string picked = Form1().LubList().Text();
  for (const Lubricant& lubricant : LubricantCatalogue) {
    if (lubricant.name != picked) continue;
    Form1().vc().SetText(NumberToText(lubricant.vc));
    Form1().vh().SetText(NumberToText(lubricant.vh));
    Form1().SG().SetText(NumberToText(lubricant.sg));
    return;
  }
}

}  // namespace project1
