#pragma once
// The one directory of oils a name finds: the catalogue's and the user's own. A name is judged by
// its NameKey (oils/name_key.h) in both lists alike, the catalogue wins a name both hold, and a
// name found in neither is answered with the nearest names of both. The tool, the module and the
// window ask it; none of them matches names of its own.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "user_oils/user_oils.h"

namespace project1 {

// An oil as the directory finds it, from the catalogue or from the user's oils.
struct DirectoryOil {
  std::string name;  // as the list spells it
  double nu40 = 0;   // cSt at 40 C
  double nu100 = 0;  // cSt at 100 C
  std::optional<double> gravity;
  std::string note;
  bool catalogue = true;  // a catalogue oil, or else one of the user's
};

struct FoundOil {
  DirectoryOil oil;
  // The user has an oil of the catalogue oil's name too, and the catalogue's is meant.
  bool shadowed = false;
};

// Whether a catalogue oil has the NameKey of `name`, so that a user's oil of that name is hidden
// behind it (left out of the lists a name is looked up in and that a person picks from).
bool ShadowedByCatalogue(std::string_view name);

// The oil a person typed, among the catalogue and `mine`, matched by MatchName: the name spelled
// exactly so, or the one name of its NameKey. A user's oil whose specific gravity lies outside
// the oil limits (oils/oil_limits.h) is refused as a typed gravity is. Otherwise Error naming
// `what` and the text and offering the nearest names of both lists: '--oil "SHC 362" is not in
// the catalogue; did you mean "SHC 632"? "viscosity oils" lists its names.' (with oils of the
// user's: '... is not in the catalogue or among your oils; ... "viscosity oils" lists them.').
FoundOil OilNamed(std::string_view what, std::string_view typed, const std::vector<UserOil>& mine);

// What a person is told when `name` means the catalogue's oil, not theirs.
std::string ShadowedByCatalogueNotice(std::string_view name);

}  // namespace project1
