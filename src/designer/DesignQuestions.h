#pragma once
// The German questions the design editor asks before it would drop what the user made: edits
// of objects not yet taken over, and a design changed since it was opened or saved. Objects
// are named as the user sees them: their slot number, their shape and the start of their text.
#include "designer/DesignObjects.h"

#include <string>
#include <vector>

// "Objekt 2 (Ellipse)", "Objekt 3 (Rechteck mit dem Text „Tür“)".
std::string ObjectName(const TDesign& design, int slot);
// Whether the edits of the objects in objects are to be taken over ("Ja" takes them over, "Nein"
// drops them).
std::string UncommittedEditsQuestion(const TDesign& design, const std::vector<int>& objects);
// Whether a changed design is to be saved before it is dropped (New, Open) or before the
// editor closes.
std::string DesignChangedQuestion(const TDesign& design, bool closing);
