#pragma once
// The multi-line text editor of the windows (a program listing of any size).
// Its lines live in its own line store, Lines(), which is the truth of the text: the view
// paints only the lines in sight, straight from the store, so showing or scrolling a text of
// tens of millions of lines costs the same as a short one. Code that changes Lines() directly
// (a run appends millions of lines while the editor is hidden) sends no notification per
// line: the view takes up the line count when it is shown or painted, or when told with
// LinesChanged().
//
// Positions are (line, column) with the column a byte offset into the line's UTF-8 text, at
// the start of a character. Every line is followed by a line break, as in a program file, so
// the editor ends with an empty row after the last line (line Count(), column 0): typing there
// appends a line, and a selection up to it takes the last line break with it. The text has no
// word wrap; the view scrolls sideways.
// Only the first 16 KiB of a line are measured and painted (a file without line breaks
// must not stall every paint); the rest of such a line is kept and edited all the same.
// Modified is set by edits through the editor (typing, deleting, cut, paste, also when the
// owner calls CutToClipboard, PasteFromClipboard or InsertText), never by changes made
// through Lines() or Clear(); the owner may set it either way. A read-only or disabled
// editor takes no edits; it still scrolls, and a read-only one selects and copies.
// Scrolling reaches the first 2^31 lines.
#include "platform/LineStore.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QTimer>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class TMemo : public QAbstractScrollArea {
    Q_OBJECT

public:
    struct TTextPos {
        std::size_t line = 0;
        std::size_t column = 0;
        auto operator<=>(const TTextPos&) const = default;
    };

    explicit TMemo(QWidget* parent = nullptr);
    ~TMemo() override;

    TStrings& Lines() { return lines_; }
    const TStrings& Lines() const { return lines_; }
    // Takes up changes made through Lines(): line count, scroll range, caret kept in the text.
    void LinesChanged();

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    // Called for every typed character before it goes into the text, also for Backspace (8)
    // and Enter (13); the handler may change the character, and 0 drops it.
    std::function<void(char32_t& key)> OnKeyPress;

    // Text length in characters as the store counts it (every line followed by CR LF).
    std::uint64_t GetTextLen() const { return lines_.TextLength(); }

    // Empties the text (a programmatic change: Modified stays as it is).
    void Clear();
    void SelectAll();
    bool HasSelection() const { return anchor_ != caret_; }
    // The selected text with CR LF between lines.
    std::string SelText() const;
    // The selection to the clipboard, lines separated by CR LF (after SelectAll: the whole
    // text, every line ended by CR LF as in a program file).
    void CopyToClipboard();
    void CutToClipboard();
    // Replaces the selection with the clipboard's text (any of CR LF, LF, CR between lines).
    void PasteFromClipboard();
    // Replaces the selection with text (which may hold line breaks), as typing would.
    void InsertText(std::string_view text);
    // One step back, as the system's text fields do: the last edit (a run of typing, Backspace
    // or Del in place counts as one; any caret move ends the run) is put back and selected,
    // and undoing again redoes it. Changes through
    // Lines() and removals of more than 64 MiB cannot be undone.
    void Undo();
    bool CanUndo() const { return undo_.valid && Editable(); }

    TTextPos CaretPos() const { return caret_; }
    // Moves the caret there and drops the selection; the view scrolls to show it.
    void SetCaretPos(TTextPos pos);
    TTextPos SelStart() const { return std::min(anchor_, caret_); }
    TTextPos SelEnd() const { return std::max(anchor_, caret_); }
    // The first line in sight.
    std::size_t TopLine() const;
    // Lines that fit the view in full (at least one).
    std::size_t VisibleLines() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // The rows of the view: every line and the empty row after the last line break.
    std::size_t Rows() const { return lines_.Count() + 1; }
    TTextPos End() const { return {lines_.Count(), 0}; }
    std::string_view LineAt(std::size_t line) const {
        return line < lines_.Count() ? lines_.Line(line) : std::string_view();
    }
    int LineHeight() const;
    void TakeUpCount();
    void UpdateScrollBars();
    TTextPos Clamped(TTextPos pos) const;
    void KeepPositionsInText();
    // Pixel x of a column from the line's left edge, and the nearest column to a pixel x.
    static std::string_view Shown(std::string_view line);
    int XOf(std::string_view line, std::size_t column) const;
    std::size_t ColumnAt(std::string_view line, int x) const;
    TTextPos PosAt(QPoint point) const;
    TTextPos Left(TTextPos pos, bool word) const;
    TTextPos Right(TTextPos pos, bool word) const;
    TTextPos Vertical(TTextPos pos, std::ptrdiff_t lines);
    void MoveTo(TTextPos pos, bool extend, bool keepX = false);
    void EnsureCaretVisible();
    void RestartBlink();
    // Edits: each replaces the selection, marks Modified and shows the caret.
    bool Editable() const { return !readOnly_ && isEnabled(); }
    enum class EditKind { kOther, kTyping, kBackspace, kDelete };
    void ReplaceSelection(std::string_view text, EditKind kind = EditKind::kOther);
    void Replace(TTextPos from, TTextPos to, std::string_view text, EditKind kind);
    bool DeleteRange(TTextPos from, TTextPos to);
    TTextPos InsertAt(TTextPos pos, std::string_view text);
    std::optional<std::string> RemovedText(TTextPos from, TTextPos to) const;
    void Record(TTextPos from, TTextPos to, TTextPos after, std::optional<std::string> removed, bool atEnd,
                EditKind kind);
    template <class Append>
    void VisitRange(TTextPos start, TTextPos end, Append&& append) const;
    void Edited(bool settle = true);
    void TypeKey(char32_t key);
    void Backspace();
    void DeleteForward();

    TStrings lines_;
    std::size_t knownCount_ = 0;  // the line count the scroll bars were last set for
    TTextPos anchor_, caret_;
    int desiredX_ = -1;  // pixel x kept while moving up and down
    int widestSeen_ = 0;  // widest line painted so far: the sideways scroll range
    bool modified_ = false;
    bool readOnly_ = false;
    bool caretOn_ = false;
    bool dragging_ = false;
    QPoint dragPoint_;         // the mouse while a drag selects
    QBasicTimer blink_;
    // Scrolls while the mouse is held outside the view: a child timer named "dragScroll".
    QTimer* dragScroll_ = nullptr;
    // The inverse of the last edit: the text from start to end is replaced by removed.
    struct TEdit {
        TTextPos start, end;
        std::string removed;
        bool atEnd = false;  // the edit began on the row after the last line
        bool valid = false;
    };
    TEdit undo_;
    EditKind lastKind_ = EditKind::kOther;
};
