#pragma once
// The calculate command as a value: the five input texts in, the outcome out. It reads the
// inputs, fits the line, computes the kinematic and dynamic viscosity at both reference
// temperatures and makes the table, stopping at the first failing step. The window's calculation,
// whose last step writes the table file, is table_file/'s Calculate.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/model.h"
#include "error/error.h"

namespace project1 {

// The five inputs as typed.
struct CalculationInputs {
  std::string visc40;   // cSt at 40 C
  std::string visc100;  // cSt at 100 C
  std::string temp1;    // first reference temperature, C
  std::string temp2;    // second reference temperature, C
  std::string gravity;  // specific gravity
};

// The four results the calculation shows, in the order it computes them.
enum class Result { kViscosity1, kViscosity2, kDynamic1, kDynamic2 };

struct ShownResult {
  Result result;
  std::string text;  // the value in its display pattern
};

struct CalculationOutcome {
  // The numbers of every step that ran; the fields of the steps after a failure stay 0.
  CalcState values;
  // The results' display texts, in the order computed, up to the failure.
  std::vector<ShownResult> shown;
  // The table file written (table_file/'s Calculate); empty unless the calculation ran to its end.
  std::filesystem::path table;
  // The table's bytes, from CalculateWithoutFile only; empty unless it ran to its end.
  std::string table_text;
  // The first failure; an error about one input has that input's name as its subject.
  std::optional<Error> failure;

  bool Succeeded() const { return !failure.has_value(); }
};

// The steps for a caller that writes no file (the browser's page): the last step makes the
// table's text, kept in the outcome's table_text. Nothing is thrown: the first Error ends the
// calculation and is the outcome's failure.
CalculationOutcome CalculateWithoutFile(const CalculationInputs& inputs);

// The same steps with `table_step` as the last, given the fitted line (table_file/ writes the
// file there).
using TableStep = std::function<void(const CalcState& s, CalculationOutcome& out)>;
CalculationOutcome CalculateWithTableStep(const CalculationInputs& inputs,
                                          const TableStep& table_step);

}  // namespace project1
