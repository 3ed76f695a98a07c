#pragma once
// The error a step throws, for tests of any framework.

#include <optional>
#include <string>

#include "error/error.h"

namespace project1 {

// The Error that `action` throws, or nullopt when it runs to its end.
template <typename Action>
std::optional<Error> Caught(Action action) {
  try {
    action();
  } catch (const Error& error) {
    return error;
  }
  return std::nullopt;
}

// "" for a step that ran to its end, else the error's message.
inline std::string Outcome(const std::optional<Error>& error) { return error ? error->what() : ""; }

}  // namespace project1
