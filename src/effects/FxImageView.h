#pragma once
// The painting side of the picture-effects control: a small widget that shows the processed
// picture of a TFxImage, at its own size at the top left, centred, or stretched to the widget
// (nearest neighbour). It repaints whenever the control recomputes its picture.
#include <QWidget>

class TFxImage;

class TFxImageView : public QWidget {
    Q_OBJECT
public:
    explicit TFxImageView(TFxImage& image, QWidget* parent = nullptr);
    ~TFxImageView() override;

    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);

    // Where the picture is drawn inside the widget.
    QRect DestRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TFxImage& image_;
    bool stretch_ = false;
    bool center_ = false;
};
