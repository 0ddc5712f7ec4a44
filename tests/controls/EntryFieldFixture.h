#pragma once
// Shared pieces of the entry-field core tests: a host that records what the core asks of its
// window and controller, the international settings with a decimal point or a decimal comma,
// and the set-up of a picture field as the windows place one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/FclEntryFieldHost.h"
#include "controls/FclIntlSup.h"
#include "controls/FclPictureField.h"
#include "platform/IntlSource.h"

class RecordingHost : public IFclEntryFieldHost {
public:
    void Beep() override { ++beeps; }
    void Repaint() override { ++repaints; }
    void NextControl() override { ++nextControl; }
    void PreviousControl() override { ++previousControl; }
    bool ClipboardHasText() const override { return !clipboard.empty(); }
    std::string ClipboardText() const override { return clipboard; }
    void SetClipboardText(const std::string& Text) override { clipboard = Text; }
    bool IsShowing() const override { return showing; }
    void TakeFocus() override { ++focusTaken; }
    void PostRefocus() override { ++refocusPosted; }
    void PostErrorReport(std::uint16_t Code) override { reports.push_back(Code); }
    TFclBaseEFOptions EntryOptions() const override { return options; }
    bool ErrorPending() const override { return errorPending; }
    void SetErrorPending(bool Value) override { errorPending = Value; }
    std::string ErrorText() const override { return errorText; }
    void SetErrorText(const std::string& Text) override { errorText = Text; }
    int ControllerEpoch() const override { return 2000; }
    void ControllerError(std::uint16_t Code, const std::string& Text) override
    {
        boxes.emplace_back(Code, Text);
    }

    int beeps = 0;
    int repaints = 0;
    int nextControl = 0;
    int previousControl = 0;
    int focusTaken = 0;
    int refocusPosted = 0;
    bool showing = true;
    bool errorPending = false;
    std::string errorText;
    std::string clipboard;
    std::vector<std::uint16_t> reports;
    std::vector<std::pair<std::uint16_t, std::string>> boxes;
    TFclBaseEFOptions options;  // efoAutoSelect, efoBeepOnError, efoInsertPushes
};

// The international settings with the given decimal character (the thousands character is
// the other of "." and ","), restored when the test ends.
inline void UseDecimalChar(char decimal)
{
    IntlSettings s;
    s.sDecimal = std::string(1, decimal);
    s.sThousand = decimal == ',' ? "." : ",";
    SetIntlSettingsOverride(s);
    RecreateFclIntlSup();
}

inline void RestoreIntlSettings()
{
    ClearIntlSettingsOverride();
    RecreateFclIntlSup();
}

// A text written with "," as the decimal character, as the examples are, under the settings in
// force (no thousands characters in these texts).
inline std::string Dec(std::string text)
{
    for (char& c : text)
        if (c == ',')
            c = FclIntlSup().DecimalChar();
    return text;
}

// Runs every test of a suite once under a decimal point and once under a decimal comma.
class DecimalCharTest : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { UseDecimalChar(GetParam()); }
    void TearDown() override { RestoreIntlSettings(); }
};

inline std::string DecimalCharName(const ::testing::TestParamInfo<char>& info)
{
    return info.param == ',' ? "DecimalComma" : "DecimalPoint";
}

#define INSTANTIATE_DECIMAL_CHARS(Suite) \
    INSTANTIATE_TEST_SUITE_P(Intl, Suite, ::testing::Values('.', ','), DecimalCharName)

// A picture field set up as the windows place one: data type, mask (and so MaxLength),
// options, range as texts written with "." (the range parser takes either character).
struct FieldSetup {
    TPictureDataType type = TPictureDataType::pftReal;
    std::string mask = "#####.###";
    std::string lo = "0";
    std::string hi = "1.7E38";
    TFclEntryFieldOptions options{efoCaretToEnd, efoRightAlign};
};

inline void SetUpField(TFclCustomPictureField& f, RecordingHost& host, const FieldSetup& setup)
{
    host.showing = false;  // as while the form is built
    f.SetDataType(setup.type);
    f.SetPictureMask(setup.mask);
    f.SetOptions(setup.options);
    if (!setup.lo.empty())
        f.SetRangeLo(setup.lo);
    if (!setup.hi.empty())
        f.SetRangeHi(setup.hi);
    f.CreateHandle();
    host.showing = true;
    host.repaints = 0;
}

// Gaining the focus with the Tab key as the widget shell does it: focused, caret home, the
// whole text selected, the restore copy taken.
inline void EnterByTab(TFclCustomPictureField& f)
{
    f.FocusGaining();
    f.SetStateBits(EfState::Focused, true);
    f.SetStateBits(EfState::ModifiedSinceFocus, false);
    f.KeepRestoreCopy();
    f.MoveCaretHome();
    f.SelectAll();
    f.FocusGained(false);
}
