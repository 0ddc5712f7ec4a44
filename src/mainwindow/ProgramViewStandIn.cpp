#include "mainwindow/ProgramViewStandIn.h"

#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace standin {

ProgramView::ProgramView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFont(QFont(QStringLiteral("Liberation Mono"), 10));
    UpdateScrollBars();
}

void ProgramView::LinesChanged() {
    allSelected_ = false;
    UpdateScrollBars();
    viewport()->update();
}

void ProgramView::Clear() {
    lines_.Clear();
    LinesChanged();
}

void ProgramView::CopyToClipboard() {
    if (!allSelected_) return;
    QString text;
    for (std::size_t i = 0; i < lines_.Count(); ++i) {
        const std::string_view l = lines_.Line(i);
        text += QString::fromUtf8(l.data(), qsizetype(l.size()));
        if (i + 1 < lines_.Count()) text += QStringLiteral("\r\n");
    }
    QApplication::clipboard()->setText(text);
}

void ProgramView::UpdateScrollBars() {
    const int lineHeight = std::max(1, fontMetrics().lineSpacing());
    const int visible = std::max(1, viewport()->height() / lineHeight);
    const auto count = std::int64_t(lines_.Count());
    verticalScrollBar()->setRange(0, int(std::min<std::int64_t>(INT32_MAX, std::max<std::int64_t>(0, count - visible))));
    verticalScrollBar()->setPageStep(visible);
}

void ProgramView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void ProgramView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), allSelected_ ? palette().highlight() : palette().base());
    p.setPen(allSelected_ ? palette().highlightedText().color() : palette().text().color());
    const int lineHeight = std::max(1, fontMetrics().lineSpacing());
    const std::size_t first = std::size_t(verticalScrollBar()->value());
    const int x = 4 - horizontalScrollBar()->value();
    for (int row = 0; row * lineHeight < viewport()->height(); ++row) {
        const std::size_t i = first + std::size_t(row);
        if (i >= lines_.Count()) break;
        const std::string_view l = lines_.Line(i);
        p.drawText(x, row * lineHeight + fontMetrics().ascent(), QString::fromUtf8(l.data(), qsizetype(l.size())));
    }
}

}  // namespace standin
