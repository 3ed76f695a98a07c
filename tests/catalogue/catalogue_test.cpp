#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/calculate.h"
#include "engine/model.h"
#include "error_expectations.h"
#include "fake_form.h"

namespace project1 {
namespace {

using State = std::map<std::string, std::string>;

const std::vector<std::string> kListItems = {
    "SHC 624", "SHC 625", "SHC 626", "SHC 627", "SHC 629", "SHC 630",
    "SHC 632", "SHC 634", "SHC 636", "SHC 639", "OTHER",
};

std::optional<Error> Handle(void (*handler)()) { return Caught(handler); }

TEST(FillListTest, AppendsTheTenNamesAndOtherOnceLeavingTheEditFieldAlone) {
  FakeForm form;

  ASSERT_EQ(Outcome(Handle(FillList)), "");
  EXPECT_EQ(form.List().items, kListItems);
  EXPECT_EQ(form.List().shown, "Lubricant List");
  std::vector<std::string> appends;
  for (const std::string& item : kListItems) appends.push_back("LubList.AddItem=" + item);
  EXPECT_EQ(form.Writes(), appends);

  form.ClearCalls();
  ASSERT_EQ(Outcome(Handle(FillList)), "");
  EXPECT_EQ(form.List().items, kListItems);
  EXPECT_EQ(form.Calls(), std::vector<std::string>{"LubList.ListCount?"});
}

TEST(FillListTest, ListThatAlreadyHoldsAnItemIsLeftAsItIs) {
  FakeForm form;
  form.List().items = {"SHC 632"};

  ASSERT_EQ(Outcome(Handle(FillList)), "");

  EXPECT_EQ(form.List().items, std::vector<std::string>{"SHC 632"});
  EXPECT_TRUE(form.Writes().empty());
}

TEST(FillListTest, RefusedAppendKeepsTheItemsAddedBeforeIt) {
  FakeForm form;
  form.FailCall("LubList.AddItem=", 3);

  const std::optional<Error> error = Handle(FillList);

  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->kind(), ErrorKind::ControlError);
  EXPECT_STREQ(error->what(), "The window control LubList refused to add an item.");
  EXPECT_EQ(form.List().items, (std::vector<std::string>{"SHC 624", "SHC 625"}));
}

struct PickCase {
  const char* name;
  std::string picked;  // the text of the list's edit field
  // The texts written into vc, vh and SG, in that order; none when nothing is written.
  std::optional<std::vector<std::string>> written;
};

void PrintTo(const PickCase& c, std::ostream* os) { *os << c.name; }

using Texts = std::vector<std::string>;

const std::vector<PickCase> kPicks = {
    {"Shc624", "SHC 624", Texts{"31", "5.8", "0.85"}},
    {"Shc625", "SHC 625", Texts{"46", "7.7", "0.85"}},
    {"Shc626", "SHC 626", Texts{"66", "10.3", "0.86"}},
    {"Shc627", "SHC 627", Texts{"97", "7.7", "0.85"}},
    {"Shc629", "SHC 629", Texts{"149", "19", "0.86"}},
    {"Shc630", "SHC 630", Texts{"222", "25.7", "0.87"}},
    {"Shc632", "SHC 632", Texts{"320", "35", "0.87"}},
    {"Shc634", "SHC 634", Texts{"454", "46.5", "0.87"}},
    {"Shc636", "SHC 636", Texts{"652", "61.2", "0.87"}},
    {"Shc639", "SHC 639", Texts{"968", "78.5", "0.85"}},
    {"Other", "OTHER", std::nullopt},
    {"LowerCaseName", "shc 624", std::nullopt},
    {"TrailingBlank", "SHC 639 ", std::nullopt},
    {"TwoBlanks", "SHC  639", std::nullopt},
    {"NumberNotInTheSeries", "SHC 628", std::nullopt},
    {"EditFieldAsItStarts", "Lubricant List", std::nullopt},
    {"EmptyEditField", "", std::nullopt},
};

class SelectLubricantTest : public ::testing::TestWithParam<PickCase> {};

TEST_P(SelectLubricantTest, WritesTheRowIntoVcVhAndSgOrNothing) {
  FakeForm form;
  // Inputs a user typed before picking, so that every write shows.
  form.Box("vc").shown = "1";
  form.Box("vh").shown = "2";
  form.Box("SG").shown = "3";
  form.List().shown = GetParam().picked;
  State expected = form.State();
  std::vector<std::string> writes;
  if (GetParam().written) {
    const Texts& texts = *GetParam().written;
    expected["vc.Text"] = texts[0];
    expected["vh.Text"] = texts[1];
    expected["SG.Text"] = texts[2];
    writes = {"vc.Text=" + texts[0], "vh.Text=" + texts[1], "SG.Text=" + texts[2]};
  }

  ASSERT_EQ(Outcome(Handle(SelectLubricant)), "");

  EXPECT_EQ(form.State(), expected);
  EXPECT_EQ(form.Writes(), writes);
}

INSTANTIATE_TEST_SUITE_P(Picks, SelectLubricantTest, ::testing::ValuesIn(kPicks),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(SelectLubricantTest, OtherAfterARowLeavesThatRowsValues) {
  FakeForm form;
  form.List().shown = "SHC 630";
  ASSERT_EQ(Outcome(Handle(SelectLubricant)), "");
  form.List().shown = "OTHER";
  form.ClearCalls();

  ASSERT_EQ(Outcome(Handle(SelectLubricant)), "");

  EXPECT_EQ(form.Box("vc").shown, "222");
  EXPECT_EQ(form.Box("vh").shown, "25.7");
  EXPECT_EQ(form.Box("SG").shown, "0.87");
  EXPECT_TRUE(form.Writes().empty());
}

TEST(SelectLubricantTest, RefusedWriteOfVhKeepsVcNewAndSgOld) {
  FakeForm form;
  form.List().shown = "SHC 639";
  form.FailCall("vh.Text=");

  const std::optional<Error> error = Handle(SelectLubricant);

  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->kind(), ErrorKind::ControlError);
  EXPECT_STREQ(error->what(), "The window control vh refused to take a new Text.");
  EXPECT_EQ(form.Box("vc").shown, "968");
  EXPECT_EQ(form.Box("vh").shown, "35");
  EXPECT_EQ(form.Box("SG").shown, "0.87");
}

TEST(SelectLubricantTest, LeavesTemperaturesAndResultsAlone) {
  FakeForm form;
  form.Box("tref").shown = "55";
  form.Box("vcalc").shown = "85.642";
  form.Box("vcalc").back_colour = kLightGreen;
  form.List().shown = "SHC 626";
  State expected = form.State();
  expected["vc.Text"] = "66";
  expected["vh.Text"] = "10.3";
  expected["SG.Text"] = "0.86";

  ASSERT_EQ(Outcome(Handle(SelectLubricant)), "");

  EXPECT_EQ(form.State(), expected);
}

// Every catalogue row is a usable oil: its line fits, and evaluated at 40 and 100 C it gives
// back the row's own viscosities.
TEST(LubricantCatalogueTest, EveryRowFitsALineThroughItsOwnViscosities) {
  for (const Lubricant& lubricant : LubricantCatalogue) {
    SCOPED_TRACE(std::string(lubricant.name));
    CalcState s;
    ASSERT_NO_THROW(s = FittedLine(lubricant.vc, lubricant.vh));
    EXPECT_GT(s.slope, 0);
    EXPECT_NEAR(ViscosityAt(s, 40), lubricant.vc, lubricant.vc * 1e-9);
    EXPECT_NEAR(ViscosityAt(s, 100), lubricant.vh, lubricant.vh * 1e-9);
  }
}

// Picking each oil and calculating: the line the calculation fits is the row's, and "SHC 627"
// (the row whose 100 C viscosity does not rise with its number) gives the steepest, B = 4.405.
TEST(LubricantCatalogueTest, PickingShc627AndCalculatingFitsTheSteepestLine) {
  TempHome home;
  FakeForm form;
  ASSERT_EQ(Outcome(Handle(FillList)), "");
  std::string steepest;
  double steepest_slope = 0;
  for (const std::string& item : form.List().items) {
    if (item == kOtherLubricant) continue;
    SCOPED_TRACE(item);
    form.List().shown = item;
    ModuleState() = CalcState{};
    ASSERT_EQ(Outcome(Handle(SelectLubricant)), "");
    ASSERT_EQ(Outcome(Handle(CalculateViscosity)), "");
    if (ModuleState().slope > steepest_slope) {
      steepest = item;
      steepest_slope = ModuleState().slope;
    }
    if (item == "SHC 627") {
      EXPECT_EQ(ModuleState().visc40, 97);
      EXPECT_EQ(ModuleState().visc100, 7.7);
      EXPECT_NEAR(ModuleState().slope, 4.405, 5e-4);
    }
  }
  EXPECT_EQ(steepest, "SHC 627");
}

}  // namespace
}  // namespace project1
