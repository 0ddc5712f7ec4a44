#pragma once
// The printed listing of a program: Arial 10 in black, every page headed by the program's
// name line, the lines placed by PaginateListing.
#include <functional>
#include <string>

class QDate;
class QPrinter;
class TStrings;

// The header line of a page, its date written the German way (11.12.2026).
std::string ListingPageHeader(const std::string& pictureName, const QDate& date, int page);

// Prints every line (at most 255 characters each) on printer, which the print dialog has set
// up; progress(p) is called at multiples of 10. False when the printer could not start.
bool PrintListing(QPrinter& printer, const TStrings& lines, const std::string& pictureName,
                  const QDate& date, const std::function<void(int)>& progress);
