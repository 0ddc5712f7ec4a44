#pragma once
// A composed design leaves the editor: as a bitmap file, on the printer, and as the picture
// the main window machines.
#include "designer/DesignObjects.h"

#include <optional>
#include <string>

// Export: with at least one object, the picture save dialog; the design composed into a
// clientWidth x clientHeight bitmap saved as a bitmap file (atomically). False when there is
// nothing to export, the dialog is cancelled, the drawing is cancelled or the file cannot be
// written (a message then).
bool FileExportExecute(TDesign& design, int clientWidth, int clientHeight);

// Print: with at least one object, the printer set-up; the composed client-sized bitmap drawn
// unscaled in the middle of the page. Nothing is printed when the drawing is cancelled.
bool FilePrintExecute(TDesign& design, int clientWidth, int clientHeight);

// The design rendered for the main window: Round(length / toolRadius) x
// Round(width / toolRadius) pixels (a white bitmap the objects are composed into, the editor's
// client width giving the scale); nothing when the drawing is cancelled. Throws Exception with
// a message for the user when the tool radius is not above 0 or the picture would not fit in
// memory.
std::optional<TBitmap> RenderDesignForImport(TDesign& design, double length, double width,
                                             double toolRadius, int clientWidth);
