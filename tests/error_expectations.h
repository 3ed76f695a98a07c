#pragma once
// Expecting a step to throw a given error, for GoogleTest tests (Caught and Outcome, free of
// any test framework, are in caught.h).

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "caught.h"
#include "numtext/error.h"

namespace project1 {

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
