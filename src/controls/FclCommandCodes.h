#pragma once
// The edit commands that key bindings produce, and the translator's own results.
#include <cstdint>
#include <string>

enum : std::uint16_t {
    ccNone = 0, ccBack, ccBotOfPage, ccBotRightCell, ccCompleteDate, ccCompleteTime, ccCopy,
    ccCtrlChar, ccCut, ccDec, ccDel, ccDelBol, ccDelEol, ccDelLine, ccDelWord, ccDown, ccEnd,
    ccExtendDown, ccExtendEnd, ccExtendHome, ccExtendLeft, ccExtendPgDn, ccExtendPgUp,
    ccExtendRight, ccExtendUp, ccExtBotOfPage, ccExtFirstPage, ccExtLastPage, ccExtTopOfPage,
    ccExtWordLeft, ccExtWordRight, ccFirstPage,
    ccGotoMarker0, ccGotoMarker1, ccGotoMarker2, ccGotoMarker3, ccGotoMarker4, ccGotoMarker5,
    ccGotoMarker6, ccGotoMarker7, ccGotoMarker8, ccGotoMarker9,
    ccHome, ccInc, ccIns, ccLastPage, ccLeft, ccNewLine, ccNextPage, ccPageLeft, ccPageRight,
    ccPaste, ccPrevPage, ccRedo, ccRestore, ccRight, ccScrollDown, ccScrollUp,
    ccSetMarker0, ccSetMarker1, ccSetMarker2, ccSetMarker3, ccSetMarker4, ccSetMarker5,
    ccSetMarker6, ccSetMarker7, ccSetMarker8, ccSetMarker9,
    ccTab, ccTableEdit, ccTopLeftCell, ccTopOfPage, ccUndo, ccUp, ccWordLeft, ccWordRight,
    ccLastNamed = ccWordRight,

    ccTypedChar = 249,        // a typed character
    ccMouseDown = 250,
    ccMouseDrag = 251,
    ccNoBinding = 252,        // no binding: the key counts as typing
    ccDoubleClick = 253,
    ccSequenceFailed = 254,   // the second key of a sequence had no binding
    ccPartialSequence = 255,  // first key of a sequence taken, or a modifier while one waits

    ccUserFirst = 256,
};

// "ccNone" to "ccWordRight" for the named commands (from the message table); "" otherwise.
std::string CommandName(std::uint16_t Command);
