#pragma once
// Captions and hints of the window's controls and menu items, read and set alike for
// buttons, labels, group boxes, menus, menu items and windows. A caption is kept as it was
// given (a carriage return stays); the control shows it as a line break.
#include <string>

class QObject;

void SetCaption(QObject* object, const std::string& caption);
std::string Caption(const QObject* object);
// A hint is the control's tool tip and status text; a menu item's hint shows in the status bar.
void SetHint(QObject* object, const std::string& hint);
std::string Hint(const QObject* object);
