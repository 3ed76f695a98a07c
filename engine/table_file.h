#pragma once
// The viscosity-versus-temperature table file: a header line and 59 rows from -40 to 250 C in
// steps of 5 C, TAB between fields, CR LF after every line.

#include <filesystem>
#include <string>
#include <string_view>

#include "engine/model.h"
#include "engine/safe_replace.h"

namespace project1 {

inline constexpr std::string_view kTableFileName = "Viscosity.txt";
inline constexpr int kTableRows = 59;
// The table's range and step, C.
inline constexpr double kTableFromC = -40;
inline constexpr double kTableToC = 250;
inline constexpr double kTableStepC = 5;

// The table's header line and one row line (temperature in C, viscosity in cSt), each ending in
// CR LF: the format of the table file, for any range.
inline constexpr std::string_view kTableHeaderLine = " Temp, C\t viscosity, cSt\r\n";
void AppendTableRow(std::string& text, double t, double nu);

// The whole file's text for the fitted line in `s`; writes loglog and logv through ViscosityAt.
// Throws the evaluation's error at the first failing row.
std::string ViscosityTableText(CalcState& s);

// The folder the table goes to: the user's home folder ($HOME). Error(FileError) when HOME is
// unset, empty or not a folder, or when the system cannot look it up (with the system's cause).
std::filesystem::path TableFolder();

// The system calls WriteViscosityTable uses by default: those set by SetTableFileOps, else the
// real ones. Setting nullptr goes back to the real calls. Lets tests make a calculation's file
// write fail at any step.
void SetTableFileOps(const FileOps* ops);
const FileOps& TableFileOps();

// Builds the table and replaces <TableFolder()>/Viscosity.txt with it; returns the path written.
// On any failure the previous file stays as it was.
std::filesystem::path WriteViscosityTable(CalcState& s, const FileOps& ops = TableFileOps());

}  // namespace project1
