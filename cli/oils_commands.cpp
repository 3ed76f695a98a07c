// `viscosity oils`: the catalogue and the user's own oils, and the commands that change the
// user's oils file.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "cli/command_runs.h"
#include "cli/commands.h"
#include "cli/fields.h"
#include "cli/oil.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/user_oil_lookup.h"
#include "error/error.h"
#include "numtext/numtext.h"
#include "platform/file_calls.h"
#include "platform/host.h"
#include "user_oils/user_oils.h"

namespace project1::cli {

namespace {

void Warn(const std::string& message) {
  (void)platform::WriteAll(platform::StandardError(), "viscosity: " + message + "\n");
}

// The user's oils as read; each problem of the file reported on standard error once.
const UserOilLibrary& UsersOils() {
  static const UserOilLibrary library = [] {
    UserOilLibrary read;
    try {
      read = ReadUserOils(UserOilsPath());
    } catch (const Error&) {
      return read;  // no folder for them: no oils of the user's
    }
    for (const std::string& problem : read.problems) Warn(problem);
    return read;
  }();
  return library;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

[[noreturn]] void NoSuchOil(std::string_view name) {
  Usage("You have no oil named " + Quoted(name) + "; \"viscosity oils\" lists your oils.");
}

}  // namespace

std::string RunOilsList(Format format) {
  // CSV takes the column names of the batch input and of the oils file, so that the list reads
  // back in both.
  static constexpr Field kTextFields[] = {
      kNameField,
      {"kinematic_40c_cst", "At 40 °C", "cSt", kKinematicText},
      {"kinematic_100c_cst", "At 100 °C", "cSt", kKinematicText},
      {"specific_gravity", "Specific", "gravity"},
      {"source", "Source"},
      {"note", "Note"},
  };
  static constexpr Field kCsvFields[] = {
      {"name"}, {"v40"}, {"v100"}, {"sg"}, {"note"}, {"source"},
  };
  const bool csv = format == Format::Csv;
  std::vector<std::vector<Value>> rows;
  const auto add = [&](std::string_view name, double nu40, double nu100, Value sg,
                       std::string_view note, std::string_view source) {
    if (csv) {
      rows.push_back({name, nu40, nu100, sg, note, source});
    } else {
      rows.push_back({name, nu40, nu100, sg, source, note});
    }
  };
  for (const Lubricant& oil : LubricantCatalogue) {
    add(oil.name, oil.nu40, oil.nu100, oil.gravity, "", "catalogue");
  }
  for (const UserOil& oil : UsersOils().oils) {
    add(oil.name, oil.nu40, oil.nu100, oil.gravity ? Value(*oil.gravity) : Value(), oil.note,
        "user");
  }
  return csv ? RenderRows(kCsvFields, rows, format) : RenderRows(kTextFields, rows, format);
}

namespace {

struct AddOptions {
  std::string name;
  OilOptions oil;  // --v40 and --v100, or --point twice; --sg and --law
  std::optional<std::string> note;
};

void AddOil(const AddOptions& o) {
  const Oil resolved = ResolveOil(o.oil);
  const UserOil oil{o.name, resolved.nu40, resolved.nu100, resolved.sg, o.note.value_or("")};
  ChangeUserOils(UserOilsPath(), [&](std::vector<UserOil>& oils) { oils.push_back(oil); });
}

// The bytes of `file`; Error(FileError) with the system's reason ("Is a directory" for a folder,
// on every system).
std::string ReadInputFile(const std::string& file) {
  const std::filesystem::path path = platform::PathFromUtf8(file);
  const auto refuse = [&file](const std::error_code& cause) {
    throw Error(ErrorKind::File, "Cannot read " + file + ": " + cause.message() + ".");
  };
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {
    refuse(std::make_error_code(std::errc::is_a_directory));
  }
  const int fd = platform::OpenForReading(path);
  if (fd < 0) refuse({errno, std::generic_category()});
  std::string text;
  char block[65536];
  for (;;) {
    const auto got = ::read(fd, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      const std::error_code cause =
          got < 0 ? std::error_code(errno, std::generic_category()) : std::error_code();
      ::close(fd);
      if (cause) refuse(cause);
      return text;
    }
    text.append(block, static_cast<std::size_t>(got));
  }
}

void ImportOils(const std::string& file) {
  const UserOilLibrary imported = ParseUserOilsStrictly(ReadInputFile(file), file);
  ChangeUserOils(UserOilsPath(),
                 [&](std::vector<UserOil>& oils) { AppendImportedOils(oils, imported, file); });
}

std::vector<UserOil>::iterator Named(std::vector<UserOil>& oils, std::string_view name) {
  const std::string key = NameKey(name);
  const auto found = std::find_if(oils.begin(), oils.end(),
                                  [&](const UserOil& oil) { return NameKey(oil.name) == key; });
  if (found == oils.end()) NoSuchOil(name);
  return found;
}

struct EditOptions {
  std::string name;
  OilOptions oil;  // the values to change: --v40, --v100 or --vi, --sg or --density
  std::optional<std::string> note;
};

// Changes the values given of one of the user's oils and keeps the others; the new values are
// read and refused as an oil given on the command line is (ResolveOil).
void EditOil(const EditOptions& o) {
  const OilOptions& given = o.oil;
  if (!given.v40 && !given.v100 && !given.vi && !given.sg && !given.density && !o.note) {
    Usage("Nothing to change: give --v40, --v100 or --vi, --sg or --density, or --note.");
  }
  ChangeUserOils(UserOilsPath(), [&](std::vector<UserOil>& oils) {
    UserOil& oil = *Named(oils, o.name);
    OilOptions typed = given;
    if (!typed.v40) typed.v40 = ShortestText(oil.nu40);
    if (!typed.v100 && !typed.vi) typed.v100 = ShortestText(oil.nu100);
    const Oil resolved = ResolveOil(typed);
    oil.nu40 = resolved.nu40;
    oil.nu100 = resolved.nu100;
    if (resolved.sg) oil.gravity = resolved.sg;
    if (o.note) oil.note = *o.note;
  });
}

}  // namespace

DirectoryOil OilOption(std::string_view what, std::string_view name) {
  const FoundOil found = OilNamed(what, name, UsersOils().oils);
  if (found.shadowed) {
    static bool said = false;
    if (!said) {
      Warn(ShadowedByCatalogueNotice(name));
      said = true;
    }
  }
  return found.oil;
}

namespace {

// `viscosity oils add`, `edit`, `remove`, `rename`, `import` and `export`, each under `oils`.
void DeclareAddOil(CLI::App& oils) {
  auto [add, options] = AddCommand<AddOptions>(oils, "add", "adds one of your own oils",
                                               [](AddOptions& o) { AddOil(o); });
  add->add_option("NAME", options->name, "the oil's name")->required();
  AddTextOption(*add, "--v40", options->oil.v40, "kinematic viscosity at 40 °C")->type_name("CST");
  AddTextOption(*add, "--v100", options->oil.v100, "kinematic viscosity at 100 °C")
      ->type_name("CST");
  AddTextOption(*add, "--vi", options->oil.vi,
                "viscosity index, with --v40 instead of --v100 (from a datasheet's \"VG 220, VI "
                "95\")")
      ->type_name("INDEX");
  AddPointOption(*add, options->oil.points,
                 "a measured viscosity at any temperature, given twice instead of --v40/--v100; "
                 "the line's viscosities at 40 °C and 100 °C are kept");
  AddTextOption(*add, "--sg", options->oil.sg, "specific gravity")->type_name("SG");
  AddDensityOption(*add, options->oil);
  AddTextOption(*add, "--note", options->note, "a note kept with the oil")->type_name("TEXT");
  AddLawOption(*add, options->oil.law);
  add->footer("Example:\n  viscosity oils add \"Gear oil B\" --v40 220 --v100 19.4 --sg 0.89");
}

void DeclareEditOil(CLI::App& oils) {
  auto [edited, options] = AddCommand<EditOptions>(
      oils, "edit", "changes the values given of one of your own oils and keeps the others",
      [](EditOptions& o) { EditOil(o); });
  edited->add_option("NAME", options->name, "the oil's name")->required();
  AddTextOption(*edited, "--v40", options->oil.v40, "kinematic viscosity at 40 °C")
      ->type_name("CST");
  AddTextOption(*edited, "--v100", options->oil.v100, "kinematic viscosity at 100 °C")
      ->type_name("CST");
  AddTextOption(*edited, "--vi", options->oil.vi,
                "viscosity index instead of --v100, with the oil's ν40 or --v40")
      ->type_name("INDEX");
  AddTextOption(*edited, "--sg", options->oil.sg, "specific gravity")->type_name("SG");
  AddDensityOption(*edited, options->oil);
  AddTextOption(*edited, "--note", options->note, "a note kept with the oil")->type_name("TEXT");
  edited->footer("Example:\n  viscosity oils edit \"Gear oil B\" --v100 19.8 --note \"lab, May\"");
}

void DeclareRemoveAndRenameOil(CLI::App& oils) {
  struct NameOptions {
    std::string name, new_name;
  };
  auto [remove, remove_options] =
      AddCommand<NameOptions>(oils, "remove", "removes one of your own oils", [](NameOptions& o) {
        ChangeUserOils(UserOilsPath(),
                       [&](std::vector<UserOil>& all) { all.erase(Named(all, o.name)); });
      });
  remove->add_option("NAME", remove_options->name, "the oil's name")->required();
  remove->footer("Example:\n  viscosity oils remove \"Gear oil B\"");

  auto [rename, rename_options] =
      AddCommand<NameOptions>(oils, "rename", "renames one of your own oils", [](NameOptions& o) {
        ChangeUserOils(UserOilsPath(),
                       [&](std::vector<UserOil>& all) { Named(all, o.name)->name = o.new_name; });
      });
  rename->add_option("OLD", rename_options->name, "the oil's name")->required();
  rename->add_option("NEW", rename_options->new_name, "its new name")->required();
  rename->footer("Example:\n  viscosity oils rename \"Gear oil B\" \"Gear oil, site B\"");
}

void DeclareImportAndExportOils(CLI::App& oils, Answer& answer) {
  struct FileOptions {
    std::string file;
  };
  auto [import, import_options] = AddCommand<FileOptions>(
      oils, "import",
      "adds the oils of a CSV file whose header names name, v40 and v100 (and may name sg and "
      "note); one bad row refuses the whole file",
      [](FileOptions& o) { ImportOils(o.file); });
  import->add_option("FILE", import_options->file, "the CSV file")->required();
  import->footer("Example:\n  viscosity oils import site-oils.csv");

  struct ExportOptions {
    std::optional<std::string> file;
  };
  auto [exported, export_options] = AddCommand<ExportOptions>(
      oils, "export", "writes your oils file, to standard output or a file",
      [&answer](ExportOptions& o) {
        const UserOilLibrary& library = UsersOils();
        if (!library.problems.empty()) {
          throw Error(ErrorKind::File,
                      "Your oils file has rows that cannot be read; mend it before exporting.");
        }
        answer.bytes = UserOilsCsv(library.oils);
        answer.file = o.file;
        answer.file_kind = "oils file";
      });
  AddOutputOption(*exported, export_options->file, "write to FILE, replacing it safely");
  exported->footer("Example:\n  viscosity oils export -o my-oils.csv");
}

}  // namespace

void DeclareOils(CLI::App& tool, const std::string& name, Answer& answer) {
  struct Options {
    Format format = Format::Text;
    CLI::App* command = nullptr;
  };
  auto [oils, options] = AddCommand<Options>(
      tool, name, "the catalogue of oils and your own oils, and changes to yours",
      [&answer](Options& o) {
        if (!o.command->get_subcommands().empty()) return;  // a change, done already
        answer.bytes = RunOilsList(o.format);
      });
  options->command = oils;
  AddFormatOption(*oils, options->format);
  oils->require_subcommand(0, 1);
  DeclareAddOil(*oils);
  DeclareEditOil(*oils);
  DeclareRemoveAndRenameOil(*oils);
  DeclareImportAndExportOils(*oils, answer);

  const std::string where = platform::ApplicationDataVariables() == "%APPDATA%"
                                ? "%APPDATA%\\Project1\\oils.csv"
                                : "$XDG_DATA_HOME/Project1/oils.csv (default "
                                  "~/.local/share/Project1/oils.csv)";
  oils->footer("Your oils are kept in " + where +
               "; --oil NAME finds them as it finds a catalogue oil.\n\n"
               "Example:\n  viscosity oils --format csv\n"
               "  viscosity oils add \"Gear oil B\" --v40 220 --v100 19.4\n"
               "  viscosity at 71 --oil \"Gear oil B\"");
}

}  // namespace project1::cli
