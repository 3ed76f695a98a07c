#include "catalogue/catalogue.h"

namespace project1 {

const Lubricant* FindOil(std::string_view name) {
  for (const Lubricant& lubricant : LubricantCatalogue) {
    if (lubricant.name == name) return &lubricant;
  }
  return nullptr;
}

}  // namespace project1
