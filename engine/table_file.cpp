#include "engine/table_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "error/error.h"
#include "numtext/numtext.h"

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
  const char* home = std::getenv("HOME");
  if (home == nullptr) {
    throw Error(ErrorKind::FileError,
                "Cannot write the table file: the home folder is not set (HOME is not set).");
  }
  if (*home == '\0') {
    throw Error(ErrorKind::FileError,
                "Cannot write the table file: the home folder is not set (HOME is empty).");
  }
  std::filesystem::path folder(home);
  struct stat info {};
  if (::stat(home, &info) != 0) {
    const int cause = errno;
    // Anything but a missing folder (a folder on the way that may not be searched, a loop of
    // links, a name too long) is reported with the system's own words.
    if (cause != ENOENT && cause != ENOTDIR) {
      throw Error(ErrorKind::FileError, "Cannot write the table file: the home folder " +
                                            folder.string() +
                                            " cannot be read: " + std::strerror(cause) + ".");
    }
  } else if (S_ISDIR(info.st_mode)) {
    return folder;
  }
  throw Error(ErrorKind::FileError, "Cannot write the table file: the home folder " +
                                        folder.string() + " is not an existing folder.");
}

std::filesystem::path WriteViscosityTable(const CalcState& s, const FileOps& ops) {
  const std::filesystem::path folder = TableFolder();
  const std::string text = ViscosityTableText(s);
  std::filesystem::path target = folder / kTableFileName;
  ReplaceFile(target, text, ops);
  return target;
}

}  // namespace project1
