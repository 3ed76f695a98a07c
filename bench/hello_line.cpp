// The floor for the command-line tool's start-up: a C++ program that prints one line and exits,
// built with the same flags.
#include <iostream>

int main() {
  std::cout << "Hello from one line of C++.\n";
  return 0;
}
