#pragma once
// A temporary home folder whose application data folder ($XDG_DATA_HOME) is inside it, so that
// tests of the user's oils never touch the real ones.

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "test_support.h"

namespace project1 {

class TempDataHome {
 public:
  TempDataHome() {
    if (const char* data = std::getenv("XDG_DATA_HOME")) saved_ = data;
    ::setenv("XDG_DATA_HOME", Data().c_str(), 1);
  }
  ~TempDataHome() {
    saved_ ? ::setenv("XDG_DATA_HOME", saved_->c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
  }
  TempDataHome(const TempDataHome&) = delete;
  TempDataHome& operator=(const TempDataHome&) = delete;

  const std::filesystem::path& Home() const { return home_.Path(); }
  std::filesystem::path Data() const { return home_.Path() / "data"; }
  std::filesystem::path OilsFile() const { return Data() / "Project1" / "oils.csv"; }

 private:
  TempHome home_;
  std::optional<std::string> saved_;
};

}  // namespace project1
