#pragma once
// Pieces shared by the tests and benchmarks: a temporary home folder, whole-file reads and
// writes, folder listings, a fitted viscosity line, and running a step as an unprivileged user.

#include <grp.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "engine/model.h"

// PROJECT1_ASAN is defined when AddressSanitizer is on, under g++ and clang alike.
#if defined(__SANITIZE_ADDRESS__)
#define PROJECT1_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PROJECT1_ASAN 1
#endif
#endif

namespace project1 {

// Points HOME at a fresh empty folder for the life of the object, then puts HOME back and
// removes the folder with everything in it.
class TempHome {
 public:
  TempHome() {
    if (const char* home = std::getenv("HOME")) saved_ = home;
    std::string pattern =
        (std::filesystem::temp_directory_path() / "project1-home-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot create a temporary home folder");
    }
    path_ = pattern;
    ::setenv("HOME", path_.c_str(), 1);
  }
  ~TempHome() {
    if (saved_) {
      ::setenv("HOME", saved_->c_str(), 1);
    } else {
      ::unsetenv("HOME");
    }
    namespace fs = std::filesystem;
    std::error_code ignored;
    // A test may have taken permissions away; give them back so that all can be removed.
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (fs::recursive_directory_iterator it(path_, ignored), end; !ignored && it != end;
         it.increment(ignored)) {
      if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
      }
    }
    fs::remove_all(path_, ignored);
  }
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path File(std::string_view name) const { return path_ / name; }

  // Points HOME somewhere else, or unsets it for nullopt; the destructor still puts back the
  // HOME from before the object.
  static void SetHome(const std::optional<std::string>& home) {
    if (home) {
      ::setenv("HOME", home->c_str(), 1);
    } else {
      ::unsetenv("HOME");
    }
  }

 private:
  std::optional<std::string> saved_;
  std::filesystem::path path_;
};

// The bytes of a file, or nullopt when it cannot be read.
inline std::optional<std::string> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// The names in `folder`, sorted.
inline std::vector<std::string> FolderListing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A record holding the line fitted through the two viscosities (cSt at 40 and 100 C).
inline CalcState FittedLine(double visc40, double visc100) {
  CalcState s;
  s.visc40 = visc40;
  s.visc100 = visc100;
  FitViscosityLine(s);
  return s;
}

// The user a superuser's test drops to: "nobody".
struct UnprivilegedUser {
  uid_t uid;
  gid_t gid;
};

inline UnprivilegedUser Nobody() {
  const passwd* user = ::getpwnam("nobody");
  if (user == nullptr) throw std::runtime_error("the system has no user \"nobody\"");
  return {user->pw_uid, user->pw_gid};
}

// Hands `path` to the user that RunUnprivileged runs as, when that is not this process's user.
inline void GiveToUnprivilegedUser(const std::filesystem::path& path) {
  if (::geteuid() != 0) return;
  const UnprivilegedUser nobody = Nobody();
  if (::chown(path.c_str(), nobody.uid, nobody.gid) != 0) {
    throw std::system_error(errno, std::generic_category(), "chown " + path.string());
  }
}

// How a step run by RunUnprivileged ended: `ran` when it returned (its text in `text`), else
// `text` says what went wrong.
struct ChildOutcome {
  bool ran = false;
  std::string text;
};

// Runs `step` in a child process without the superuser's rights: a superuser's child becomes
// "nobody" (no supplementary groups) before the step, any other user's child stays who it is.
// Returns the text the step returned. The child ends with _exit, so nothing of it is cleaned up
// but what the step itself cleans.
inline ChildOutcome RunUnprivileged(const std::function<std::string()>& step) {
  const bool drop = ::geteuid() == 0;
  const UnprivilegedUser nobody = drop ? Nobody() : UnprivilegedUser{::getuid(), ::getgid()};
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return {false, std::string("pipe: ") + std::strerror(errno)};
  const pid_t child = ::fork();
  if (child < 0) return {false, std::string("fork: ") + std::strerror(errno)};
  if (child == 0) {
    ::close(pipe_ends[0]);
    std::string text;
    int code = 0;
    if (drop &&
        (::setgroups(0, nullptr) != 0 || ::setgid(nobody.gid) != 0 || ::setuid(nobody.uid) != 0)) {
      text = std::string("cannot become nobody: ") + std::strerror(errno);
      code = 2;
    } else if (::geteuid() == 0) {
      text = "still the superuser";
      code = 2;
    } else {
      try {
        text = step();
      } catch (const std::exception& error) {
        text = std::string("the step threw: ") + error.what();
        code = 3;
      }
    }
    for (std::size_t done = 0; done < text.size();) {
      const ssize_t wrote = ::write(pipe_ends[1], text.data() + done, text.size() - done);
      if (wrote <= 0) break;
      done += static_cast<std::size_t>(wrote);
    }
    ::_exit(code);
  }
  ::close(pipe_ends[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t got; (got = ::read(pipe_ends[0], buffer, sizeof buffer)) != 0;) {
    if (got < 0) {
      if (errno == EINTR) continue;
      break;
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipe_ends[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {true, text};
  return {false, text.empty() ? "the child ended with status " + std::to_string(status) : text};
}

}  // namespace project1
