#pragma once
// What a program run needs of the main window. The run itself holds no widget; the main
// window implements this interface with its entry fields, check boxes, meter, editor and
// message dialogs, and tests implement it with plain tables.
#include <string>
#include <string_view>

class TStrings;

class RunHost {
public:
    virtual ~RunHost() = default;

    // The lines of the program editor.
    virtual TStrings& ProgramLines() = 0;

    // Entry fields by name ("wst_l", "stepy", "komma", the angle dialog's "eingabe", ...).
    // GetFieldValue returns the field's result code: 0 when the value was read; on any other
    // code value is left as it was.
    virtual int GetFieldValue(std::string_view field, double& value) = 0;
    virtual void SetFieldValue(std::string_view field, double value) = 0;

    // Option boxes by name ("Prg_optimieren", "kante_fraesen", "stoppen", ...).
    virtual bool IsChecked(std::string_view box) = 0;
    virtual void SetChecked(std::string_view box, bool checked) = 0;

    // Shows line `line` of the message file as a box of the given kind; returns the answer.
    virtual int ShowFileMessage(int line, char kind) = 0;
    // Shows a message of the program's own wording.
    virtual void ShowMessageText(const std::string& text) = 0;

    virtual void SetMeterPercent(int /*percent*/) {}

    // What the main window adds around the run (controls, picture, preview, clipboard).
    virtual void OnRunStart() {}                 // disable what could start a second run
    virtual void OnGreyscaleForRun() {}          // turn the picture grey unless level 0
    virtual void PrepareWorkBitmap() {}          // rebuild the work bitmap from the picture
    virtual void PreviewSize(int& width, int& height) { width = height = 0; }
    virtual void OnProgramCleared() {}           // program list, save name, controls
    virtual void SetRunCaption(bool /*running*/) {}
    virtual void SetEditorVisible(bool /*visible*/) {}
    virtual void ShowStrategyHint(std::string_view /*menuItem*/) {}
    virtual void ShowProgramCounts(long long /*lines*/, long long /*bytes*/, bool /*withSize*/) {}
    virtual void RunOptimiser() {}
    virtual void RestoreWorkBitmap() {}          // greyscale setting, pixel format, preview
    virtual void CopyProgramToClipboard() {}
    virtual void OnRunEnd() {}                   // enable the controls again
};

// Reads a field into its variable; a failed read, or a value that is not a finite number,
// leaves the variable as it was.
void ReadField(RunHost& host, std::string_view field, double& variable);
