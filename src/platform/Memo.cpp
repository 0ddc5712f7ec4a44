#include "platform/Memo.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <climits>
#include <cstring>

namespace {

constexpr int kMargin = 2;      // pixels between the frame and the text
constexpr int kCaretWidth = 1;
constexpr std::size_t kShownBytes = 16384;  // of a line, measured and painted
constexpr int kDragScrollMs = 50;
constexpr std::uint64_t kUndoBytes = std::uint64_t(64) << 20;  // larger removals cannot be undone

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Character classes for word moves: blanks, word characters (letters, digits, '_' and every
// non-ASCII character) and the other signs.
int ClassOf(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u == ' ' || u == '\t')
        return 0;
    if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_' || u >= 0x80)
        return 1;
    return 2;
}

// Calls piece(std::string_view) for every piece of text between line breaks.
template <class Piece>
void ForEachPiece(std::string_view text, Piece&& piece) {
    TLinePieces pieces(text);
    std::string_view part;
    while (pieces.Next(part))
        piece(part);
}

// Marks the clipboard data this editor put there: its text is taken as it is, without a
// round trip through UTF-16.
const QString kOwnTextFormat = QStringLiteral("application/x-line-store-text");

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

bool IsTypedCharacter(char32_t c) {
    return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) && !(c >= 0xD800 && c < 0xE000) && c <= 0x10FFFF;
}

}  // namespace

TMemo::TMemo(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setSingleStep(1);
    UpdateScrollBars();
    dragScroll_ = new QTimer(this);
    dragScroll_->setObjectName(QStringLiteral("dragScroll"));
    dragScroll_->setInterval(kDragScrollMs);
    connect(dragScroll_, &QTimer::timeout, this, [this] {
        if (dragging_)
            MoveTo(PosAt(dragPoint_), true);
        else
            dragScroll_->stop();
    });
}

TMemo::~TMemo() = default;

int TMemo::LineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

std::size_t TMemo::VisibleLines() const {
    return std::size_t(std::max(1, viewport()->height() / LineHeight()));
}

std::size_t TMemo::TopLine() const { return std::size_t(verticalScrollBar()->value()); }

void TMemo::UpdateScrollBars() {
    const std::size_t rows = Rows();
    const std::size_t visible = VisibleLines();
    const std::size_t maxTop = rows > visible ? rows - visible : 0;
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, int(std::min<std::size_t>(maxTop, INT_MAX)));
    v->setPageStep(int(std::min<std::size_t>(visible, INT_MAX)));
    QScrollBar* h = horizontalScrollBar();
    const int width = viewport()->width();
    h->setRange(0, std::max(0, widestSeen_ + 2 * kMargin + kCaretWidth - width));
    h->setPageStep(std::max(1, width));
    h->setSingleStep(std::max(1, fontMetrics().averageCharWidth()));
}

void TMemo::TakeUpCount() {
    if (knownCount_ != lines_.Count()) {
        undo_ = {};
        knownCount_ = lines_.Count();
        if (knownCount_ == 0)
            widestSeen_ = 0;
        UpdateScrollBars();
    }
    KeepPositionsInText();
}

void TMemo::LinesChanged() {
    undo_ = {};  // positions of another text
    lines_.SettleMemory();
    knownCount_ = lines_.Count();
    if (knownCount_ == 0)
        widestSeen_ = 0;
    UpdateScrollBars();
    KeepPositionsInText();
    viewport()->update();
}

TMemo::TTextPos TMemo::Clamped(TTextPos pos) const {
    if (pos.line >= lines_.Count())
        return End();
    const std::string_view text = lines_.Line(pos.line);
    std::size_t column = std::min(pos.column, text.size());
    while (column > 0 && column < text.size() && IsContinuation(text[column]))
        --column;
    return {pos.line, column};
}

void TMemo::KeepPositionsInText() {
    anchor_ = Clamped(anchor_);
    caret_ = Clamped(caret_);
}

void TMemo::SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

std::string_view TMemo::Shown(std::string_view line) {
    if (line.size() <= kShownBytes)
        return line;
    std::size_t end = kShownBytes;
    while (end > 0 && IsContinuation(line[end]))
        --end;
    return line.substr(0, end);
}

int TMemo::XOf(std::string_view line, std::size_t column) const {
    line = Shown(line);
    column = std::min(column, line.size());
    if (column == 0)
        return 0;
    return fontMetrics().horizontalAdvance(QString::fromUtf8(line.data(), qsizetype(column)));
}

std::size_t TMemo::ColumnAt(std::string_view line, int x) const {
    line = Shown(line);
    if (x <= 0 || line.empty())
        return 0;
    std::size_t hi = line.size();
    if (XOf(line, hi) <= x)
        return hi;
    // Bisect over character starts: XOf(lo) <= x < XOf(hi).
    std::size_t lo = 0;
    for (;;) {
        std::size_t mid = lo + (hi - lo) / 2;
        while (mid < hi && IsContinuation(line[mid]))
            ++mid;
        if (mid == hi || mid == lo) {
            mid = lo + 1;
            while (mid < hi && IsContinuation(line[mid]))
                ++mid;
            if (mid == hi)
                break;
        }
        (XOf(line, mid) <= x ? lo : hi) = mid;
    }
    return x - XOf(line, lo) <= XOf(line, hi) - x ? lo : hi;
}

TMemo::TTextPos TMemo::PosAt(QPoint point) const {
    const int height = LineHeight();
    const int row = point.y() >= 0 ? point.y() / height : -1;
    std::size_t line = TopLine();
    if (row < 0)
        line = line > 0 ? line - 1 : 0;
    else
        line = std::min(line + std::size_t(row), lines_.Count());
    const int x = point.x() - kMargin + horizontalScrollBar()->value();
    const std::string_view text = LineAt(line);
    return {line, ColumnAt(text, x)};
}

TMemo::TTextPos TMemo::Left(TTextPos pos, bool word) const {
    if (pos.column == 0)
        return pos.line > 0 ? TTextPos{pos.line - 1, LineAt(pos.line - 1).size()} : pos;
    const std::string_view text = LineAt(pos.line);
    std::size_t column = pos.column;
    if (!word) {
        --column;
        while (column > 0 && IsContinuation(text[column]))
            --column;
        return {pos.line, column};
    }
    while (column > 0 && ClassOf(text[column - 1]) == 0)
        --column;
    if (column > 0) {
        const int cls = ClassOf(text[column - 1]);
        while (column > 0 && ClassOf(text[column - 1]) == cls)
            --column;
    }
    return {pos.line, column};
}

TMemo::TTextPos TMemo::Right(TTextPos pos, bool word) const {
    const std::string_view text = LineAt(pos.line);
    if (pos.column >= text.size())
        return pos.line < lines_.Count() ? TTextPos{pos.line + 1, 0} : pos;
    std::size_t column = pos.column;
    if (!word) {
        ++column;
        while (column < text.size() && IsContinuation(text[column]))
            ++column;
        return {pos.line, column};
    }
    const int cls = ClassOf(text[column]);
    while (column < text.size() && cls != 0 && ClassOf(text[column]) == cls)
        ++column;
    while (column < text.size() && ClassOf(text[column]) == 0)
        ++column;
    return {pos.line, column};
}

TMemo::TTextPos TMemo::Vertical(TTextPos pos, std::ptrdiff_t lines) {
    if (desiredX_ < 0)
        desiredX_ = XOf(LineAt(pos.line), pos.column);
    std::size_t line = pos.line;
    if (lines < 0)
        line = std::size_t(-lines) > line ? 0 : line - std::size_t(-lines);
    else
        line = std::min(line + std::size_t(lines), lines_.Count());
    return {line, ColumnAt(LineAt(line), desiredX_)};
}

void TMemo::MoveTo(TTextPos pos, bool extend, bool keepX) {
    lastKind_ = EditKind::kOther;
    caret_ = pos;
    if (!extend)
        anchor_ = pos;
    if (!keepX)
        desiredX_ = -1;
    EnsureCaretVisible();
    RestartBlink();
    viewport()->update();
}

void TMemo::SetCaretPos(TTextPos pos) {
    TakeUpCount();
    MoveTo(Clamped(pos), false);
}

void TMemo::EnsureCaretVisible() {
    QScrollBar* v = verticalScrollBar();
    const std::size_t top = TopLine();
    const std::size_t visible = VisibleLines();
    if (caret_.line < top)
        v->setValue(int(std::min<std::size_t>(caret_.line, INT_MAX)));
    else if (caret_.line >= top + visible)
        v->setValue(int(std::min<std::size_t>(caret_.line - visible + 1, INT_MAX)));

    const int x = XOf(LineAt(caret_.line), caret_.column);
    if (x > widestSeen_) {
        widestSeen_ = x;
        UpdateScrollBars();
    }
    QScrollBar* h = horizontalScrollBar();
    const int width = std::max(1, viewport()->width() - 2 * kMargin - kCaretWidth);
    if (x < h->value())
        h->setValue(std::max(0, x - width / 3));
    else if (x > h->value() + width)
        h->setValue(x - width + width / 3);
}

void TMemo::RestartBlink() {
    caretOn_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        blink_.start(flash / 2, this);
    else
        blink_.stop();
}

void TMemo::timerEvent(QTimerEvent* event) {
    if (event->timerId() != blink_.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    caretOn_ = !caretOn_;
    const std::size_t top = TopLine();
    if (caret_.line >= top && caret_.line <= top + VisibleLines()) {
        const int height = LineHeight();
        const int x = kMargin - horizontalScrollBar()->value() + XOf(LineAt(caret_.line), caret_.column);
        viewport()->update(QRect(x - 1, int(caret_.line - top) * height, kCaretWidth + 2, height));
    }
}

// ---- painting ----

void TMemo::paintEvent(QPaintEvent* event) {
    TakeUpCount();
    QPainter painter(viewport());
    const QPalette& pal = palette();
    painter.fillRect(event->rect(), pal.base());
    const QFontMetrics metrics = fontMetrics();
    const int height = LineHeight();
    const int ascent = metrics.ascent();
    const int left = kMargin - horizontalScrollBar()->value();
    const std::size_t top = TopLine();
    const std::size_t count = lines_.Count();
    const std::size_t rows = std::size_t(viewport()->height() / height) + 1;
    // Only the rows the update touches (a caret blink repaints a sliver of one row).
    const std::size_t firstRow = std::size_t(std::max(0, event->rect().top()) / height);
    const std::size_t lastRow = std::min(rows, std::size_t(std::max(0, event->rect().bottom()) / height) + 1);
    const TTextPos start = SelStart(), end = SelEnd();
    const QColor text = pal.color(QPalette::Text);
    const QColor selectedText = pal.color(QPalette::HighlightedText);
    int widest = widestSeen_;
    for (std::size_t r = firstRow; r < lastRow && top + r < count; ++r) {
        const std::size_t i = top + r;
        const std::string_view whole = lines_.Line(i);
        const std::string_view bytes = Shown(whole);
        const QString line = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
        const int y = int(r) * height;
        painter.setPen(text);
        painter.drawText(left, y + ascent, line);
        widest = std::max(widest, metrics.horizontalAdvance(line));
        if (start != end && i >= start.line && i <= end.line) {
            const int from = XOf(bytes, i == start.line ? start.column : 0);
            int to = XOf(bytes, i == end.line ? end.column : whole.size());
            if (i < end.line)
                to += metrics.horizontalAdvance(QLatin1Char(' '));  // the line break
            const QRect area(left + from, y, to - from, height);
            painter.fillRect(area, pal.highlight());
            painter.save();
            painter.setClipRect(area);
            painter.setPen(selectedText);
            painter.drawText(left, y + ascent, line);
            painter.restore();
        }
    }
    if (caretOn_ && hasFocus() && caret_.line >= top && caret_.line < top + rows) {
        const int x = left + XOf(LineAt(caret_.line), caret_.column);
        painter.fillRect(QRect(x, int(caret_.line - top) * height, kCaretWidth, height), text);
    }
    if (widest != widestSeen_) {
        widestSeen_ = widest;
        UpdateScrollBars();
    }
}

void TMemo::scrollContentsBy(int, int) { viewport()->update(); }

// ---- events ----

bool TMemo::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the editor itself handles are not taken by the window's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool command = key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Undo) ||
                             key->matches(QKeySequence::Copy) ||
                             key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Paste);
        const bool modified = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        bool editing = false;
        switch (key->key()) {
        case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
        case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
        case Qt::Key_Backspace: case Qt::Key_Delete: case Qt::Key_Return: case Qt::Key_Enter:
            editing = !(key->modifiers() & (Qt::AltModifier | Qt::MetaModifier));
            break;
        default:
            editing = !modified && !key->text().isEmpty() && key->text().at(0).unicode() >= 0x20;
        }
        if (command || editing) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TMemo::keyPressEvent(QKeyEvent* event) {
    TakeUpCount();
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        Undo();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        CutToClipboard();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        MoveTo(Left(caret_, control), shift);
        return;
    case Qt::Key_Right:
        MoveTo(Right(caret_, control), shift);
        return;
    case Qt::Key_Up:
        MoveTo(Vertical(caret_, -1), shift, true);
        return;
    case Qt::Key_Down:
        MoveTo(Vertical(caret_, 1), shift, true);
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // Caret and view move by one page together.
        const auto page = std::ptrdiff_t(VisibleLines());
        const std::ptrdiff_t step = event->key() == Qt::Key_PageUp ? -page : page;
        const TTextPos pos = Vertical(caret_, step);
        QScrollBar* v = verticalScrollBar();
        const long long value = std::clamp<long long>(v->value() + step, v->minimum(), v->maximum());
        v->setValue(int(value));
        MoveTo(pos, shift, true);
        return;
    }
    case Qt::Key_Home:
        MoveTo(control ? TTextPos{} : TTextPos{caret_.line, 0}, shift);
        return;
    case Qt::Key_End:
        MoveTo(control ? End() : TTextPos{caret_.line, LineAt(caret_.line).size()}, shift);
        return;
    case Qt::Key_Backspace:
        TypeKey(8);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        TypeKey(13);
        return;
    case Qt::Key_Delete:
        DeleteForward();
        return;
    default:
        break;
    }
    const QString text = event->text();
    const bool modified = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!text.isEmpty() && !modified) {
        const std::u32string keys = text.toStdU32String();
        if (std::all_of(keys.begin(), keys.end(), IsTypedCharacter)) {
            for (char32_t key : keys)
                TypeKey(key);
            return;
        }
    }
    event->ignore();
}

void TMemo::inputMethodEvent(QInputMethodEvent* event) {
    TakeUpCount();
    for (char32_t key : event->commitString().toStdU32String())
        if (IsTypedCharacter(key))
            TypeKey(key);
    event->accept();
}

// Where input methods place their candidate window: at the caret.
QVariant TMemo::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImEnabled:
        return Editable();
    case Qt::ImCursorRectangle: {
        const std::size_t top = TopLine();
        const int height = LineHeight();
        const long long row = (long long)caret_.line - (long long)top;
        const int x = kMargin - horizontalScrollBar()->value() + XOf(LineAt(caret_.line), caret_.column);
        const int y = int(std::clamp<long long>(row, -1, INT_MAX / height - 1)) * height;
        return QRect(QPoint(x, y) + viewport()->geometry().topLeft(), QSize(kCaretWidth, height));
    }
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void TMemo::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    TakeUpCount();
    MoveTo(PosAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    dragging_ = true;
}

void TMemo::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    TakeUpCount();
    dragPoint_ = event->position().toPoint();
    MoveTo(PosAt(dragPoint_), true);
    if (viewport()->rect().contains(dragPoint_))
        dragScroll_->stop();
    else if (!dragScroll_->isActive())
        dragScroll_->start();
}

void TMemo::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    dragScroll_->stop();
}

void TMemo::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    // The word (or run of blanks or signs) under the mouse.
    TakeUpCount();
    const TTextPos at = PosAt(event->position().toPoint());
    const std::string_view text = LineAt(at.line);
    std::size_t from = at.column, to = at.column;
    if (!text.empty()) {
        const std::size_t probe = at.column < text.size() ? at.column : at.column - 1;
        const int cls = ClassOf(text[probe]);
        from = probe;
        to = probe;
        while (from > 0 && ClassOf(text[from - 1]) == cls)
            --from;
        while (to < text.size() && ClassOf(text[to]) == cls)
            ++to;
    }
    anchor_ = {at.line, from};
    MoveTo({at.line, to}, true);
    dragging_ = false;
}

// The editing commands of a text field, in the language of the user interface.
void TMemo::contextMenuEvent(QContextMenuEvent* event) {
    TakeUpCount();
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    QMenu menu(this);
    QAction* undo = menu.addAction(QStringLiteral("&Rückgängig"));
    undo->setShortcut(QKeySequence::Undo);
    undo->setEnabled(CanUndo());
    menu.addSeparator();
    QAction* cut = menu.addAction(QStringLiteral("&Ausschneiden"));
    cut->setShortcut(QKeySequence::Cut);
    cut->setEnabled(HasSelection() && Editable());
    QAction* copy = menu.addAction(QStringLiteral("&Kopieren"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(HasSelection());
    QAction* paste = menu.addAction(QStringLiteral("E&infügen"));
    paste->setShortcut(QKeySequence::Paste);
    paste->setEnabled(Editable() && clip != nullptr && clip->hasText());
    QAction* erase = menu.addAction(QStringLiteral("&Löschen"));
    erase->setEnabled(HasSelection() && Editable());
    menu.addSeparator();
    QAction* all = menu.addAction(QStringLiteral("Alles &markieren"));
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(lines_.Count() > 0);
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == undo)
        Undo();
    else if (chosen == cut)
        CutToClipboard();
    else if (chosen == copy)
        CopyToClipboard();
    else if (chosen == paste)
        PasteFromClipboard();
    else if (chosen == erase)
        ReplaceSelection({});
    else if (chosen == all)
        SelectAll();
}

void TMemo::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TMemo::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    // A new line count from while it was hidden (a window shown again after being minimised
    // keeps its Undo step).
    TakeUpCount();
    UpdateScrollBars();
}

void TMemo::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    RestartBlink();
    viewport()->update();
}

void TMemo::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
    dragScroll_->stop();
    caretOn_ = false;
    dragging_ = false;
    viewport()->update();
}

void TMemo::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        widestSeen_ = 0;
        UpdateScrollBars();
        viewport()->update();
    } else if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            blink_.stop();
            caretOn_ = false;
            dragging_ = false;
        }
        viewport()->update();
    }
}

// ---- selection and clipboard ----

void TMemo::SelectAll() {
    TakeUpCount();
    anchor_ = {};
    caret_ = End();
    desiredX_ = -1;
    lastKind_ = EditKind::kOther;
    RestartBlink();
    viewport()->update();
}

template <class Append>
void TMemo::VisitRange(TTextPos start, TTextPos end, Append&& append) const {
    if (start == end)
        return;
    const std::string_view first = LineAt(start.line);
    if (start.line == end.line) {
        append(first.substr(start.column, end.column - start.column));
        return;
    }
    append(first.substr(start.column));
    append(std::string_view("\r\n"));
    lines_.ForEach(start.line + 1, end.line - start.line - 1, [&](std::string_view line) {
        append(line);
        append(std::string_view("\r\n"));
    });
    append(LineAt(end.line).substr(0, end.column));
}

std::string TMemo::SelText() const {
    std::string text;
    VisitRange(SelStart(), SelEnd(), [&](std::string_view piece) { text.append(piece); });
    return text;
}

void TMemo::CopyToClipboard() {
    TakeUpCount();
    if (!HasSelection())
        return;
    // Sized first, then filled: one pass over the entries, one copy of the bytes.
    std::uint64_t size = 0;
    VisitRange(SelStart(), SelEnd(), [&](std::string_view piece) { size += piece.size(); });
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    char* out = bytes.data();
    VisitRange(SelStart(), SelEnd(), [&](std::string_view piece) {
        if (!piece.empty())
            std::memcpy(out, piece.data(), piece.size());
        out += piece.size();
    });
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/plain"), bytes);
    data->setData(kOwnTextFormat, QByteArray());
    QGuiApplication::clipboard()->setMimeData(data);
}

void TMemo::CutToClipboard() {
    TakeUpCount();
    if (!HasSelection() || !Editable())
        return;
    CopyToClipboard();
    ReplaceSelection({});
}

void TMemo::PasteFromClipboard() {
    TakeUpCount();
    if (!Editable())
        return;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard->mimeData();
    if (data == nullptr || !data->hasText())
        return;
    // Our own copy is taken as it is; text from elsewhere goes through Qt's decoding.
    const QByteArray bytes = data->hasFormat(kOwnTextFormat) ? data->data(QStringLiteral("text/plain"))
                                                             : data->text().toUtf8();
    ReplaceSelection(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

void TMemo::InsertText(std::string_view text) {
    TakeUpCount();
    const std::string copy(text);  // text may lie in this editor's own store
    ReplaceSelection(copy);
}

void TMemo::Clear() {
    lines_.Clear();
    anchor_ = caret_ = {};
    desiredX_ = -1;
    widestSeen_ = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    LinesChanged();
}

// ---- editing ----

void TMemo::TypeKey(char32_t key) {
    if (OnKeyPress)
        OnKeyPress(key);
    if (key == 0 || !Editable())
        return;
    if (key == 8) {
        Backspace();
    } else if (key == 13) {
        ReplaceSelection("\n", EditKind::kTyping);
    } else if (IsTypedCharacter(key)) {
        std::string bytes;
        AppendUtf8(bytes, key);
        ReplaceSelection(bytes, EditKind::kTyping);
    }
}

void TMemo::Backspace() {
    if (HasSelection()) {
        ReplaceSelection({});
        return;
    }
    const TTextPos from = Left(caret_, false);
    if (from != caret_)
        Replace(from, caret_, {}, EditKind::kBackspace);
}

void TMemo::DeleteForward() {
    TakeUpCount();
    if (!Editable())
        return;
    if (HasSelection()) {
        ReplaceSelection({});
        return;
    }
    const TTextPos to = Right(caret_, false);
    if (to != caret_)
        Replace(caret_, to, {}, EditKind::kDelete);
}

void TMemo::ReplaceSelection(std::string_view text, EditKind kind) {
    if (Editable())
        Replace(SelStart(), SelEnd(), text, kind);
}

// The text an edit from one position to a later one removes, or nothing when it is too large
// to keep for Undo. The last line's break stays when the range starts inside a line.
std::optional<std::string> TMemo::RemovedText(TTextPos from, TTextPos to) const {
    std::uint64_t size = 0;
    VisitRange(from, to, [&](std::string_view piece) { size += piece.size(); });
    if (size > kUndoBytes)
        return std::nullopt;
    std::string text;
    text.reserve(std::size_t(size));
    VisitRange(from, to, [&](std::string_view piece) { text.append(piece); });
    if (to.line >= lines_.Count() && from.column > 0 && text.size() >= 2)
        text.resize(text.size() - 2);
    return text;
}

void TMemo::Replace(TTextPos from, TTextPos to, std::string_view text, EditKind kind) {
    std::optional<std::string> removed = from == to ? std::optional<std::string>(std::string()) : RemovedText(from, to);
    bool changed = from != to && DeleteRange(from, to);
    const bool atEnd = from == End();  // the text goes in on the row after the last line
    TTextPos after = from;
    if (!text.empty()) {
        after = InsertAt(from, text);
        changed = true;
    }
    anchor_ = caret_ = after;
    if (!changed) {
        MoveTo(after, false);
        return;
    }
    Record(from, to, after, std::move(removed), atEnd, kind);
    Edited();
}

// Keeps the inverse of an edit for Undo; typing, Backspace and Del runs become one step.
void TMemo::Record(TTextPos from, TTextPos to, TTextPos after, std::optional<std::string> removed,
                   bool atEnd, EditKind kind) {
    const bool run = undo_.valid && removed && kind == lastKind_ && kind != EditKind::kOther;
    lastKind_ = kind;
    if (!removed) {
        undo_ = {};
        return;
    }
    if (run && kind == EditKind::kTyping && removed->empty() && from == undo_.end) {
        undo_.end = after;
    } else if (run && kind == EditKind::kBackspace && undo_.start == undo_.end && to == undo_.start) {
        undo_.removed.insert(0, *removed);
        undo_.start = undo_.end = from;
    } else if (run && kind == EditKind::kDelete && undo_.start == undo_.end && from == undo_.start) {
        undo_.removed.append(*removed);
    } else {
        undo_ = {from, after, std::move(*removed), atEnd, true};
    }
}

// Puts back what the last edit (or the last Undo) replaced, and selects it.
void TMemo::Undo() {
    TakeUpCount();
    if (!Editable() || !undo_.valid)
        return;
    const TEdit edit = std::move(undo_);
    undo_ = {};
    const TTextPos start = Clamped(edit.start);
    const TTextPos end = std::max(start, Clamped(edit.end));
    std::optional<std::string> removed = start == end ? std::optional<std::string>(std::string()) : RemovedText(start, end);
    if (start != end)
        DeleteRange(start, end);
    // A line that the edit began on the row after the last line goes with it.
    if (edit.atEnd && start.line + 1 == lines_.Count() && lines_.Line(start.line).empty())
        lines_.Delete(start.line);
    const bool atEnd = start == End();
    const TTextPos after = edit.removed.empty() ? start : InsertAt(start, edit.removed);
    if (removed)
        undo_ = {start, after, std::move(*removed), atEnd, true};
    lastKind_ = EditKind::kOther;
    anchor_ = start;
    caret_ = after;
    Edited(false);
}

// Removes the text from one position to a later one. The line break of the last line stays
// (every line ends with one), so a range from inside the last line to the end changes nothing.
bool TMemo::DeleteRange(TTextPos from, TTextPos to) {
    const std::size_t count = lines_.Count();
    if (to.line >= count) {
        if (from.column == 0) {
            lines_.Delete(from.line, count - from.line);
            return true;
        }
        if (from.line + 1 == count && from.column == lines_.Line(from.line).size())
            return false;
        lines_.Put(from.line, lines_.Line(from.line).substr(0, from.column));
        lines_.Delete(from.line + 1, count - from.line - 1);
        return true;
    }
    if (from.line == to.line) {
        std::string line(lines_.Line(from.line));
        line.erase(from.column, to.column - from.column);
        lines_.Put(from.line, line);
        return true;
    }
    std::string line(lines_.Line(from.line).substr(0, from.column));
    line.append(lines_.Line(to.line).substr(to.column));
    lines_.Put(from.line, line);
    lines_.Delete(from.line + 1, to.line - from.line);
    return true;
}

// Inserts text at pos and returns the position after it.
TMemo::TTextPos TMemo::InsertAt(TTextPos pos, std::string_view text) {
    if (pos.line >= lines_.Count()) {
        // On the row after the last line: the pieces become new lines; a text that ends with a
        // line break leaves the caret on the row after them.
        lines_.AddText(text);
        const std::size_t last = text.find_last_of("\r\n");
        const std::size_t lastSize = last == std::string_view::npos ? text.size() : text.size() - last - 1;
        if (lastSize == 0)
            return End();
        return {lines_.Count() - 1, lastSize};
    }
    std::size_t breaks = 0;
    ForEachPiece(text, [&](std::string_view) { ++breaks; });
    --breaks;
    const std::string_view line = lines_.Line(pos.line);
    const std::string tail(line.substr(pos.column));
    std::string head(line.substr(0, pos.column));
    if (breaks == 0) {
        head.append(text);
        const std::size_t column = head.size();
        head.append(tail);
        lines_.Put(pos.line, head);
        return {pos.line, column};
    }
    lines_.InsertEmpty(pos.line + 1, breaks);
    std::size_t piece = 0;
    TTextPos after;
    ForEachPiece(text, [&](std::string_view part) {
        const std::size_t at = pos.line + piece;
        if (piece == 0) {
            head.append(part);
            lines_.Put(at, head);
        } else if (piece < breaks) {
            lines_.Put(at, part);
        } else {
            std::string last(part);
            last.append(tail);
            lines_.Put(at, last);
            after = {at, part.size()};
        }
        ++piece;
    });
    return after;
}

void TMemo::Edited(bool settle) {
    modified_ = true;
    // A lone empty line with the caret at its start is an empty text (as after deleting
    // everything typed); Undo puts back exactly what was. Nothing left gives back the chunks.
    if (settle && lines_.Count() == 1 && lines_.Line(0).empty() && caret_ == TTextPos{} && anchor_ == caret_) {
        lines_.Delete(0);
        if (undo_.valid && undo_.start == TTextPos{} && undo_.end == TTextPos{})
            undo_.removed.append("\r\n");  // Undo brings that line back too
    }
    if (lines_.Count() == 0)
        lines_.Clear();
    knownCount_ = lines_.Count();
    UpdateScrollBars();
    KeepPositionsInText();
    desiredX_ = -1;
    EnsureCaretVisible();
    RestartBlink();
    viewport()->update();
}
