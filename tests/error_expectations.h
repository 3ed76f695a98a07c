#pragma once
// Running a step and looking at the error it throws, for tests.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "numtext/error.h"

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

// Runs `action`, expecting an Error of `kind` with exactly `message`.
template <typename Action>
void ExpectError(Action action, ErrorKind kind, const std::string& message) {
  const std::optional<Error> error = Caught(action);
  if (!error) {
    ADD_FAILURE() << "expected: " << message;
    return;
  }
  EXPECT_EQ(KindName(error->kind()), KindName(kind));
  EXPECT_EQ(std::string(error->what()), message);
}

}  // namespace project1
