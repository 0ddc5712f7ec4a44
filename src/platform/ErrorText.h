#pragma once
// The words a user is shown for an error that ends a command: the platform's own errors
// (Exception, whose texts are Windows-1252) in UTF-8, a lack of memory in German with what to
// do about it, and any other error with a German sentence around it.
#include <exception>
#include <string>

// What is shown when memory runs out and the caller knows no better advice.
extern const char* const kOutOfMemoryText;

// UTF-8 text for a message box.
std::string ErrorText(const std::exception& error);
// The same for whatever was thrown (also things that are no std::exception).
std::string ErrorText(const std::exception_ptr& error);
