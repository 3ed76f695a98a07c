#pragma once
// The one error type of the program: a kind, a plain message a user can act on, and the input it
// is about. It is thrown at the first failing step and caught only at the edges: the window's
// handlers, the tool's main, and the calculation, whose outcome carries it.

#include <stdexcept>
#include <string>
#include <string_view>

namespace project1 {

enum class ErrorKind {
  TypeMismatch,      // text that is not a number
  InvalidArgument,   // logarithm of a number that is not positive
  Overflow,          // a value too large for a double
  InvalidOperation,  // a result that is not a number (NaN)
  DivisionByZero,    // a division by zero
  FileError,         // the table file cannot be created, written or replaced
  ControlError,      // the window cannot show a value it was given
};

// Short English name of a kind, e.g. "type mismatch"; used in reports and tests.
constexpr std::string_view KindName(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::TypeMismatch:
      return "type mismatch";
    case ErrorKind::InvalidArgument:
      return "invalid argument";
    case ErrorKind::Overflow:
      return "overflow";
    case ErrorKind::InvalidOperation:
      return "invalid operation";
    case ErrorKind::DivisionByZero:
      return "division by zero";
    case ErrorKind::FileError:
      return "file error";
    case ErrorKind::ControlError:
      return "control error";
  }
  return "error";
}

class Error : public std::runtime_error {
 public:
  // `subject` names the one input the error is about, as the message names it (e.g. "specific
  // gravity"); empty when the error is not about one input (a file, a table row).
  Error(ErrorKind kind, const std::string& message, std::string_view subject = {})
      : std::runtime_error(message), kind_(kind), subject_(subject) {}
  ErrorKind kind() const noexcept { return kind_; }
  const std::string& subject() const noexcept { return subject_; }

 private:
  ErrorKind kind_;
  std::string subject_;
};

}  // namespace project1
