#include "platform/Memo.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

std::string Joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// The text's length in characters (all of them in the Basic Multilingual Plane here).
std::uint64_t Characters(const std::string& text) { return std::uint64_t(QString::fromStdString(text).size()); }

Lines LinesOf(const TMemo& memo) {
    Lines lines;
    for (std::size_t i = 0; i < memo.Lines().Count(); ++i)
        lines.emplace_back(memo.Lines().Line(i));
    return lines;
}

void Key(TMemo& memo, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1) {
    for (int i = 0; i < times; ++i)
        QTest::keyClick(&memo, key, modifiers);
}

// Typed characters; QTest takes ASCII only, others come as the key event a keyboard layout sends.
void Type(TMemo& memo, const char* text) {
    for (const QChar c : QString::fromUtf8(text)) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(&memo, char(c.unicode()));
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&memo, &press);
        }
    }
}

// The program's capitals while typing: ASCII letters only.
void Capitals(char32_t& key) {
    if (key >= 'a' && key <= 'z')
        key = key - 'a' + 'A';
}

class MemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        memo.resize(320, 200);
        for (const std::string& line : start)
            memo.Lines().Add(line);
        memo.show();
    }
    // The centre of the character cell in front of column in line (relative to the viewport).
    QPoint PointOf(std::size_t line, std::size_t column) const {
        const QFontMetrics fm = memo.fontMetrics();
        const std::string text = memo.Lines().Get(line);
        const int x = 2 + fm.horizontalAdvance(QString::fromUtf8(text.substr(0, column)));
        return {x, int(line - memo.TopLine()) * fm.lineSpacing() + fm.lineSpacing() / 2};
    }
    void Drag(QPoint from, QPoint to) {
        QWidget* view = memo.viewport();
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
    }

    const Lines start = {"G00 X0", "G01 Y5", "M30"};
    TMemo memo;
};

// Every case starts from the three lines above and the caret at its position; the text, line
// count, length and Modified flag are checked after the keys.
TEST_F(MemoTest, EditingCommands) {
    struct Case {
        const char* name;
        TMemo::TTextPos caret;
        std::function<void(TMemo&)> keys;
        Lines expected;
        bool modified;
        TMemo::TTextPos caretAfter;
    } cases[] = {
        {"typing inserts at the caret", {1, 3}, [](TMemo& m) { Type(m, "x1"); },
         {"G00 X0", "G01x1 Y5", "M30"}, true, {1, 5}},
        {"the key hook makes capitals", {0, 0}, [](TMemo& m) { m.OnKeyPress = Capitals; Type(m, "n10 ä;"); },
         {"N10 ä;G00 X0", "G01 Y5", "M30"}, true, {0, 7}},
        {"a key set to 0 is dropped", {0, 0}, [](TMemo& m) { m.OnKeyPress = [](char32_t& k) { k = 0; }; Type(m, "ab");
                                                             Key(m, Qt::Key_Return); Key(m, Qt::Key_Backspace); },
         {"G00 X0", "G01 Y5", "M30"}, false, {0, 0}},
        {"Backspace deletes before the caret", {0, 3}, [](TMemo& m) { Key(m, Qt::Key_Backspace, {}, 2); },
         {"G X0", "G01 Y5", "M30"}, true, {0, 1}},
        {"Backspace at a line start joins the lines", {1, 0}, [](TMemo& m) { Key(m, Qt::Key_Backspace); },
         {"G00 X0G01 Y5", "M30"}, true, {0, 6}},
        {"Backspace at the very start changes nothing", {0, 0}, [](TMemo& m) { Key(m, Qt::Key_Backspace); },
         {"G00 X0", "G01 Y5", "M30"}, false, {0, 0}},
        {"Backspace removes a whole umlaut", {2, 3}, [](TMemo& m) { Type(m, "ü"); Key(m, Qt::Key_Backspace); },
         {"G00 X0", "G01 Y5", "M30"}, true, {2, 3}},
        {"Del deletes after the caret", {0, 0}, [](TMemo& m) { Key(m, Qt::Key_Delete); },
         {"00 X0", "G01 Y5", "M30"}, true, {0, 0}},
        {"Del at a line end joins the next line", {0, 6}, [](TMemo& m) { Key(m, Qt::Key_Delete); },
         {"G00 X0G01 Y5", "M30"}, true, {0, 6}},
        {"Del on the last line's end changes nothing", {2, 3}, [](TMemo& m) { Key(m, Qt::Key_Delete); },
         {"G00 X0", "G01 Y5", "M30"}, false, {2, 3}},
        {"Enter splits the line", {1, 3}, [](TMemo& m) { Key(m, Qt::Key_Return); },
         {"G00 X0", "G01", " Y5", "M30"}, true, {2, 0}},
        {"Enter at a line start opens a line above", {0, 0}, [](TMemo& m) { Key(m, Qt::Key_Enter); },
         {"", "G00 X0", "G01 Y5", "M30"}, true, {1, 0}},
        {"Ctrl+End goes past the last line; typing there adds a line", {0, 2},
         [](TMemo& m) { Key(m, Qt::Key_End, Qt::ControlModifier); Type(m, "M2"); },
         {"G00 X0", "G01 Y5", "M30", "M2"}, true, {3, 2}},
        {"Enter past the last line adds an empty line", {0, 2},
         [](TMemo& m) { Key(m, Qt::Key_End, Qt::ControlModifier); Key(m, Qt::Key_Return); },
         {"G00 X0", "G01 Y5", "M30", ""}, true, {4, 0}},
        {"Backspace past the last line only moves to its end", {0, 0},
         [](TMemo& m) { Key(m, Qt::Key_End, Qt::ControlModifier); Key(m, Qt::Key_Backspace); },
         {"G00 X0", "G01 Y5", "M30"}, false, {2, 3}},
        {"Home, End and Ctrl+Home", {1, 3},
         [](TMemo& m) { Key(m, Qt::Key_End); Type(m, "!"); Key(m, Qt::Key_Home); Type(m, "N"); Key(m, Qt::Key_Home, Qt::ControlModifier); Type(m, "%"); },
         {"%G00 X0", "NG01 Y5!", "M30"}, true, {0, 1}},
        {"arrows move over characters and line ends", {0, 5},
         [](TMemo& m) { Key(m, Qt::Key_Right, {}, 2); Type(m, "a"); Key(m, Qt::Key_Left, {}, 3); Type(m, "b"); },
         {"G00 Xb0", "aG01 Y5", "M30"}, true, {0, 6}},
        {"Ctrl+arrows move by words", {1, 0},
         [](TMemo& m) { Key(m, Qt::Key_Right, Qt::ControlModifier); Type(m, "#"); Key(m, Qt::Key_Left, Qt::ControlModifier, 2); Type(m, "$"); },
         {"G00 X0", "$G01 #Y5", "M30"}, true, {1, 1}},
        {"Up and Down keep the column", {1, 4},
         [](TMemo& m) { Key(m, Qt::Key_Up); Type(m, "u"); Key(m, Qt::Key_Down, {}, 2); Type(m, "d"); },
         {"G00 uX0", "G01 Y5", "M30d"}, true, {2, 4}},
        {"Shift+Right selects, typing replaces", {1, 0},
         [](TMemo& m) { Key(m, Qt::Key_Right, Qt::ShiftModifier, 3); Type(m, "G1"); },
         {"G00 X0", "G1 Y5", "M30"}, true, {1, 2}},
        {"Shift+Down and Del join across lines", {0, 2},
         [](TMemo& m) { Key(m, Qt::Key_Down, Qt::ShiftModifier); Key(m, Qt::Key_Delete); },
         {"G01 Y5", "M30"}, true, {0, 2}},
        {"Shift+Ctrl+End and Backspace cut off the rest", {1, 3},
         [](TMemo& m) { Key(m, Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier); Key(m, Qt::Key_Backspace); },
         {"G00 X0", "G01"}, true, {1, 3}},
        {"Ctrl+A and Del empty the editor", {1, 3},
         [](TMemo& m) { Key(m, Qt::Key_A, Qt::ControlModifier); Key(m, Qt::Key_Delete); },
         {}, true, {0, 0}},
        {"Ctrl+A and typing replace everything", {1, 3},
         [](TMemo& m) { Key(m, Qt::Key_A, Qt::ControlModifier); Type(m, "m30"); },
         {"m30"}, true, {0, 3}},
        {"Ctrl+Z takes back a typed run", {1, 3},
         [](TMemo& m) { Type(m, "x1"); Key(m, Qt::Key_Return); Type(m, "y"); Key(m, Qt::Key_Z, Qt::ControlModifier); },
         {"G00 X0", "G01 Y5", "M30"}, true, {1, 3}},
        {"Ctrl+Z twice puts the run back", {1, 3},
         [](TMemo& m) { Type(m, "x1"); Key(m, Qt::Key_Z, Qt::ControlModifier, 2); },
         {"G00 X0", "G01x1 Y5", "M30"}, true, {1, 5}},
        {"Ctrl+Z after a move takes back the last run only", {1, 3},
         [](TMemo& m) { Type(m, "x"); Key(m, Qt::Key_Right); Type(m, "y"); Key(m, Qt::Key_Z, Qt::ControlModifier); },
         {"G00 X0", "G01x Y5", "M30"}, true, {1, 5}},
        {"Ctrl+Z after Backspace over a line start", {1, 2},
         [](TMemo& m) { Key(m, Qt::Key_Backspace, {}, 4); Key(m, Qt::Key_Z, Qt::ControlModifier); },
         {"G00 X0", "G01 Y5", "M30"}, true, {1, 2}},
        {"Ctrl+Z after Del", {0, 4},
         [](TMemo& m) { Key(m, Qt::Key_Delete, {}, 3); Key(m, Qt::Key_Z, Qt::ControlModifier); },
         {"G00 X0", "G01 Y5", "M30"}, true, {1, 0}},
        {"Ctrl+Z after emptying the editor", {1, 3},
         [](TMemo& m) { Key(m, Qt::Key_A, Qt::ControlModifier); Key(m, Qt::Key_Delete); Key(m, Qt::Key_Z, Qt::ControlModifier); },
         {"G00 X0", "G01 Y5", "M30"}, true, {3, 0}},
        {"Ctrl+Z after a line typed past the end, and again", {0, 0},
         [](TMemo& m) { Key(m, Qt::Key_End, Qt::ControlModifier); Type(m, "M2"); Key(m, Qt::Key_Z, Qt::ControlModifier);
                        EXPECT_EQ(m.Lines().Count(), 3u); Key(m, Qt::Key_Z, Qt::ControlModifier); },
         {"G00 X0", "G01 Y5", "M30", "M2"}, true, {3, 2}},
        {"Ctrl+Z after cutting the end of the last line off", {2, 1},
         [](TMemo& m) { Key(m, Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier); Key(m, Qt::Key_Delete); Key(m, Qt::Key_Z, Qt::ControlModifier); },
         {"G00 X0", "G01 Y5", "M30"}, true, {2, 3}},
        {"read-only: keys move but do not edit", {0, 0},
         [](TMemo& m) { m.SetReadOnly(true); Type(m, "x"); Key(m, Qt::Key_Delete); Key(m, Qt::Key_Down);
                        Key(m, Qt::Key_Return); Key(m, Qt::Key_A, Qt::ControlModifier); Key(m, Qt::Key_X, Qt::ControlModifier); },
         {"G00 X0", "G01 Y5", "M30"}, false, {3, 0}},
        {"disabled: no key reaches the text", {0, 0},
         [](TMemo& m) { m.setEnabled(false); Type(m, "x"); Key(m, Qt::Key_Backspace); },
         {"G00 X0", "G01 Y5", "M30"}, false, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        memo.Clear();
        memo.SetReadOnly(false);
        memo.setEnabled(true);
        memo.OnKeyPress = nullptr;
        for (const std::string& line : start)
            memo.Lines().Add(line);
        memo.LinesChanged();
        memo.SetModified(false);
        memo.SetCaretPos(c.caret);
        c.keys(memo);
        EXPECT_EQ(LinesOf(memo), c.expected);
        EXPECT_EQ(memo.Lines().Count(), c.expected.size());
        EXPECT_EQ(memo.GetTextLen(), Characters(Joined(c.expected)));
        EXPECT_EQ(memo.Lines().Text(), Joined(c.expected));
        EXPECT_EQ(memo.Modified(), c.modified);
        EXPECT_EQ(memo.CaretPos(), c.caretAfter);
    }
}

// Random edits at random places, each undone and redone: Ctrl+Z gives back the text from
// before the edit (or the run of typing, Backspace or Del), and again the text after it.
TEST_F(MemoTest, EveryEditIsUndoneAndRedoneExactly) {
    std::mt19937 random(20261210);
    const auto pick = [&](std::size_t n) { return std::size_t(random() % n); };
    const char* pastes[] = {"Z", "a\r\nb", "\r\n", "x\ny\rz\r\n", "ä\r\n\r\nö", "\r"};
    int undone = 0;
    for (int step = 0; step < 3000; ++step) {
        if (memo.Lines().Count() == 0 || memo.Lines().Count() > 40) {
            memo.Clear();
            for (const std::string& line : start)
                memo.Lines().Add(line);
            memo.Lines().Add("");
            memo.Lines().Add("Ü1");
            memo.LinesChanged();
        }
        const std::size_t line = pick(memo.Lines().Count() + 1);
        const std::size_t length = line < memo.Lines().Count() ? memo.Lines().Line(line).size() : 0;
        memo.SetCaretPos({line, pick(length + 1)});
        switch (pick(6)) {
        case 0: Key(memo, Qt::Key_Right, Qt::ShiftModifier, int(pick(8))); break;
        case 1: Key(memo, Qt::Key_Down, Qt::ShiftModifier); break;
        case 2: Key(memo, Qt::Key_Left, Qt::ShiftModifier, int(pick(4))); break;
        case 3: if (pick(10) == 0) Key(memo, Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier); break;
        default: break;
        }
        const std::string before = memo.Lines().Text();
        const std::size_t what = pick(7);
        // Typing, Backspace and Del repeated in place are one step for Undo (until a key only
        // moves the caret, as Backspace on the row after the last line does).
        const int times = what <= 4 && !memo.HasSelection() && pick(3) == 0 ? 3 : 1;
        for (int t = 0; t < times; ++t) {
            const std::string now = memo.Lines().Text();
            switch (what) {
            case 0: Type(memo, "q"); break;
            case 1: Type(memo, "ß"); break;
            case 2: Key(memo, Qt::Key_Return); break;
            case 3: Key(memo, Qt::Key_Backspace); break;
            case 4: Key(memo, Qt::Key_Delete); break;
            case 5:
                QGuiApplication::clipboard()->setText(QString::fromUtf8(pastes[pick(std::size(pastes))]));
                Key(memo, Qt::Key_V, Qt::ControlModifier);
                break;
            default: Key(memo, Qt::Key_X, Qt::ControlModifier); break;
            }
            if (memo.Lines().Text() == now)
                break;
        }
        const std::string after = memo.Lines().Text();
        ASSERT_EQ(memo.GetTextLen(), Characters(after));
        ASSERT_LE(memo.CaretPos().line, memo.Lines().Count());
        if (after == before)
            continue;
        Key(memo, Qt::Key_Z, Qt::ControlModifier);
        ASSERT_EQ(memo.Lines().Text(), before) << "step " << step << ", edit " << what;
        Key(memo, Qt::Key_Z, Qt::ControlModifier);
        ASSERT_EQ(memo.Lines().Text(), after) << "step " << step << ", edit " << what;
        ++undone;
    }
    EXPECT_GT(undone, 2000);
}

TEST_F(MemoTest, TypingIntoAnEmptyEditor) {
    memo.Clear();
    Type(memo, "g0");
    EXPECT_EQ(LinesOf(memo), (Lines{"g0"}));
    Key(memo, Qt::Key_Return);
    Type(memo, "m30");
    EXPECT_EQ(LinesOf(memo), (Lines{"g0", "m30"}));
    EXPECT_EQ(memo.GetTextLen(), 9u);
    Key(memo, Qt::Key_Backspace, {}, 6);
    EXPECT_EQ(memo.Lines().Count(), 0u);
    EXPECT_EQ(memo.GetTextLen(), 0u);
    EXPECT_TRUE(memo.Modified());
}

TEST_F(MemoTest, MouseDragSelectsAndCopyCutPaste) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    Drag(PointOf(0, 4), PointOf(1, 3));
    EXPECT_EQ(memo.SelStart(), (TMemo::TTextPos{0, 4}));
    EXPECT_EQ(memo.SelEnd(), (TMemo::TTextPos{1, 3}));
    EXPECT_EQ(memo.SelText(), "X0\r\nG01");
    Key(memo, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text().toStdString(), "X0\r\nG01");
    EXPECT_FALSE(memo.Modified());

    Key(memo, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(LinesOf(memo), (Lines{"G00  Y5", "M30"}));
    EXPECT_EQ(memo.GetTextLen(), 14u);
    EXPECT_TRUE(memo.Modified());
    EXPECT_FALSE(memo.HasSelection());

    // Text from elsewhere with any line ends, pasted inside a line.
    clipboard->setText(QStringLiteral("A\nB\r\nC\rD"));
    memo.SetCaretPos({1, 1});
    Key(memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(LinesOf(memo), (Lines{"G00  Y5", "MA", "B", "C", "D30"}));
    EXPECT_EQ(memo.CaretPos(), (TMemo::TTextPos{4, 1}));
    Key(memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(LinesOf(memo), (Lines{"G00  Y5", "M30"}));
    EXPECT_EQ(memo.SelText(), "");
    Key(memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(memo.SelText(), "A\r\nB\r\nC\r\nD");

    // Ctrl+A, Ctrl+C: the whole text as a program file holds it; pasted into an empty editor
    // it gives the same lines.
    Key(memo, Qt::Key_A, Qt::ControlModifier);
    Key(memo, Qt::Key_C, Qt::ControlModifier);
    const std::string whole = memo.Lines().Text();
    EXPECT_EQ(clipboard->text().toStdString(), whole);
    const Lines before = LinesOf(memo);
    memo.Clear();
    Key(memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(LinesOf(memo), before);
    EXPECT_EQ(memo.CaretPos(), (TMemo::TTextPos{5, 0}));
    // The same text pasted in the middle of a line keeps the line's tail after it.
    memo.SetCaretPos({0, 3});
    memo.PasteFromClipboard();
    EXPECT_EQ(LinesOf(memo), (Lines{"G00G00  Y5", "MA", "B", "C", "D30", "  Y5", "MA", "B", "C", "D30"}));
}

TEST_F(MemoTest, KeyboardSelections) {
    memo.SetCaretPos({1, 2});
    Key(memo, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(memo.SelText(), "1 Y5");
    Key(memo, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(memo.SelText(), "G0");
    Key(memo, Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(memo.SelText(), "1 Y5\r\nM30\r\n");
    Key(memo, Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(memo.SelText(), "G00 X0\r\nG0");
    Key(memo, Qt::Key_Right);
    EXPECT_FALSE(memo.HasSelection());

    // A double click takes the word under the mouse.
    QTest::mouseDClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, PointOf(1, 1));
    EXPECT_EQ(memo.SelText(), "G01");
    memo.SelectAll();
    EXPECT_EQ(memo.SelText(), memo.Lines().Text());
    memo.CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "G00 X0\r\nG01 Y5\r\nM30\r\n");
}

// Changes through Lines() are the program's own: they never mark the text modified, and the
// view takes up a new line count when it is shown or told.
TEST_F(MemoTest, ProgrammaticChangesAndTheModifiedFlag) {
    memo.hide();
    memo.Clear();
    for (int i = 0; i < 1000; ++i)
        memo.Lines().Add("G01 X" + std::to_string(i));
    EXPECT_FALSE(memo.Modified());
    memo.show();
    EXPECT_EQ(memo.verticalScrollBar()->maximum(), int(1001 - memo.VisibleLines()));
    memo.Lines().Add("M30");
    memo.LinesChanged();
    EXPECT_EQ(memo.verticalScrollBar()->maximum(), int(1002 - memo.VisibleLines()));
    memo.SetModified(true);
    memo.Clear();
    EXPECT_TRUE(memo.Modified());
    EXPECT_EQ(memo.Lines().Count(), 0u);
    // A caret left behind a shrunken text is kept inside it.
    memo.Lines().Add("G00 X0");
    memo.SetCaretPos({0, 6});
    memo.Lines().Put(0, "G0");
    Type(memo, "1");
    EXPECT_EQ(memo.Lines().Get(0), "G01");
}

// The mouse wheel scrolls the view; painting draws the selected text in the highlight colour.
TEST_F(MemoTest, WheelScrollsAndPaintShowsTheSelection) {
    for (int i = 0; i < 100; ++i)
        memo.Lines().Add("G01 X" + std::to_string(i));
    memo.LinesChanged();
    QWidget* view = memo.viewport();
    const QPoint at(20, 20);
    QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    EXPECT_EQ(memo.TopLine(), std::size_t(QApplication::wheelScrollLines()));

    memo.SetCaretPos({0, 0});
    memo.SelectAll();
    const QImage image = memo.viewport()->grab().toImage();
    const QColor highlight = memo.palette().color(QPalette::Highlight);
    int highlighted = 0;
    for (int x = 0; x < image.width(); ++x)
        highlighted += image.pixelColor(x, image.height() / 2) == highlight;
    EXPECT_GT(highlighted, 10);
}

// Holding the mouse below the view while selecting keeps scrolling and extending the selection.
TEST_F(MemoTest, DragBelowTheViewScrolls) {
    for (int i = 0; i < 200; ++i)
        memo.Lines().Add("G01 X" + std::to_string(i));
    memo.LinesChanged();
    QWidget* view = memo.viewport();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, PointOf(0, 1));
    const QPoint below(20, view->height() + 5);
    QMouseEvent move(QEvent::MouseMove, below, view->mapToGlobal(below), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    // The scroll timer is driven here, tick by tick, instead of waiting for it.
    auto* timer = memo.findChild<QTimer*>(QStringLiteral("dragScroll"));
    ASSERT_NE(timer, nullptr);
    ASSERT_TRUE(timer->isActive());
    auto tick = [&] { ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection)); };
    std::size_t top = memo.TopLine();
    for (int i = 0; i < 5; ++i) {
        tick();
        EXPECT_GT(memo.TopLine(), top) << "tick " << i;  // every tick scrolls on
        top = memo.TopLine();
        EXPECT_EQ(memo.SelStart(), (TMemo::TTextPos{0, 1}));
        EXPECT_GE(memo.SelEnd().line, memo.TopLine() + memo.VisibleLines() - 1);
    }
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, below);
    EXPECT_FALSE(timer->isActive());
    const std::size_t stopped = memo.TopLine();
    tick();  // a tick already queued when the button came up
    EXPECT_EQ(memo.TopLine(), stopped);
    EXPECT_FALSE(timer->isActive());
}

// A line of a megabyte (a file without line breaks) is painted in part and edited whole.
TEST_F(MemoTest, VeryLongLineIsEditedWhole) {
    std::string line(1 << 20, 'x');
    memo.Lines().Put(1, line);
    memo.LinesChanged();
    memo.SetCaretPos({1, 0});
    Key(memo, Qt::Key_End);
    EXPECT_EQ(memo.CaretPos(), (TMemo::TTextPos{1, line.size()}));
    EXPECT_GT(memo.horizontalScrollBar()->value(), 0);  // the view follows the caret sideways
    Type(memo, "!");
    EXPECT_FALSE(memo.viewport()->grab().isNull());
    EXPECT_EQ(memo.Lines().Line(1).size(), line.size() + 1);
    EXPECT_EQ(memo.Lines().Line(1).back(), '!');
    Key(memo, Qt::Key_Home);
    EXPECT_EQ(memo.horizontalScrollBar()->value(), 0);
    Key(memo, Qt::Key_Delete);
    EXPECT_EQ(memo.Lines().Line(1).size(), line.size());
}

// A program of 36 million lines is shown, scrolled to its end, and edited in the middle and
// at the end without a pass over the text.
TEST(MemoBigProgram, ShownScrolledAndEdited) {
    TMemo memo;
    memo.resize(400, 300);
    const std::size_t n = 36000000;
    for (std::size_t i = 0; i < n; ++i)
        memo.Lines().Add(i % 10 == 0 ? "G0" : "X1");
    memo.show();
    EXPECT_EQ(memo.verticalScrollBar()->maximum(), int(n + 1 - memo.VisibleLines()));
    Key(memo, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(memo.TopLine(), n + 1 - memo.VisibleLines());
    EXPECT_EQ(memo.CaretPos(), (TMemo::TTextPos{n, 0}));
    EXPECT_FALSE(memo.viewport()->grab().isNull());
    Type(memo, "M30");
    EXPECT_EQ(memo.Lines().Count(), n + 1);
    EXPECT_EQ(memo.Lines().Get(n), "M30");

    memo.SetCaretPos({n / 2, 1});
    EXPECT_LE(memo.TopLine(), n / 2);
    EXPECT_GT(memo.TopLine() + memo.VisibleLines(), n / 2);
    Key(memo, Qt::Key_Return);
    EXPECT_EQ(memo.Lines().Count(), n + 2);
    EXPECT_EQ(memo.Lines().Get(n / 2), "G");
    EXPECT_EQ(memo.Lines().Get(n / 2 + 1), "0");
    EXPECT_EQ(memo.Lines().Get(n / 2 + 2), "X1");
    Key(memo, Qt::Key_Backspace);
    EXPECT_EQ(memo.Lines().Get(n / 2), "G0");
    EXPECT_EQ(memo.Lines().Count(), n + 1);
    EXPECT_EQ(memo.GetTextLen(), 4 * std::uint64_t(n) + 5);
}

}  // namespace
