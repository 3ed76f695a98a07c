#pragma once
// The viscosity table file the window's calculation writes: the table's text (engine/table_text.h)
// in Viscosity.txt in the user's home folder, replaced safely.

#include <filesystem>
#include <string>
#include <string_view>

#include "engine/calculate.h"
#include "engine/model.h"
#include "table_file/replace_file.h"

namespace project1 {

inline constexpr std::string_view kTableFileName = "Viscosity.txt";

// The folder the table goes to: the user's home folder ($HOME). Error(FileError) when HOME is
// unset, empty or not a folder, or when the system cannot look it up (with the system's cause).
std::filesystem::path TableFolder();

// Builds the table and replaces <TableFolder()>/Viscosity.txt with it; returns the path written.
// On any failure the previous file stays as it was.
std::filesystem::path WriteViscosityTable(const CalcState& s, const FileOps& ops = SystemFileOps());

// The calculation (engine/calculate.h) with its last step writing the table file into
// TableFolder() through `ops`. Nothing is thrown: the first Error ends the calculation and is
// the outcome's failure.
CalculationOutcome Calculate(const CalculationInputs& inputs, const FileOps& ops = SystemFileOps());

// The notice shown after the table was written to `folder`.
std::string CompletionNotice(const std::string& folder);

}  // namespace project1
