#pragma once
// The design editor's part of a long drawing (opening a design, redrawing all, composing it
// for export or print): a meter and an "abbrechen" button in the status bar, shown while the
// drawing runs. Meanwhile the editor takes no other input: clicks, keys and closing the
// window are held back (Esc and closing ask for the cancel), so nothing changes the design
// the drawing works on.
#include "designer/DesignObjects.h"

#include <QWidget>

class QPushButton;
class TFclMeter;

class TDesignProgressStrip : public QWidget, public DesignDrawingObserver {
public:
    // window: the editor whose input is held back while a drawing runs.
    TDesignProgressStrip(QWidget* parent, QWidget* window);
    ~TDesignProgressStrip() override;

    void DrawingStarted() override;
    void DrawingProgress(int percent) override;
    void DrawingFinished() override;

    TFclMeter* Meter() const { return meter_; }
    QPushButton* CancelButton() const { return cancel_; }
    bool Drawing() const { return drawing_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    TFclMeter* meter_;
    QPushButton* cancel_;
    bool drawing_ = false;
};
