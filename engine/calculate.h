#pragma once
// The calculate command as a value: the five input texts in, the outcome out. It reads the
// inputs, fits the line, computes the kinematic and dynamic viscosity at both reference
// temperatures and writes the table file, stopping at the first failing step.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/model.h"
#include "engine/safe_replace.h"
#include "engine/table_file.h"
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
  // The table file written; empty unless the calculation ran to its end.
  std::filesystem::path table;
  // The table's bytes, from CalculateWithoutFile only; empty unless it ran to its end.
  std::string table_text;
  // The first failure; an error about one input has that input's name as its subject.
  std::optional<Error> failure;

  bool Succeeded() const { return !failure.has_value(); }
};

// Runs the calculation and writes the table file into TableFolder() through `ops`. Nothing is
// thrown: the first Error ends the calculation and is the outcome's failure.
CalculationOutcome Calculate(const CalculationInputs& inputs, const FileOps& ops = SystemFileOps());

// The same steps for a caller that writes no file (the browser's page): the last step makes the
// table's text, kept in the outcome's table_text, instead of writing the table file.
CalculationOutcome CalculateWithoutFile(const CalculationInputs& inputs);

// The notice shown after the table was written to `folder`.
std::string CompletionNotice(const std::string& folder);

}  // namespace project1
