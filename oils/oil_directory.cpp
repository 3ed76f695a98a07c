#include "oils/oil_directory.h"

#include "catalogue/catalogue.h"
#include "error/error.h"
#include "oils/name_key.h"
#include "oils/oil_limits.h"

namespace project1 {

bool ShadowedByCatalogue(std::string_view name) {
  const std::string key = NameKey(name);
  for (const Lubricant& oil : LubricantCatalogue) {
    if (NameKey(oil.name) == key) return true;
  }
  return false;
}

FoundOil OilNamed(std::string_view what, std::string_view typed, const std::vector<UserOil>& mine) {
  // The catalogue's names in list order, then the user's that no catalogue oil hides.
  std::vector<std::string_view> names;
  for (const Lubricant& oil : LubricantCatalogue) names.push_back(oil.name);
  std::vector<const UserOil*> users;
  for (const UserOil& oil : mine) {
    if (ShadowedByCatalogue(oil.name)) continue;
    names.push_back(oil.name);
    users.push_back(&oil);
  }
  const NameMatch match = MatchName(typed, names);
  if (match.found && *match.found < LubricantCatalogue.size()) {
    const Lubricant& oil = LubricantCatalogue[*match.found];
    const std::string key = NameKey(oil.name);
    FoundOil found{{std::string(oil.name), oil.nu40, oil.nu100, oil.gravity, "", true}, false};
    for (const UserOil& other : mine) found.shadowed = found.shadowed || NameKey(other.name) == key;
    return found;
  }
  if (match.found) {
    const UserOil& oil = *users[*match.found - LubricantCatalogue.size()];
    if (oil.gravity) {
      CheckedGravity("The specific gravity of your oil \"" + oil.name + "\"", *oil.gravity, {});
    }
    return {{oil.name, oil.nu40, oil.nu100, oil.gravity, oil.note, false}, false};
  }
  const std::string quoted = std::string(what) + " \"" + std::string(typed) + "\"";
  const bool yours = !users.empty();
  const std::string missing =
      yours ? " is not in the catalogue or among your oils" : " is not in the catalogue";
  const std::string listed =
      yours ? "\"viscosity oils\" lists them." : "\"viscosity oils\" lists its names.";
  std::string message;
  if (match.several) {
    message =
        quoted + " matches " + QuotedChoices(names, match.nearest) + "; give the name exactly.";
  } else if (!match.nearest.empty()) {
    message =
        quoted + missing + "; did you mean " + QuotedChoices(names, match.nearest) + "? " + listed;
  } else {
    message = quoted + missing + "; " + listed;
  }
  throw Error(ErrorKind::BadInput, message);
}

std::string ShadowedByCatalogueNotice(std::string_view name) {
  return "\"" + std::string(name) +
         "\" is now also a catalogue oil: the catalogue's is used, not yours.";
}

}  // namespace project1
