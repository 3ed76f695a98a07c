#include "user_oils/user_oils_text.h"

#include <cmath>
#include <set>
#include <utility>

#include "catalogue/catalogue.h"
#include "csv/csv.h"
#include "engine/oil_properties.h"
#include "error/error.h"
#include "numtext/numtext.h"
#include "oils/name_key.h"
#include "oils/oil_limits.h"

namespace project1 {

namespace {

// The records up to the first that cannot be split; `problem` says why that one could not.
std::vector<CsvRecord> SplitRecords(std::string_view text, std::string_view source,
                                    std::string& problem) {
  std::vector<CsvRecord> records;
  try {
    ReadCsvRecords(text, source, records);
  } catch (const Error& error) {
    problem = error.what();
  }
  return records;
}

double FieldNumber(std::string_view column, const std::string& field) {
  try {
    return TextToNumber(field);
  } catch (const Error& error) {
    throw Error(error.kind(), std::string(column) + " " + error.what());
  }
}

std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

void CheckValue(std::string_view what, double value, std::string_view name) {
  if (!std::isfinite(value) || value <= 0) {
    throw Error(ErrorKind::BadInput, "The " + std::string(what) + " of " + Quoted(name) +
                                         " must be above 0 (" + ShortestText(value) + ").");
  }
}

void CheckValues(const UserOil& oil) {
  const std::string_view name = TrimBlanks(oil.name);
  CheckValue("v40", oil.nu40, name);
  CheckValue("v100", oil.nu100, name);
  if (oil.gravity) CheckValue("sg", *oil.gravity, name);
}

// The first characters a spreadsheet opening the file runs a field as a formula after, and how a
// message names each.
struct FormulaStart {
  char first;
  const char* shown;
};
constexpr FormulaStart kFormulaStarts[] = {
    {'=', "\"=\""}, {'+', "\"+\""},  {'-', "\"-\""},
    {'@', "\"@\""}, {'\t', "a tab"}, {'\r', "a carriage return"},
};

// The longest name, in characters: a list of oils shows every name in one column.
constexpr std::size_t kLongestName = 100;

void RefuseName(const std::string& message) { throw Error(ErrorKind::BadInput, message, "name"); }

// Refuses a new name that would hurt where it goes: one a spreadsheet would run as a formula, one
// too long for a list, one holding a character that does not show. `typed` is the name as given,
// before its surrounding blanks are taken off.
void CheckNewName(std::string_view typed) {
  const std::string_view name = TrimBlanks(typed);
  for (const std::string_view start : {typed, name}) {
    for (const FormulaStart& formula : kFormulaStarts) {
      if (start.front() != formula.first) continue;
      // A name is shown only when it begins with a character that shows.
      const bool shows = formula.first > ' ';
      RefuseName("The name " + (shows ? Quoted(name) + " " : std::string()) + "begins with " +
                 formula.shown +
                 ", which makes a spreadsheet opening the oils file run it as a formula; begin it "
                 "with another character.");
    }
  }
  std::size_t characters = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if ((byte & 0xC0) != 0x80) ++characters;
    // C0 controls, DEL, and the C1 controls U+0080-U+009F (UTF-8 C2 80 to C2 9F).
    const bool c1 = byte == 0xC2 && i + 1 < name.size() &&
                    static_cast<unsigned char>(name[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(name[i + 1]) <= 0x9F;
    // Line breaks have a rule of their own (CheckOil).
    const bool line_break = byte == '\n' || byte == '\r';
    if ((byte < 0x20 && !line_break) || byte == 0x7F || c1) {
      const unsigned code = c1 ? static_cast<unsigned char>(name[i + 1]) : byte;
      // "U+0007"; the codes here have four hex digits at most.
      std::string hex = "U+0000";
      for (std::size_t digit = 0; digit < 4; ++digit) {
        hex[5 - digit] = "0123456789ABCDEF"[(code >> (4 * digit)) & 0xF];
      }
      RefuseName(
          "An oil's name may not hold a control character, which does not show and can "
          "break the lines of a list; character " +
          std::to_string(characters) + " is " + hex + ".");
    }
  }
  if (characters > kLongestName) {
    RefuseName("An oil's name may have at most " + std::to_string(kLongestName) +
               " characters, so that a list of oils stays readable; this one has " +
               FormatNumber(static_cast<double>(characters), kGroupedWholePattern) + ".");
  }
}

// Refuses what CheckUserOil refuses; the catalogue's names, "OTHER" and the rules of a new name
// only for a name that is `new_name`, since an oil kept under its name may share it with a
// catalogue oil added since, or be older than a rule.
void CheckOil(const UserOil& oil, const std::vector<UserOil>& oils, bool new_name) {
  const std::string key = NameKey(oil.name);
  const std::string name = Quoted(TrimBlanks(oil.name));
  if (key.empty()) throw Error(ErrorKind::BadInput, "An oil's name may not be empty.", "name");
  if (new_name) CheckNewName(oil.name);
  if (oil.name.find_first_of("\r\n") != std::string::npos ||
      oil.note.find_first_of("\r\n") != std::string::npos) {
    throw Error(ErrorKind::BadInput, "The name and note of " + name + " must be one line each.",
                "name");
  }
  if (new_name) {
    for (const Lubricant& lubricant : LubricantCatalogue) {
      if (NameKey(lubricant.name) == key) {
        throw Error(ErrorKind::BadInput, name + " is a catalogue oil's name; choose another.",
                    "name");
      }
    }
    if (key == NameKey(kOtherLubricant)) {
      throw Error(ErrorKind::BadInput, name + " is the list's own entry; choose another name.",
                  "name");
    }
  }
  for (const UserOil& other : oils) {
    if (&other != &oil && NameKey(other.name) == key) {
      throw Error(ErrorKind::BadInput, "You already have an oil named " + Quoted(other.name) + ".",
                  "name");
    }
  }
  CheckValues(oil);
}

// Reads `text`, reporting each problem to `problem`, which may throw to stop at the first.
UserOilLibrary Parse(std::string_view text, std::string_view source,
                     const std::function<void(const std::string&)>& problem) {
  UserOilLibrary oils;
  std::vector<CsvRecord> records;
  // A record that cannot be split ends the text; the rows before it are still offered, and it is
  // reported after theirs.
  std::string unsplit;
  records = SplitRecords(text, source, unsplit);
  const auto report_unsplit = [&] {
    if (!unsplit.empty()) problem(unsplit);
  };
  if (records.empty()) {
    report_unsplit();
    return oils;
  }
  const CsvRecord& header = records.front();
  std::optional<std::size_t> name_at, v40_at, v100_at, sg_at, note_at;
  for (std::size_t c = 0; c < header.fields.size(); ++c) {
    const std::string column = NameKey(header.fields[c]);
    for (auto [slot, key] :
         {std::pair{&name_at, "name"}, std::pair{&v40_at, "v40"}, std::pair{&v100_at, "v100"},
          std::pair{&sg_at, "sg"}, std::pair{&note_at, "note"}}) {
      if (column == key && !*slot) *slot = c;
    }
  }
  for (std::size_t c = 0; c < header.fields.size(); ++c) {
    const bool kept = c == name_at || c == v40_at || c == v100_at || c == sg_at || c == note_at;
    const std::string_view column = TrimBlanks(header.fields[c]);
    if (!kept && !column.empty()) oils.other_columns.emplace_back(column);
  }
  if (const std::optional<std::string> semicolons = SemicolonHeaderProblem(header)) {
    problem(std::string(source) + " line " + std::to_string(header.line) + ": " + *semicolons);
    return oils;
  }
  if (!name_at || !v40_at || !v100_at) {
    problem(std::string(source) + " line " + std::to_string(header.line) +
            ": the header must name the columns name, v40 and v100 (and may name sg and note).");
    return oils;
  }
  std::set<std::string> keys;
  for (std::size_t r = 1; r < records.size(); ++r) {
    const CsvRecord& record = records[r];
    try {
      const auto field = [&](std::optional<std::size_t> at) -> std::string {
        return at && *at < record.fields.size() ? record.fields[*at] : std::string();
      };
      UserOil oil;
      oil.name = std::string(TrimBlanks(field(name_at)));
      if (oil.name.empty()) throw Error(ErrorKind::BadInput, "the name is empty.");
      oil.nu40 = FieldNumber("v40", field(v40_at));
      oil.nu100 = FieldNumber("v100", field(v100_at));
      if (const std::string sg = field(sg_at); !TrimBlanks(sg).empty()) {
        oil.gravity = FieldNumber("sg", sg);
      }
      oil.note = field(note_at);
      CheckValues(oil);
      if (!keys.insert(NameKey(oil.name)).second) {
        throw Error(ErrorKind::BadInput,
                    "the name " + Quoted(oil.name) + " is already used by an earlier row.");
      }
      oils.oils.push_back(std::move(oil));
      oils.lines.push_back(record.line);
    } catch (const Error& error) {
      problem(std::string(source) + " line " + std::to_string(record.line) + ": " + error.what());
    }
  }
  report_unsplit();
  return oils;
}

}  // namespace

UserOilLibrary ParseUserOils(std::string_view text, std::string_view source) {
  std::vector<std::string> problems;
  UserOilLibrary library =
      Parse(text, source, [&](const std::string& message) { problems.push_back(message); });
  library.problems = std::move(problems);
  return library;
}

UserOilLibrary ParseUserOilsStrictly(std::string_view text, std::string_view source) {
  return Parse(text, source,
               [](const std::string& message) { throw Error(ErrorKind::BadInput, message); });
}

std::string UserOilsCsv(const std::vector<UserOil>& oils) {
  std::string out(kUserOilsHeader);
  out += '\n';
  for (const UserOil& oil : oils) {
    AppendCsvField(out, oil.name);
    out += ',';
    AppendShortestText(out, oil.nu40);
    out += ',';
    AppendShortestText(out, oil.nu100);
    out += ',';
    if (oil.gravity) AppendShortestText(out, *oil.gravity);
    out += ',';
    AppendCsvField(out, oil.note);
    out += '\n';
  }
  return out;
}

void CheckUserOil(const UserOil& oil, const std::vector<UserOil>& oils) {
  CheckOil(oil, oils, true);
}

void AppendImportedOils(std::vector<UserOil>& oils, const UserOilLibrary& imported,
                        std::string_view source) {
  for (std::size_t i = 0; i < imported.oils.size(); ++i) {
    oils.push_back(imported.oils[i]);
    try {
      CheckUserOil(oils.back(), oils);
      CheckThinnerWhenHotter({40, oils.back().nu40}, {100, oils.back().nu100});
      if (const std::optional<double> sg = oils.back().gravity) {
        CheckedGravity("sg", *sg, ShortestText(*sg));
      }
    } catch (const Error& error) {
      throw Error(error.kind(), std::string(source) + " line " + std::to_string(imported.lines[i]) +
                                    ": " + error.what());
    }
  }
}

const UserOil* FindUserOil(const std::vector<UserOil>& oils, std::string_view name) {
  const std::string key = NameKey(name);
  for (const UserOil& oil : oils) {
    if (NameKey(oil.name) == key) return &oil;
  }
  return nullptr;
}

std::vector<UserOil> ChangedUserOils(std::vector<UserOil> oils,
                                     const std::function<void(std::vector<UserOil>&)>& change) {
  std::set<std::string> before;
  for (const UserOil& oil : oils) before.insert(oil.name);
  change(oils);
  // Checked as typed, so that a name that began with a tab is refused, then kept without its
  // surrounding blanks.
  for (const bool new_names : {true, false}) {
    for (const UserOil& oil : oils) {
      const bool known = before.contains(std::string(TrimBlanks(oil.name)));
      if (known != new_names) CheckOil(oil, oils, new_names);
    }
  }
  for (UserOil& oil : oils) oil.name = std::string(TrimBlanks(oil.name));
  return oils;
}

}  // namespace project1
