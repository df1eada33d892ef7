// Where the programs under test lie: beside the test executable.
#pragma once
#include <string>

std::string ProgramPath(const char* exeName);
