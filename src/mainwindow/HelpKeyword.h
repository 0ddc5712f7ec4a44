#pragma once
// F1 in the program's windows: the help keyword of the focused control or of the nearest of its
// parents up to the window (the "helpKeyword" property), else the window's own topic.
#include <string>

class QWidget;

std::string FocusedHelpKeyword(const QWidget* window, const std::string& fallback);
