#pragma once
// What a program run needs of the main window. The run itself holds no widget; the main
// window implements this interface with its entry fields, check boxes, meter, editor and
// message dialogs, and tests implement it with plain tables.
#include "generation/RewriteHost.h"

#include <cstdint>
#include <string>
#include <string_view>

class RunHost : public RewriteHost {
public:
    // The editor's lines, the fields, the boxes, the message boxes, the meter and the
    // clipboard come from RewriteHost.
    virtual void SetChecked(std::string_view box, bool checked) = 0;

    // Shows a message of the program's own wording.
    virtual void ShowMessageText(const std::string& text) = 0;

    // What the main window adds around the run (controls, picture, preview, clipboard).
    virtual void OnRunStart() {}                 // disable what could start a second run
    virtual void OnGreyscaleForRun() {}          // turn the picture grey unless level 0
    virtual void PrepareWorkBitmap() {}          // rebuild the work bitmap from the picture
    virtual void PreviewSize(int& width, int& height) { width = height = 0; }
    virtual void OnProgramCleared() {}           // program list, save name, controls
    virtual void SetRunCaption(bool /*running*/) {}
    virtual void SetEditorVisible(bool /*visible*/) {}
    virtual void ShowStrategyHint(std::string_view /*menuItem*/) {}
    virtual void ShowProgramCounts(long long /*lines*/, long long /*characters*/, bool /*withSize*/) {}
    // The optimiser, the run's last step when "Prg_optimieren" is ticked.
    virtual void RunOptimiser();
    virtual void RestoreWorkBitmap() {}          // greyscale setting, pixel format, preview
    virtual void OnRunEnd() {}                   // enable the controls again
};

// Reads a field into its variable; a failed read, or a value that is not a finite number,
// leaves the variable as it was.
void ReadField(RunHost& host, std::string_view field, double& variable);
// The same for a byte setting (the decimals): a value outside 0 to 255 leaves the variable.
void ReadByteField(RunHost& host, std::string_view field, std::uint8_t& variable);
