#include <string>
#include <vector>

#include "cli/tool.h"
#include "platform/host.h"

int main(int argc, char** argv) {
  // UTF-8 arguments on every system, so that file names beyond ASCII work on Windows too.
  const std::vector<std::string> arguments = project1::platform::Arguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
  return project1::cli::RunTool(static_cast<int>(pointers.size()), pointers.data());
}
