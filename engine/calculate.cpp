#include "engine/calculate.h"

#include "engine/table_text.h"
#include "numtext/numtext.h"

namespace project1 {

namespace {

// The steps in the order they run, and that order decides what a failure leaves shown.
void RunSteps(const CalculationInputs& inputs, const TableStep& table_step,
              CalculationOutcome& out) {
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

  table_step(s, out);
}

}  // namespace

CalculationOutcome CalculateWithTableStep(const CalculationInputs& inputs,
                                          const TableStep& table_step) {
  CalculationOutcome outcome;
  try {
    RunSteps(inputs, table_step, outcome);
  } catch (const Error& error) {
    outcome.failure = error;
  }
  return outcome;
}

CalculationOutcome CalculateWithoutFile(const CalculationInputs& inputs) {
  return CalculateWithTableStep(inputs, [](const CalcState& s, CalculationOutcome& out) {
    out.table_text = ViscosityTableText(s);
  });
}

}  // namespace project1
