#pragma once
// What the whole-text rewrites of a program (the path optimiser, line numbering and space
// removal) need of the main window. The rewrites hold no widget: the main window implements
// this with its editor, entry fields, boxes, labels, meter and clipboard; tests with tables.
#include <string_view>

class TStrings;

class RewriteHost {
public:
    virtual ~RewriteHost() = default;

    // The lines of the program editor.
    virtual TStrings& ProgramLines() = 0;

    // Entry fields by name ("komma", "Ges_zeilen", "dateigrosse", ...). GetFieldValue returns
    // the field's result code: 0 when the value was read; on any other code value is left as
    // it was.
    virtual int GetFieldValue(std::string_view field, double& value) = 0;
    virtual void SetFieldValue(std::string_view field, double value) = 0;

    // Option boxes by name ("Prg_optimieren", "bogen_IJ", "zeilen_nr", "leerzeichen", ...).
    virtual bool IsChecked(std::string_view box) = 0;

    // Shows line `line` of the message file as a box of the given kind; returns the answer.
    virtual int ShowFileMessage(int line, char kind) = 0;

    virtual void SetMeterPercent(int /*percent*/) {}

    // The status label shows the caption of the named control; an empty name clears it.
    virtual void ShowProcessCaption(std::string_view /*control*/) {}
    // The label "Bitte warten".
    virtual void SetWaitLabelVisible(bool /*visible*/) {}
    // The editor and the panels with the settings, the picture and its buttons, which a
    // rewrite disables while it works.
    virtual void SetProgramControlsEnabled(bool /*enabled*/) {}

    // The clipboard: the whole program text, or nothing.
    virtual void CopyProgramToClipboard() {}
    virtual void ClearClipboard() {}
};
