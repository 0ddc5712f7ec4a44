#pragma once
// The message file: line N is message N. ShowFileMessage reads the file again for every
// message and shows the line in the box its kind letter chooses.
#include <string>

// Kinds: 'C' confirmation with OK, 'I' information with OK, 'Y' warning with Yes, No and
// Cancel, any other letter warning with OK. Returns the answer: 1 OK, 2 Cancel, 6 Yes, 7 No.
// "Messagefile not found" or "Messagefile defect" (warning, OK) stand in when the file
// cannot be opened or read.
int ShowFileMessage(const std::string& path, int line, char kind);
