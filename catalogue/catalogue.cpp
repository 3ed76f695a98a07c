#include "catalogue/catalogue.h"

#include <string>
#include <vector>

#include "catalogue/name_match.h"
#include "error/error.h"

namespace project1 {

const Lubricant* FindOil(std::string_view name) {
  for (const Lubricant& lubricant : LubricantCatalogue) {
    if (lubricant.name == name) return &lubricant;
  }
  return nullptr;
}

const Lubricant& CatalogueOilNamed(std::string_view what, std::string_view typed) {
  std::vector<std::string_view> names;
  for (const Lubricant& oil : LubricantCatalogue) names.push_back(oil.name);
  const NameMatch match = MatchName(typed, names);
  if (match.found) return LubricantCatalogue[*match.found];
  const std::string quoted = std::string(what) + " \"" + std::string(typed) + "\"";
  std::string message;
  if (match.several) {
    message =
        quoted + " matches " + QuotedChoices(names, match.nearest) + "; give the name exactly.";
  } else if (!match.nearest.empty()) {
    message = quoted + " is not in the catalogue; did you mean " +
              QuotedChoices(names, match.nearest) + "? \"viscosity oils\" lists its names.";
  } else {
    message = quoted + " is not in the catalogue; \"viscosity oils\" lists its names.";
  }
  throw Error(ErrorKind::TypeMismatch, message);
}

}  // namespace project1
