#include "engine/calculate.h"

#include "numtext/numtext.h"

namespace project1 {

namespace {

// The steps in the order they run, and that order decides what a failure leaves shown. Without
// `ops` the last step keeps the table's text instead of writing the file.
void RunSteps(const CalculationInputs& inputs, const FileOps* ops, CalculationOutcome& out) {
  CalcState& s = out.values;
  s.visc40 = TextToNumber(inputs.visc40, kVisc40Name);
  s.visc100 = TextToNumber(inputs.visc100, kVisc100Name);
  s.temp1 = TextToNumber(inputs.temp1, kTemp1Name);
  s.temp2 = TextToNumber(inputs.temp2, kTemp2Name);
  s.gravity = TextToNumber(inputs.gravity, kGravityName);

  FitViscosityLine(s);

  s.visc1 = ViscosityAt(s, s.temp1, kTemp1Name);
  out.shown.push_back({Result::kViscosity1, FormatNumber(s.visc1, kKinematicPattern)});
  s.visc2 = ViscosityAt(s, s.temp2, kTemp2Name);
  out.shown.push_back({Result::kViscosity2, FormatNumber(s.visc2, kKinematicPattern)});

  DensityFromGravity(s);
  s.dynamic1 = DynamicViscosity(s, s.visc1, kTemp1Name);
  out.shown.push_back({Result::kDynamic1, FormatNumber(s.dynamic1, kDynamicPattern)});
  s.dynamic2 = DynamicViscosity(s, s.visc2, kTemp2Name);
  out.shown.push_back({Result::kDynamic2, FormatNumber(s.dynamic2, kDynamicPattern)});

  if (ops != nullptr) {
    out.table = WriteViscosityTable(s, *ops);
  } else {
    out.table_text = ViscosityTableText(s);
  }
}

CalculationOutcome Run(const CalculationInputs& inputs, const FileOps* ops) {
  CalculationOutcome outcome;
  try {
    RunSteps(inputs, ops, outcome);
  } catch (const Error& error) {
    outcome.failure = error;
  }
  return outcome;
}

}  // namespace

CalculationOutcome Calculate(const CalculationInputs& inputs, const FileOps& ops) {
  return Run(inputs, &ops);
}

CalculationOutcome CalculateWithoutFile(const CalculationInputs& inputs) {
  return Run(inputs, nullptr);
}

std::string CompletionNotice(const std::string& folder) {
  std::string shown = folder;
  while (!shown.empty() && shown.back() == '/') shown.pop_back();
  return "the file " + std::string(kTableFileName) + " was created in " + shown + "/";
}

}  // namespace project1
