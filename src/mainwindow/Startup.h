#pragma once
// The program's start: the windows in their order, the main window's creation with its
// files, the message loop, and the end.
class QApplication;

// Runs the program; returns the process's exit code.
int RunFraxilon(QApplication& app);
