#include "table_file/table_file.h"

#include <optional>
#include <system_error>

#include "engine/table_text.h"
#include "error/error.h"
#include "platform/host.h"

namespace project1 {

std::filesystem::path TableFolder() {
  const std::string variable(platform::HomeVariableName());
  const std::optional<std::string> home = platform::HomeVariable();
  if (!home) {
    throw Error(ErrorKind::File, "Cannot write the table file: the home folder is not set (" +
                                     variable + " is not set).");
  }
  if (home->empty()) {
    throw Error(ErrorKind::File, "Cannot write the table file: the home folder is not set (" +
                                     variable + " is empty).");
  }
  const std::filesystem::path folder = platform::PathFromUtf8(*home);
  std::error_code cause;
  const std::filesystem::file_status status = std::filesystem::status(folder, cause);
  // Anything but a missing folder (a folder on the way that may not be searched, a loop of
  // links, a name too long) is reported with the system's own words.
  if (status.type() == std::filesystem::file_type::directory) return folder;
  if (cause && status.type() != std::filesystem::file_type::not_found) {
    throw Error(ErrorKind::File, "Cannot write the table file: the home folder " + *home +
                                     " cannot be read: " + cause.message() + ".");
  }
  throw Error(ErrorKind::File, "Cannot write the table file: the home folder " + *home +
                                   " is not an existing folder.");
}

std::filesystem::path WriteViscosityTable(const CalcState& s, const FileOps& ops) {
  const std::filesystem::path folder = TableFolder();
  const std::string text = ViscosityTableText(s);
  std::filesystem::path target = folder / kTableFileName;
  ReplaceFile(target, text, ops);
  return target;
}

CalculationOutcome Calculate(const CalculationInputs& inputs, const FileOps& ops) {
  return CalculateWithTableStep(inputs, [&ops](const CalcState& s, CalculationOutcome& out) {
    out.table = WriteViscosityTable(s, ops);
  });
}

std::string CompletionNotice(const std::string& folder) {
  std::string shown = folder;
  while (!shown.empty() && shown.back() == '/') shown.pop_back();
  return "the file " + std::string(kTableFileName) + " was created in " + shown + "/";
}

}  // namespace project1
