#pragma once
// The angle dialog: the path angle, the corner count of the n-gons and the radius ratio of
// the ellipses, with a preview of the chosen pattern drawn over the main window's preview
// image with the inverting pen while the dialog is open. Every close stores the entered angle
// in Alpha; the corner count and the ratio follow every change of their visible fields.
#include "mainwindow/PreviewFigures.h"
#include "platform/Graphics.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class RunHost;
class TPreviewImage;

class TForm2 : public QDialog {
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // The dialog's module values.
    std::int32_t CornerCount = 0;
    double RadiusRatio = 0;
    int PreviewCentreX = 0;
    int PreviewCentreY = 0;
    double PreviewAngle = 0;
    double EnteredAngle = 0;

    // The main window: its fields, boxes and messages, its preview image, colours and help.
    void SetMainWindow(RunHost* host, TPreviewImage* image);
    void SetColours(TColor window, TColor font);
    void SetHelpFile(std::string file) { helpFile_ = std::move(file); }

    // The dialog's fields by name ("eingabe", "ecken", "rad_verhaeltnis"): 0 when read, else
    // the field's code (257 for a name the dialog has not).
    int GetFieldValue(std::string_view name, double& value) const;
    void SetFieldValue(std::string_view name, double value);
    // A control by name, for the window tests and the language texts.
    QWidget* Control(std::string_view name) const;
    bool ParallelTicked() const;
    void SetParallelTicked(bool ticked);
    // The step item of RadioGroup1 (0 to 4).
    int StepItem() const;
    void SetStepItem(int item);

    // Handlers.
    void FormShow();
    void FormActivate();
    void FormClose();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void BitBtn1Click();
    void BitBtn3Click();
    void eckenChange();
    void rad_verhaeltnisChange();
    void parallel_checkboxClick();

    // The previews; once: only remove the figure at PreviewAngle (which then becomes
    // EnteredAngle), else also draw the figure at the new angle.
    void PreviewEllipse(bool once);
    void PreviewPolygon(bool once);
    void PreviewCross(bool once);
    void PreviewOblique(bool once);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    struct Controls;
    void Preview(AnglePreview kind, bool once);
    void PreviewOfStrategy(bool once);
    AnglePreviewValues Values() const;
    bool HasPicture() const;

    std::unique_ptr<Controls> c_;
    RunHost* host_ = nullptr;
    TPreviewImage* image_ = nullptr;
    std::string helpFile_;
    bool closing_ = false;
};
