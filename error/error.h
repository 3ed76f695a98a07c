#pragma once
// The one error type of the program: a kind, a plain message a user can act on, and the input it
// is about. It is thrown at the first failing step and caught only at the edges: the window's
// handlers, the tool's main, and the calculation, whose outcome carries it.

#include <stdexcept>
#include <string>
#include <string_view>

namespace project1 {

// What the caller does about an error. The tool's exit status is chosen from it.
enum class ErrorKind {
  BadInput,  // a value given cannot be used (not a number, out of its range, a name taken, an
             // impossible oil): the person mends the value
  BadUsage,  // the command is asked wrongly (an option missing, one too many, or unknown): the
             // person mends the command
  File,      // a file cannot be read, written or replaced: the person mends the file or folder
  Internal,  // the program cannot do what it must (the window cannot show a value): a fault of
             // the program's, to report
};

// For a bad input, which step of the calculation failed on it, as the calculation tells its
// faults apart; None for an input refused by a rule and for the other kinds.
enum class Fault {
  None,
  TypeMismatch,      // text that is not a number
  InvalidArgument,   // logarithm of a number that is not positive, or a value outside its range
  Overflow,          // a value too large for a double
  InvalidOperation,  // a result that is not a number (NaN)
  DivisionByZero,    // a division by zero
};

// Short English name of a kind, e.g. "bad input"; used in reports and tests.
constexpr std::string_view KindName(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::BadInput:
      return "bad input";
    case ErrorKind::BadUsage:
      return "bad usage";
    case ErrorKind::File:
      return "file";
    case ErrorKind::Internal:
      return "internal";
  }
  return "error";
}

// Short English name of a fault, e.g. "type mismatch"; used in reports and tests.
constexpr std::string_view FaultName(Fault fault) {
  switch (fault) {
    case Fault::None:
      return "none";
    case Fault::TypeMismatch:
      return "type mismatch";
    case Fault::InvalidArgument:
      return "invalid argument";
    case Fault::Overflow:
      return "overflow";
    case Fault::InvalidOperation:
      return "invalid operation";
    case Fault::DivisionByZero:
      return "division by zero";
  }
  return "error";
}

class Error : public std::runtime_error {
 public:
  // `subject` names the one input the error is about, as the message names it (e.g. "specific
  // gravity"); empty when the error is not about one input (a file, a table row).
  Error(ErrorKind kind, const std::string& message, std::string_view subject = {})
      : std::runtime_error(message), kind_(kind), subject_(subject) {}
  // A bad input the calculation failed on with `fault`.
  Error(Fault fault, const std::string& message, std::string_view subject = {})
      : std::runtime_error(message), kind_(ErrorKind::BadInput), fault_(fault), subject_(subject) {}
  // `cause` told with another message: its kind, fault and subject kept.
  Error(const Error& cause, const std::string& message)
      : std::runtime_error(message),
        kind_(cause.kind_),
        fault_(cause.fault_),
        subject_(cause.subject_) {}
  ErrorKind kind() const noexcept { return kind_; }
  Fault fault() const noexcept { return fault_; }
  const std::string& subject() const noexcept { return subject_; }

 private:
  ErrorKind kind_;
  Fault fault_ = Fault::None;
  std::string subject_;
};

}  // namespace project1
