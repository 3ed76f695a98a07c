#pragma once
// The calculate command: reads the five inputs from the window, fits the line, shows the
// kinematic and dynamic viscosity at both reference temperatures, writes the table file, shows
// the completion notice and marks the result boxes fresh.

#include <string>
#include <string_view>

namespace project1 {

// The window box the calculation reads the input named `subject` from (an error's subject, e.g.
// "specific gravity" gives "SG"); empty for a subject that is no input of the calculation.
std::string_view InputBoxOf(std::string_view subject);

// The notice shown after the table was written to `folder` (ends with "/").
std::string CompletionNotice(const std::string& folder);

// Runs on ModuleState() and Form1(). Throws Error at the first failing step; the steps already
// done stay done. An error about one input has that input's name as its subject.
void CalculateViscosity();

}  // namespace project1
