#include "platform/safe_replace.h"

#include <atomic>
#include <charconv>
#include <cstdint>
#include <string>

#include "platform/host.h"

namespace project1::platform {

namespace {

// How many temporary names are tried before giving up on a folder full of leftovers.
constexpr int kTemporaryNameAttempts = 16;

std::atomic<unsigned> temporary_counter{0};

std::filesystem::path FolderOf(const std::filesystem::path& target) {
  return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

// "." + the target's name + "." + this host's name + ".": the start of every temporary name this
// machine uses for that target. A folder shared between machines holds the temporary files of
// several hosts; a process id says something only on its own host.
std::string TemporaryPrefix(const std::filesystem::path& target) {
  return "." + Utf8FromPath(target.filename()) + "." + HostName() + ".";
}

// Parses digits without a sign or a leading zero, as the temporary names write them.
template <typename Number>
bool ParseCount(std::string_view digits, Number& value) {
  if (digits.empty() || digits.front() < '0' || digits.front() > '9') return false;
  if (digits.size() > 1 && digits.front() == '0') return false;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value);
  return error == std::errc() && stop == end;
}

// The writer's process id in `name` when it is a temporary name "<prefix><pid>.<n>.tmp" of the
// target written on this host, else 0.
std::uint32_t TemporaryWriter(std::string_view name, std::string_view prefix) {
  constexpr std::string_view kSuffix = ".tmp";
  if (!name.starts_with(prefix) || !name.ends_with(kSuffix)) return 0;
  if (name.size() < prefix.size() + kSuffix.size()) return 0;
  const std::string_view middle =
      name.substr(prefix.size(), name.size() - prefix.size() - kSuffix.size());
  const std::size_t dot = middle.find('.');
  if (dot == std::string_view::npos) return 0;
  std::int32_t pid = 0;
  unsigned long long counter = 0;
  if (!ParseCount(middle.substr(0, dot), pid) || !ParseCount(middle.substr(dot + 1), counter)) {
    return 0;
  }
  return pid > 0 ? static_cast<std::uint32_t>(pid) : 0;
}

// Removes the temporary files of `target` left by writers on this host that ended before they
// could remove them. A file of a running process (this one included), a file of another host,
// and every other file are left alone. Failures are ignored: a leftover costs only space.
void RemoveLeftoverTemporaries(const std::filesystem::path& target, std::string_view prefix,
                               const FileCalls& calls) {
  const std::uint32_t self = ProcessId();
  std::error_code error;
  std::filesystem::directory_iterator it(FolderOf(target), error);
  for (const std::filesystem::directory_iterator end; !error && it != end; it.increment(error)) {
    const std::filesystem::path& path = it->path();
    const std::uint32_t writer = TemporaryWriter(Utf8FromPath(path.filename()), prefix);
    if (writer == 0 || writer == self) continue;
    std::error_code status_error;
    if (it->symlink_status(status_error).type() != std::filesystem::file_type::regular) continue;
    if (!ProcessHasEnded(writer)) continue;
    calls.remove(path);
  }
}

// Creates the temporary file beside `target`; sets `file` and `temporary`.
std::error_code CreateTemporary(const std::filesystem::path& target, std::string_view host_prefix,
                                const FileCalls& calls, FileHandle& file,
                                std::filesystem::path& temporary) {
  const std::filesystem::path folder = FolderOf(target);
  const std::string prefix = std::string(host_prefix) + std::to_string(ProcessId()) + ".";
  std::error_code error = std::make_error_code(std::errc::file_exists);
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::filesystem::path candidate =
        folder / PathFromUtf8(prefix + std::to_string(temporary_counter.fetch_add(1)) + ".tmp");
    error = calls.create(candidate, file);
    if (!error) {
      temporary = candidate;
      return error;
    }
    if (error != std::errc::file_exists && error != std::errc::interrupted) break;
  }
  return error;
}

// Makes the replace itself durable where the system lets a folder be flushed. A folder that
// cannot be flushed does not undo the replace.
void FlushFolder(const std::filesystem::path& target, const FileCalls& calls) {
  FileHandle folder = 0;
  if (calls.open_folder(FolderOf(target), folder)) return;
  calls.flush(folder);
  calls.close(folder);
}

}  // namespace

std::error_code WriteAll(FileHandle file, std::string_view bytes, const FileCalls& calls) {
  while (!bytes.empty()) {
    std::size_t written = 0;
    const std::error_code error = calls.write(file, bytes.data(), bytes.size(), written);
    if (error == std::errc::interrupted) continue;
    if (error) return error;
    if (written == 0) return std::make_error_code(std::errc::io_error);
    bytes.remove_prefix(written);
  }
  return {};
}

// Writes `bytes` into a device or a FIFO, which has no folder entry a new file could take the place
// of.
std::error_code WriteInPlace(const std::filesystem::path& target, std::string_view bytes,
                             const FileCalls& calls) {
  FileHandle file = 0;
  std::error_code error = calls.open_in_place(target, file);
  if (error) return error;
  error = WriteAll(file, bytes, calls);
  const std::error_code closed = calls.close(file);
  return error ? error : closed;
}

std::error_code ReplaceFileBytes(const std::filesystem::path& target, std::string_view bytes,
                                 const FileCalls& calls) {
  FileFacts facts;
  std::error_code error = calls.inspect(target, facts);
  if (error) return error;
  if (facts.kind == FileKind::Folder) return std::make_error_code(std::errc::is_a_directory);
  if (facts.kind == FileKind::Other) return WriteInPlace(target, bytes, calls);
  std::filesystem::path file;
  if ((error = calls.resolve(target, file))) return error;

  const std::string prefix = TemporaryPrefix(file);
  RemoveLeftoverTemporaries(file, prefix, calls);
  std::filesystem::path temporary;
  FileHandle handle = 0;
  if ((error = CreateTemporary(file, prefix, calls, handle, temporary))) return error;

  error = WriteAll(handle, bytes, calls);
  if (!error && facts.kind == FileKind::Regular) error = calls.keep(handle, facts);
  if (!error) error = calls.flush(handle);
  if (error) {
    calls.close(handle);
    calls.remove(temporary);
    return error;
  }
  error = calls.close(handle);
  if (!error) error = calls.replace(temporary, file);
  if (error) {
    calls.remove(temporary);
    return error;
  }
  FlushFolder(file, calls);
  return {};
}

std::filesystem::path ReplacedFile(const std::filesystem::path& target, const FileCalls& calls) {
  std::filesystem::path file;
  return calls.resolve(target, file) ? target : file;
}

}  // namespace project1::platform
