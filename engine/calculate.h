#pragma once
// The calculate command: reads the five inputs from the window, fits the line, shows the
// kinematic and dynamic viscosity at both reference temperatures, writes the table file, shows
// the completion notice and marks the result boxes fresh.

#include <string>

namespace project1 {

// The notice shown after the table was written to `folder` (ends with "/").
std::string CompletionNotice(const std::string& folder);

// Runs on ModuleState() and Form1(). Throws Error at the first failing step; the steps already
// done stay done.
void CalculateViscosity();

}  // namespace project1
