#pragma once
// What this program asks of the machine it runs on, one small call per question, with a POSIX
// and a Windows answer.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace project1::platform {

// This machine's name as it goes into a file name: characters a file name cannot hold become
// "_"; a machine without a name is "unnamed-host".
std::string HostName();

// This process's id, and whether the process with that id on this machine has ended (false when
// it runs, also under another user, or when that cannot be told).
std::uint32_t ProcessId();
bool ProcessHasEnded(std::uint32_t id);

// The variable that names the user's home folder ("HOME", "USERPROFILE"), and its value as
// UTF-8: nothing when it is not set, an empty text when it is set empty.
std::string_view HomeVariableName();
std::optional<std::string> HomeVariable();

// The folder that keeps the user's data files: $XDG_DATA_HOME when it is set to an absolute
// path, else $HOME/.local/share (POSIX); %APPDATA% (Windows). Nothing when the variables it
// comes from are not set.
std::optional<std::filesystem::path> ApplicationDataFolder();
// How a message names where that folder comes from: "$XDG_DATA_HOME or $HOME", "%APPDATA%".
std::string_view ApplicationDataVariables();

// The program's arguments as UTF-8 (on Windows from the wide-character command line).
std::vector<std::string> Arguments(int argc, char** argv);

// File names as UTF-8 text and back; on Windows through the wide-character names.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace project1::platform
