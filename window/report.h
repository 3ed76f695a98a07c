#pragma once
// The one report of a failed command: a modal message box with the error's plain message.
// After it the program goes on; what the window shows stays as the command left it.

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "error/error.h"

namespace project1 {

// Shows `message` in a modal message box over `parent` and returns when the user closes it.
void ReportError(QWidget* parent, const std::string& message);

// Runs an event handler; an Error (or any other exception) it throws goes to ReportError.
// Returns the Error reported once the report is closed; nullopt when the handler ran to its end
// or stopped on another exception.
std::optional<Error> RunHandler(QWidget* parent, const std::function<void()>& handler);

}  // namespace project1
