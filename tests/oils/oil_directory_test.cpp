// The oil directory: a typed name finds a catalogue oil and a user's alike, the catalogue wins a
// name both hold, and a name found in neither is answered with the nearest names of both.
#include "oils/oil_directory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "error/error.h"

namespace project1 {
namespace {

TEST(OilDirectory, FindsEitherListsOilsByOneKeyAndTheCatalogueWinsASharedName) {
  const std::vector<UserOil> mine = {
      {"Hydraulic HV 46", 46, 7.9, 0.87, "shop"},
      {"shc632", 1, 0.5, {}, "older than the catalogue's"},
      {"Heavy", 100, 11, 4.5, ""},
  };
  struct Case {
    std::string typed;
    std::vector<UserOil> oils;
    std::string found;  // the oil's name, or the error's message
    bool catalogue = true;
    bool shadowed = false;
  };
  const std::string user = " is not in the catalogue or among your oils; ";
  const Case cases[] = {
      {"Hydraulic HV 46", mine, "Hydraulic HV 46", false},
      {"Hydraulic HV46", mine, "Hydraulic HV 46", false},
      {" HYDRAULIC\thv 4 6", mine, "Hydraulic HV 46", false},
      {"SHC 632", mine, "SHC 632", true, true},
      {"shc632", mine, "SHC 632", true, true},
      {"SHC 624", mine, "SHC 624", true, false},
      {"SHC 632", {}, "SHC 632", true, false},
      {"Hydraulik HV 46", mine,
       "--oil \"Hydraulik HV 46\"" + user +
           "did you mean \"Hydraulic HV 46\"? \"viscosity oils\" lists them."},
      {"Heavvy", mine,
       "--oil \"Heavvy\"" + user + "did you mean \"Heavy\"? \"viscosity oils\" lists them."},
      {"Gear 220", mine, "--oil \"Gear 220\"" + user + "\"viscosity oils\" lists them."},
      {"SHC 362",
       {},
       "--oil \"SHC 362\" is not in the catalogue; did you mean \"SHC 632\", \"SHC 624\" or "
       "\"SHC 625\"? \"viscosity oils\" lists its names."},
      {"Heavy", mine,
       "The specific gravity of your oil \"Heavy\" must be from 0.5 to 3; it is 4.5."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    try {
      const FoundOil found = OilNamed("--oil", c.typed, c.oils);
      EXPECT_EQ(found.oil.name, c.found);
      EXPECT_EQ(found.oil.catalogue, c.catalogue);
      EXPECT_EQ(found.shadowed, c.shadowed);
      if (!c.catalogue) EXPECT_EQ(found.oil.note, "shop");
    } catch (const Error& error) {
      EXPECT_EQ(error.what(), c.found);
    }
  }
}

}  // namespace
}  // namespace project1
