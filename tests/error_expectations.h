#pragma once
// Expecting a step to throw a given error, for GoogleTest tests (Caught and Outcome, free of
// any test framework, are in caught.h).

#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>

#include "caught.h"
#include "error/error.h"

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

// Runs `action`, expecting a bad input that the calculation failed on with `fault`, with exactly
// `message`.
template <typename Action>
void ExpectError(Action action, Fault fault, const std::string& message) {
  const std::optional<Error> error = Caught(action);
  if (!error) {
    ADD_FAILURE() << "expected: " << message;
    return;
  }
  EXPECT_EQ(KindName(error->kind()), KindName(ErrorKind::BadInput));
  EXPECT_EQ(FaultName(error->fault()), FaultName(fault));
  EXPECT_EQ(std::string(error->what()), message);
}

// One step that must fail, for a table of them: the case's name, the step, and the error.
struct ErrorCase {
  const char* name;
  void (*action)();
  Fault fault;
  const char* message;
};

// Runs every case's step, expecting its error; a failure names the case.
inline void ExpectErrors(std::span<const ErrorCase> cases) {
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectError(c.action, c.fault, c.message);
  }
}

}  // namespace project1
