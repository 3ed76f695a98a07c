#include "cli/tool.h"

int main(int argc, char** argv) { return project1::cli::RunTool(argc, argv); }
