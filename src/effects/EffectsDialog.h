#pragma once
// The effects dialog "Bild-Manipulation": fourteen scroll bars and three boxes that set the
// effects of one picture-effects control, each change going straight into the control and
// previewed over the main window's preview image. The dialog keeps no values of its own, so
// the caller saves the control's values before and restores them unless the dialog ends with
// OK. Showing a value on a control runs no handler; only the user's changes do.
#include "platform/Graphics.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QCheckBox;
class QLabel;
class QScrollBar;
class TBitmap;
class TFxImage;

class TFormFxImageEditor : public QDialog {
public:
    explicit TFormFxImageEditor(QWidget* parent = nullptr);
    ~TFormFxImageEditor() override;

    // The control being edited (not owned); nullptr until the caller sets it.
    TFxImage* EditedImage = nullptr;

    // Where the preview goes: the processed picture is stretched over the whole image, then
    // changed() shows it.
    void SetPreviewTarget(TBitmap* image, std::function<void()> changed);
    // The main window's colours, taken at activation.
    void SetColours(TColor window, TColor font);
    // The language texts by entry number (111 to 128), taken at activation, empty ones too.
    std::function<std::string(int entry)> LangCaption;
    std::function<std::string(int entry)> LangHint;

    void FormCreate();
    void FormActivate();
    void CopyToImage0();
    void UpdateAllEffectsControls();
    void RefreshSpatialControls();
    void ButtonOKClick();
    void ButtonCancelClick();

    // Controls by name (scroll bars, boxes, labels, buttons).
    QScrollBar* Bar(std::string_view name) const;
    QCheckBox* Box(std::string_view name) const;
    QLabel* Label(std::string_view name) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Controls;
    void BarChanged(int index, int position);
    void BoxClicked(int index, bool checked);
    void Show(QScrollBar* bar, int value);
    void Show(QCheckBox* box, bool value);

    std::unique_ptr<Controls> c_;
    TBitmap* preview_ = nullptr;
    std::function<void()> previewChanged_;
    TColor window_ = TColor(10930928);
    TColor font_ = clNavy;
};
