#include "platform/Memo.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <climits>

namespace {

constexpr int kMargin = 2;      // pixels between the frame and the text
constexpr int kCaretWidth = 1;

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

// Calls piece(std::string_view) for every piece of text between line breaks (CR LF, LF or CR):
// one more piece than there are breaks.
template <class Piece>
void ForEachPiece(std::string_view text, Piece&& piece) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        piece(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    piece(text.substr(start));
}

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
        knownCount_ = lines_.Count();
        if (knownCount_ == 0)
            widestSeen_ = 0;
        UpdateScrollBars();
    }
    KeepPositionsInText();
}

void TMemo::LinesChanged() {
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

int TMemo::XOf(std::string_view line, std::size_t column) const {
    if (column == 0)
        return 0;
    return fontMetrics().horizontalAdvance(QString::fromUtf8(line.data(), qsizetype(column)));
}

std::size_t TMemo::ColumnAt(std::string_view line, int x) const {
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
    const TTextPos start = SelStart(), end = SelEnd();
    const QColor text = pal.color(QPalette::Text);
    const QColor selectedText = pal.color(QPalette::HighlightedText);
    int widest = widestSeen_;
    for (std::size_t r = 0; r < rows && top + r < count; ++r) {
        const std::size_t i = top + r;
        const std::string_view bytes = lines_.Line(i);
        const QString line = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
        const int y = int(r) * height;
        painter.setPen(text);
        painter.drawText(left, y + ascent, line);
        widest = std::max(widest, metrics.horizontalAdvance(line));
        if (start != end && i >= start.line && i <= end.line) {
            const int from = XOf(bytes, i == start.line ? start.column : 0);
            int to = XOf(bytes, i == end.line ? end.column : bytes.size());
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
        const bool command = key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Copy) ||
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
    MoveTo(PosAt(event->position().toPoint()), true);
}

void TMemo::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
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

void TMemo::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TMemo::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    LinesChanged();
}

void TMemo::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    RestartBlink();
    viewport()->update();
}

void TMemo::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
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
    RestartBlink();
    viewport()->update();
}

template <class Append>
void TMemo::VisitSelection(Append&& append) const {
    const TTextPos start = SelStart(), end = SelEnd();
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
    VisitSelection([&](std::string_view piece) { text.append(piece); });
    return text;
}

void TMemo::CopyToClipboard() {
    TakeUpCount();
    if (!HasSelection())
        return;
    // Selecting everything copies the whole text: size it once.
    std::uint64_t size = 0;
    if (SelStart() == TTextPos{} && SelEnd() == End())
        size = lines_.TextLength();
    QByteArray bytes;
    bytes.reserve(qsizetype(size));
    VisitSelection([&](std::string_view piece) { bytes.append(piece.data(), qsizetype(piece.size())); });
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/plain"), bytes);
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
    const QByteArray bytes = clipboard->ownsClipboard() && data->hasFormat(QStringLiteral("text/plain"))
                                 ? data->data(QStringLiteral("text/plain"))
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
        ReplaceSelection("\n");
    } else if (IsTypedCharacter(key)) {
        std::string bytes;
        AppendUtf8(bytes, key);
        ReplaceSelection(bytes);
    }
}

void TMemo::Backspace() {
    if (HasSelection()) {
        ReplaceSelection({});
        return;
    }
    const TTextPos from = Left(caret_, false);
    if (from == caret_)
        return;
    const bool changed = DeleteRange(from, caret_);
    anchor_ = caret_ = from;
    if (changed)
        Edited();
    else
        MoveTo(from, false);
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
    if (to != caret_ && DeleteRange(caret_, to)) {
        anchor_ = caret_;
        Edited();
    }
}

void TMemo::ReplaceSelection(std::string_view text) {
    if (!Editable())
        return;
    const TTextPos start = SelStart(), end = SelEnd();
    bool changed = start != end && DeleteRange(start, end);
    anchor_ = caret_ = start;
    if (!text.empty()) {
        anchor_ = caret_ = InsertAt(start, text);
        changed = true;
    }
    if (changed)
        Edited();
    else
        MoveTo(caret_, false);
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
    std::size_t breaks = 0;
    ForEachPiece(text, [&](std::string_view) { ++breaks; });
    --breaks;
    if (pos.line >= lines_.Count()) {
        // On the row after the last line: the pieces become new lines; a text that ends with a
        // line break leaves the caret on the row after them.
        std::size_t piece = 0;
        std::size_t lastSize = 0;
        ForEachPiece(text, [&](std::string_view part) {
            if (piece++ < breaks || !part.empty())
                lines_.Add(part);
            lastSize = part.size();
        });
        if (lastSize == 0)
            return End();
        return {lines_.Count() - 1, lastSize};
    }
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

void TMemo::Edited() {
    modified_ = true;
    // A lone empty line with the caret at its start is an empty text (as after deleting
    // everything typed); nothing left gives back the chunks.
    if (lines_.Count() == 1 && lines_.Line(0).empty() && caret_ == TTextPos{} && anchor_ == caret_)
        lines_.Delete(0);
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
