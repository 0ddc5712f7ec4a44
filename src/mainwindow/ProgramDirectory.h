#pragma once
// The program's directory, where its configuration, language, message and help files lie:
// the directory of the executable with a trailing separator. Tests point it elsewhere.
#include <string>

std::string ProgramDirectory();
// An empty text goes back to the executable's directory.
void SetProgramDirectory(const std::string& directory);
