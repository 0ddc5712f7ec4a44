#pragma once
// The About box: the program's icon, its version, the maker's lines and a link to the maker's
// web page, and a close button.
#include <QDialog>

class QLabel;
class TFclURL;
class QPushButton;

class TAboutBox : public QDialog {
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Takes the main window's colour.
    void FormCreate(const QColor& windowColour);
    // Shows the version label.
    void FormActivate();

    static constexpr const char* kVersionLabel = "Version 1.0";

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* Version;
    TFclURL* FclURL1;
    QPushButton* ende;
};
