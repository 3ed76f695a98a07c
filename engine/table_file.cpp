#include "engine/table_file.h"

#include <optional>
#include <system_error>

#include "error/error.h"
#include "numtext/numtext.h"
#include "platform/host.h"

namespace project1 {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

void AppendTableRow(std::string& text, double t, double nu) {
  text += FormatNumber(t, kTemperaturePattern);
  text += '\t';
  text += FormatNumber(nu, kTableViscosityPattern);
  text += kLineEnd;
}

std::string ViscosityTableText(const CalcState& s) {
  std::string text(kTableHeaderLine);
  text.reserve(64 + static_cast<std::size_t>(kTableRows) * 24);
  double t = kTableFromC;
  for (int row = 1; row <= kTableRows; ++row) {
    AppendTableRow(text, t, ViscosityAt(s, t));
    t += kTableStepC;
  }
  return text;
}

std::filesystem::path TableFolder() {
  const std::string variable(platform::HomeVariableName());
  const std::optional<std::string> home = platform::HomeVariable();
  if (!home) {
    throw Error(ErrorKind::FileError, "Cannot write the table file: the home folder is not set (" +
                                          variable + " is not set).");
  }
  if (home->empty()) {
    throw Error(ErrorKind::FileError, "Cannot write the table file: the home folder is not set (" +
                                          variable + " is empty).");
  }
  const std::filesystem::path folder = platform::PathFromUtf8(*home);
  std::error_code cause;
  const std::filesystem::file_status status = std::filesystem::status(folder, cause);
  // Anything but a missing folder (a folder on the way that may not be searched, a loop of
  // links, a name too long) is reported with the system's own words.
  if (status.type() == std::filesystem::file_type::directory) return folder;
  if (cause && status.type() != std::filesystem::file_type::not_found) {
    throw Error(ErrorKind::FileError, "Cannot write the table file: the home folder " + *home +
                                          " cannot be read: " + cause.message() + ".");
  }
  throw Error(ErrorKind::FileError, "Cannot write the table file: the home folder " + *home +
                                        " is not an existing folder.");
}

std::filesystem::path WriteViscosityTable(const CalcState& s, const FileOps& ops) {
  const std::filesystem::path folder = TableFolder();
  const std::string text = ViscosityTableText(s);
  std::filesystem::path target = folder / kTableFileName;
  ReplaceFile(target, text, ops);
  return target;
}

}  // namespace project1
