// The machine's answers on Windows: GetComputerNameExW, GetCurrentProcessId, OpenProcess with
// GetExitCodeProcess, %USERPROFILE%, %APPDATA%, and MultiByteToWideChar / WideCharToMultiByte for
// names.
#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include <cstdlib>
#include <string>

#include "platform/host.h"

namespace project1::platform {

std::string HostName() {
  wchar_t name[256] = {};
  DWORD size = 256;
  if (!::GetComputerNameExW(ComputerNameDnsHostname, name, &size) || size == 0) {
    return "unnamed-host";
  }
  std::string host = Utf8FromPath(std::filesystem::path(std::wstring(name, size)));
  for (char& c : host) {
    if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
        c == '>' || c == '|') {
      c = '_';
    }
  }
  return host;
}

std::uint32_t ProcessId() { return ::GetCurrentProcessId(); }

bool ProcessHasEnded(std::uint32_t id) {
  const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  // No process has that id any more; a process of another user refuses with access denied.
  if (process == nullptr) return ::GetLastError() == ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  const bool ended = ::GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
  ::CloseHandle(process);
  return ended;
}

std::string_view HomeVariableName() { return "USERPROFILE"; }

std::optional<std::string> HomeVariable() {
  const wchar_t* home = ::_wgetenv(L"USERPROFILE");
  if (home == nullptr) return std::nullopt;
  return Utf8FromPath(std::filesystem::path(home));
}

std::optional<std::filesystem::path> ApplicationDataFolder() {
  const wchar_t* data = ::_wgetenv(L"APPDATA");
  if (data == nullptr || data[0] == L'\0') return std::nullopt;
  return std::filesystem::path(data);
}

std::string_view ApplicationDataVariables() { return "%APPDATA%"; }

std::vector<std::string> Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromPath(std::filesystem::path(wide[i])));
  ::LocalFree(wide);
  return arguments;
}

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int wide_size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), wide_size);
  return std::filesystem::path(wide);
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int utf8_size =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(utf8_size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), utf8_size, nullptr, nullptr);
  return utf8;
}

}  // namespace project1::platform
