#pragma once
// A main window for runs under test: fields and boxes are plain tables, messages and
// hook calls are recorded.
#include "generation/AngleDialogState.h"
#include "generation/MainState.h"
#include "generation/RunHost.h"
#include "platform/LineStore.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class TestHost : public RunHost {
public:
    TStrings lines;
    std::map<std::string, double, std::less<>> fields;
    std::map<std::string, bool, std::less<>> boxes;
    std::vector<std::pair<int, char>> fileMessages;
    std::vector<std::string> messageTexts;
    std::vector<int> meter;
    int clipboardCopies = 0;
    int clipboardClears = 0;
    // The run's optimiser step runs only when asked for, so that the stored programs show
    // what the strategies write.
    bool runOptimiser = false;
    std::vector<std::string> captions;  // what the status label showed, in turn
    bool waitLabelVisible = false;
    bool programControlsEnabled = true;
    int previewWidth = 0, previewHeight = 0;

    // Fields hold what the settings hold now.
    void FieldsFromSettings(const MainState& s) {
        fields["wst_l"] = s.wst_l;
        fields["wst_b"] = s.wst_b;
        fields["wst_d"] = s.wst_d;
        fields["max_tiefe"] = s.max_tiefe;
        fields["stepX"] = s.stepX;
        fields["stepy"] = s.stepy;
        fields["faktor"] = s.faktor;
        fields["zg0"] = s.zg0;
        fields["komma"] = s.komma;
        fields["min_deltaZ"] = s.min_deltaZ;
        fields["z_zustellung"] = s.z_zustellung;
        fields["eingabe"] = s.Alpha;
        // The angle dialog's fields.
        fields["ecken"] = AngleDialog.CornerCount;
        fields["rad_verhaeltnis"] = AngleDialog.RadiusRatio;
    }

    std::vector<std::string> Program() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < lines.Count(); ++i) out.push_back(lines.Get(i));
        return out;
    }

    TStrings& ProgramLines() override { return lines; }
    int GetFieldValue(std::string_view field, double& value) override {
        auto it = fields.find(field);
        if (it == fields.end()) return 257;
        value = it->second;
        return 0;
    }
    void SetFieldValue(std::string_view field, double value) override { fields[std::string(field)] = value; }
    bool IsChecked(std::string_view box) override {
        auto it = boxes.find(box);
        return it != boxes.end() && it->second;
    }
    void SetChecked(std::string_view box, bool checked) override { boxes[std::string(box)] = checked; }
    int ShowFileMessage(int line, char kind) override {
        fileMessages.emplace_back(line, kind);
        return 1;
    }
    void ShowMessageText(const std::string& text) override { messageTexts.push_back(text); }
    void SetMeterPercent(int percent) override { meter.push_back(percent); }
    void PreviewSize(int& width, int& height) override {
        width = previewWidth;
        height = previewHeight;
    }
    void CopyProgramToClipboard() override { ++clipboardCopies; }
    void ClearClipboard() override { ++clipboardClears; }
    void RunOptimiser() override {
        if (runOptimiser) RunHost::RunOptimiser();
    }
    void ShowProcessCaption(std::string_view control) override { captions.push_back(std::string(control)); }
    void SetWaitLabelVisible(bool visible) override { waitLabelVisible = visible; }
    void SetProgramControlsEnabled(bool enabled) override { programControlsEnabled = enabled; }
};

// A 24-bit work bitmap of grey levels, given row by row from the top.
inline TBitmap GreyBitmap(const std::vector<std::vector<int>>& rows) {
    const int h = int(rows.size()), w = int(rows.front().size());
    TBitmap b(w, h, TPixelFormat::pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int v = rows[std::size_t(y)][std::size_t(x)];
            b.SetPixelAt(x, y, RGB(v, v, v));
        }
    return b;
}

// A host that turns the work bitmap as the main window does when "maschinenachse 90°" was ticked
// from its menu, so that the fields still show the unturned workpiece: preparing the work
// bitmap for a run turns the picture anticlockwise and exchanges length and width (fields and
// settings), putting it back undoes both.
class TurningHost : public TestHost {
public:
    void PrepareWorkBitmap() override {
        if (!IsChecked("achse_90_grad") || turned_) return;
        unturned_ = Main.WorkBitmap;
        const int w = unturned_.Width(), h = unturned_.Height();
        TBitmap turned(h, w, TPixelFormat::pf24bit);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) turned.SetPixelAt(y, w - 1 - x, unturned_.PixelAt(x, y));
        Main.WorkBitmap = std::move(turned);
        ExchangeLengthAndWidth();
        turned_ = true;
    }
    void RestoreWorkBitmap() override {
        if (!turned_) return;
        Main.WorkBitmap = unturned_;
        ExchangeLengthAndWidth();
        turned_ = false;
    }

private:
    void ExchangeLengthAndWidth() {
        std::swap(Main.wst_l, Main.wst_b);
        fields["wst_l"] = Main.wst_l;
        fields["wst_b"] = Main.wst_b;
        Main.PixelsPerMmX = (Main.WorkBitmap.Width() - 1) / Main.wst_l;
        Main.PixelsPerMmY = (Main.WorkBitmap.Height() - 1) / Main.wst_b;
    }
    TBitmap unturned_;
    bool turned_ = false;
};
