#include "controls/FclEntryFieldWidgets.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "controls/FclController.h"
#include "controls/FclIntlSup.h"
#include "platform/IntlSource.h"
#include "platform/SysColors.h"
#include "support/ScriptedServices.h"

namespace {

// A window with a controller of its own, two real fields ("###.#", 0 to 100) and a button
// that takes no focus, shown and active, with the first field focused.
struct FieldForm : ::testing::Test {
    ScriptedServices services;
    QWidget form;
    TFclController* controller = new TFclController(&form);
    TFclPictureField* first = new TFclPictureField(&form);
    TFclPictureField* second = new TFclPictureField(&form);
    int preEdits = 0;
    int postEdits = 0;

    static void MakeReal(TFclPictureField* f)
    {
        f->SetDataType(TPictureDataType::pftReal);
        f->SetPictureMask("###.#");
        f->SetRangeLo("0");
        f->SetRangeHi("100");
        f->SetValue(5.0);
    }
    void SetUp() override
    {
        SetIntlSettingsOverride(IntlSettings{});
        RecreateFclIntlSup();
        first->setObjectName("first");
        second->setObjectName("second");
        first->setGeometry(10, 10, 100, 21);
        second->setGeometry(10, 40, 100, 21);
        MakeReal(first);
        MakeReal(second);
        controller->SetOnPreEdit([this](QObject*, QWidget*) { ++preEdits; });
        controller->SetOnPostEdit([this](QObject* sender, QWidget*) { postEdits += sender == first; });
        form.resize(200, 120);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        first->setFocus();
        QCoreApplication::sendPostedEvents();
    }
    void TearDown() override
    {
        ClearIntlSettingsOverride();
        RecreateFclIntlSup();
    }
    void Type(QWidget* w, const char* keys) { QTest::keyClicks(w, keys); }
    double ValueOf(TFclPictureField* f)
    {
        double v = -1;
        EXPECT_EQ(f->GetValue(v), 0);
        return v;
    }
};

}  // namespace

TEST_F(FieldForm, LeavingAnInvalidFieldGivesOneBoxAndTheFocusBack)
{
    ASSERT_TRUE(first->hasFocus());
    EXPECT_EQ(preEdits, 1);
    Type(first, "500");
    second->setFocus();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "Value is not within required range");
    EXPECT_EQ(services.boxes[0].type, mtError);
    EXPECT_TRUE(first->hasFocus());
    EXPECT_EQ(first->EditString(), "500.0");  // kept, in the form leaving gives it
    EXPECT_TRUE(first->Modified());
    EXPECT_EQ(preEdits, 1);  // the second field only passed the focus on
    EXPECT_EQ(postEdits, 0);  // the invalid field was not left

    // Corrected, the field lets the focus go.
    first->SelectAll();
    Type(first, "50");
    second->setFocus();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(second->hasFocus());
    EXPECT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(ValueOf(first), 50.0);
    EXPECT_EQ(postEdits, 1);
}

TEST_F(FieldForm, CtrlZRestoresTheEntryTextAndReportsTheChange)
{
    const std::string entered = first->EditString();
    int changes = 0;
    first->OnChange = [&](void*) { ++changes; };
    Type(first, "77");
    ASSERT_NE(first->EditString(), entered);
    const int typedChanges = changes;
    QTest::keyClick(first, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(first->EditString(), entered);
    EXPECT_EQ(changes, typedChanges + 1);
    EXPECT_FALSE(first->Modified());
}

TEST_F(FieldForm, AReadOnlyFieldBeepsOnEveryEdit)
{
    TFclEntryFieldOptions options = first->Options();
    options.Include(efoReadOnly);
    first->SetOptions(options);
    QGuiApplication::clipboard()->setText("12");
    const std::string before = first->EditString();
    QTest::keyClick(first, Qt::Key_Backspace);
    QTest::keyClick(first, Qt::Key_Delete);
    QTest::keyClick(first, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(first, Qt::Key_3);
    EXPECT_EQ(services.beeps, 4);
    EXPECT_EQ(first->EditString(), before);

    first->SelectAll();
    int enabled = 0;
    for (const TFclEntryFieldMenuItem& item : first->ContextMenuItems()) {
        if (item.Action == TFclEntryFieldAction::Separator)
            continue;
        const bool expected = item.Action == TFclEntryFieldAction::Copy;
        EXPECT_EQ(item.Enabled, expected) << item.Caption;
        enabled += item.Enabled;
    }
    EXPECT_EQ(enabled, 1);  // Select All is off while everything is selected
    first->SelectRange(0, 0);
    EXPECT_TRUE(first->ContextMenuItems().back().Enabled);
}

TEST_F(FieldForm, SettingTheTextSelectsAllAndPastes)
{
    first->SetText("42.5");
    EXPECT_EQ(ValueOf(first), 42.5);
    first->SetText("7");
    EXPECT_EQ(ValueOf(first), 7.0);
}

TEST_F(FieldForm, LeavingForAnotherWindowDoesNotValidate)
{
    Type(first, "500");
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(services.boxes.empty());
    QApplication::setActiveWindow(&form);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(first->hasFocus());
    EXPECT_EQ(preEdits, 1);  // the edit goes on: no new pre-edit, no new restore copy
    EXPECT_TRUE(first->Modified());
}

TEST_F(FieldForm, SoftValidationLeavesQuietlyInTheErrorColours)
{
    TFclEntryFieldOptions options = first->Options();
    options.Include(efoSoftValidation);
    first->SetOptions(options);
    Type(first, "500");
    second->setFocus();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_TRUE(second->hasFocus());
    EXPECT_TRUE(first->IsInvalidMarked());
    const QImage image = first->grab().toImage();
    EXPECT_EQ(image.pixel(first->width() - 5, first->height() / 2),
              ToQColor(first->EFColors().Error().BackColor()).rgb());
}

TEST_F(FieldForm, ACommandValidatesTheFocusedFieldFirst)
{
    Type(first, "500");
    // A menu item or a tool button takes no focus: the field still has it.
    EXPECT_FALSE(ValidateFocusedEntryField(&form));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(services.boxes.size(), 1u);
    EXPECT_TRUE(first->hasFocus());

    first->SelectAll();
    Type(first, "12.5");
    EXPECT_TRUE(ValidateFocusedEntryField(&form));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(ValueOf(first), 12.5);
}

TEST_F(FieldForm, TheFocusedFieldShowsItsCaret)
{
    EXPECT_TRUE(first->CaretShown());
    EXPECT_FALSE(second->CaretShown());
    EXPECT_TRUE(first->ClientArea().contains(first->CaretRect().topLeft()));
    second->setFocus();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(first->CaretShown());
    EXPECT_TRUE(second->CaretShown());
}

TEST_F(FieldForm, ARightAlignedFieldTooNarrowForItsTextScrolls)
{
    auto* text = new TFclPictureField(&form);
    text->SetPictureMask(std::string(60, 'X'));
    TFclEntryFieldOptions options = text->Options();
    options.Include(efoRightAlign);
    text->SetOptions(options);
    text->setGeometry(10, 70, 80, 21);
    text->show();
    text->setFocus();
    Type(text, "ab");
    EXPECT_TRUE(text->RightAlignedNow());
    Type(text, "cdefghijklmnopqrstuvwxyz0123456789");
    EXPECT_FALSE(text->RightAlignedNow());
    EXPECT_GT(text->ScrollOffset(), 0);
}

TEST_F(FieldForm, TheClipboardCarriesWindows1252TextBothWays)
{
    auto* text = new TFclPictureField(&form);
    text->setGeometry(10, 70, 150, 21);
    text->show();
    text->SetValue("Gr\xF6\xDF" "e");
    text->setFocus();
    QCoreApplication::sendPostedEvents();
    text->SelectAll();
    QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().trimmed(), QString::fromUtf8("Größe"));

    QGuiApplication::clipboard()->setText(QString::fromUtf8("€5"));
    text->SelectAll();
    QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
    std::string value;
    EXPECT_EQ(text->GetValue(value), 0);
    EXPECT_EQ(value, "\x80" "5");
}

TEST_F(FieldForm, InsertSwitchesToTheOverwriteCaretAndTheModeIsShared)
{
    EXPECT_EQ(first->Carets().Caret(), first->Carets().InsCaret());
    QTest::keyClick(first, Qt::Key_Insert);
    EXPECT_FALSE(first->InsertModeOn());
    EXPECT_EQ(first->Carets().Caret(), first->Carets().OvrCaret());
    EXPECT_EQ(first->Carets().Caret()->Shape(), TFclCaretShape::csBlock);
    second->setFocus();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(second->InsertModeOn());  // through the controller
    EXPECT_FALSE(controller->InsertMode());
}

TEST_F(FieldForm, AClickPlacesTheCaretAtTheNearestCharacterBoundary)
{
    auto* text = new TFclPictureField(&form);
    text->setGeometry(10, 70, 150, 21);
    text->show();
    text->SetValue("abcdef");
    const QFontMetrics fm = text->fontMetrics();
    const int start = text->ClientArea().left() + text->TextMargin() - 1;
    struct Case {
        int x;
        int caret;
    } cases[] = {
        {start + 1, 0},
        {start + fm.horizontalAdvance("ab") + 1, 2},
        {start + fm.horizontalAdvance("abc") - 1, 3},
        {start + fm.horizontalAdvance("abcdef") + 20, 6},
    };
    for (const Case& c : cases) {
        QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(c.x, 10));
        EXPECT_TRUE(text->hasFocus());
        EXPECT_EQ(text->CaretPos(), c.caret) << "at x " << c.x;
    }
}

TEST_F(FieldForm, MovingToASpecialControlOnlyChecksTheValue)
{
    auto* cancel = new QPushButton("Abbrechen", &form);
    cancel->setGeometry(120, 10, 70, 24);
    cancel->show();
    controller->SetOnIsSpecialControl(
        [&](QObject*, QWidget* control, bool& special) { special = control == cancel; });
    Type(first, "500");
    cancel->setFocus();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_TRUE(cancel->hasFocus());
    EXPECT_TRUE(first->Modified());
}

TEST_F(FieldForm, EnteredByTabTheSelectionExtendsFromItsEnd)
{
    // «  5.0» all selected after the Tab: the moving end of a keyboard selection is its end.
    struct Case {
        Qt::Key key;
        int selStart, selEnd, caret;
    } cases[] = {
        {Qt::Key_End, 0, 5, 5},   // the whole text stays selected
        {Qt::Key_Left, 0, 4, 4},  // the selection shrinks by one from its end
        {Qt::Key_Home, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
        first->setFocus();
        QCoreApplication::sendPostedEvents();
        QTest::keyClick(first, Qt::Key_Tab);
        QCoreApplication::sendPostedEvents();
        ASSERT_TRUE(second->hasFocus());
        ASSERT_EQ(second->SelStart(), 0);
        ASSERT_EQ(second->SelEnd(), 5);
        EXPECT_EQ(second->ExtendPosition(), 5);
        QTest::keyClick(second, c.key, Qt::ShiftModifier);
        EXPECT_EQ(second->SelStart(), c.selStart);
        EXPECT_EQ(second->SelEnd(), c.selEnd);
        EXPECT_EQ(second->CaretPos(), c.caret);
    }
}

TEST_F(FieldForm, ADoubleClickSelectsTheValueSoTypingReplacesIt)
{
    second->SetValue(2.0);
    const QPoint middle(second->width() / 2, second->height() / 2);
    QTest::mouseDClick(second, Qt::LeftButton, {}, middle);
    ASSERT_TRUE(second->hasFocus());
    EXPECT_EQ(second->SelStart(), 0);
    EXPECT_EQ(second->SelEnd(), 5);
    Type(second, "7");
    first->setFocus();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ValueOf(second), 7.0);

    // The calculator-style counter selects everything as well.
    auto* counter = new TFclNumericField(&form);
    counter->setGeometry(10, 70, 100, 21);
    counter->show();
    counter->SetValue(std::int32_t{1234});
    QTest::mouseDClick(counter, Qt::LeftButton, {}, QPoint(50, 10));
    ASSERT_TRUE(counter->hasFocus());
    EXPECT_TRUE(counter->HasSelection());
    Type(counter, "9");
    std::int32_t value = 0;
    EXPECT_EQ(counter->GetValue(value), 0);
    EXPECT_EQ(value, 9);
}

TEST_F(FieldForm, APictureFieldsAssignTakesItsLookToo)
{
    first->SetControlCharColor(clBlue);
    first->SetColor(clYellow);
    auto* copy = new TFclPictureField(&form);
    copy->Assign(*first);
    EXPECT_EQ(copy->DataType(), TPictureDataType::pftReal);
    EXPECT_EQ(copy->PictureMaskProperty(), "###.#");
    EXPECT_EQ(copy->RangeHighSlot(), first->RangeHighSlot());
    EXPECT_EQ(copy->ControlCharColor(), clBlue);
    EXPECT_EQ(copy->Color(), clYellow);
}

namespace {

// Alt held while Digits are typed on the keypad, then released; with NumLock, Num Lock is
// pressed before each digit (as a keyboard tool that switches it on for the keypad does).
void AltKeypad(QWidget* w, const char* Digits, bool NumLock = false)
{
    QKeyEvent altDown(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QApplication::sendEvent(w, &altDown);
    for (const char* d = Digits; *d; ++d) {
        if (NumLock) {
            QKeyEvent lock(QEvent::KeyPress, Qt::Key_NumLock, Qt::AltModifier);
            QApplication::sendEvent(w, &lock);
        }
        const int key = Qt::Key_0 + (*d - '0');
        const Qt::KeyboardModifiers mods = Qt::AltModifier | Qt::KeypadModifier;
        QKeyEvent press(QEvent::KeyPress, key, mods, QString(QChar(*d)));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, QString(QChar(*d)));
        QApplication::sendEvent(w, &release);
    }
    QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QApplication::sendEvent(w, &altUp);
}

}  // namespace

TEST_F(FieldForm, AltAndDigitsOnTheKeypadTypeTheCharacterOfTheirCode)
{
    auto* text = new TFclPictureField(&form);
    text->setGeometry(10, 70, 150, 21);
    text->show();
    text->setFocus();
    QCoreApplication::sendPostedEvents();
    AltKeypad(text, "0228");
    AltKeypad(text, "132", true);
    EXPECT_EQ(text->EditString().substr(0, 2), "\xE4\xE4");

    // Another key between the digits drops the entry: the 0 after it starts a new entry of
    // code 0, which types nothing (kept, the entry would be 60, "<").
    QKeyEvent altDown(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QApplication::sendEvent(text, &altDown);
    QKeyEvent digit(QEvent::KeyPress, Qt::Key_6, Qt::AltModifier | Qt::KeypadModifier, "6");
    QApplication::sendEvent(text, &digit);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_Left, Qt::AltModifier);
    QApplication::sendEvent(text, &other);
    QKeyEvent zero(QEvent::KeyPress, Qt::Key_0, Qt::AltModifier | Qt::KeypadModifier, "0");
    QApplication::sendEvent(text, &zero);
    QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QApplication::sendEvent(text, &altUp);
    EXPECT_EQ(text->EditString().substr(0, 3), "\xE4\xE4 ");
}

// A required real field emptied by the user keeps its blank integer part when it is left: the
// editor's zeros in the fraction are no entry, so the field reports it and does not read as 0.
// Without efoInputRequired the same field reads 0, as it always did.
TEST_F(FieldForm, AnEmptiedRequiredRealFieldIsReportedAndDoesNotRead)
{
    for (const bool required : {true, false}) {
        SCOPED_TRACE(required ? "required" : "not required");
        services.boxes.clear();
        TFclEntryFieldOptions options = first->Options();
        if (required)
            options.Include(efoInputRequired);
        else
            options.Exclude(efoInputRequired);
        first->SetOptions(options);
        first->SetUninitialized(false);
        first->SetValue(5.0);
        first->setFocus();
        QCoreApplication::sendPostedEvents();
        first->SelectAll();
        QTest::keyClick(first, Qt::Key_Delete);
        ASSERT_EQ(first->EditString(), "   .0");  // the fraction filled, no digit before it
        second->setFocus();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        double v = -1;
        if (required) {
            ASSERT_EQ(services.boxes.size(), 1u);
            EXPECT_TRUE(first->hasFocus());
            EXPECT_EQ(first->EditString(), "   .0");
            EXPECT_EQ(first->GetValue(v), EfError::Required);
            EXPECT_EQ(v, -1);
            // Mended, the field lets the focus go.
            Type(first, "5");
            second->setFocus();
            QCoreApplication::sendPostedEvents();
            EXPECT_TRUE(second->hasFocus());
            EXPECT_EQ(ValueOf(first), 5.0);
        } else {
            EXPECT_TRUE(services.boxes.empty());
            EXPECT_TRUE(second->hasFocus());
            EXPECT_EQ(first->EditString(), "  0.0");
            EXPECT_EQ(ValueOf(first), 0.0);
        }
    }
}

// In a field that is not of a real type a double click selects the word under the mouse,
// from its first character to its last: the blank before it stays out.
TEST_F(FieldForm, ADoubleClickInATextFieldSelectsTheWordUnderTheMouse)
{
    auto* text = new TFclPictureField(&form);
    text->setGeometry(10, 70, 150, 21);
    text->show();
    text->SetPictureMask("XXXXX");
    text->SetValue("ab cd");
    const QFontMetrics fm = text->fontMetrics();
    const int start = text->ClientArea().left() + text->TextMargin() - 1;
    // The middle of a character.
    auto middleOf = [&](int i) {
        const QString s = QStringLiteral("ab cd");
        return start + (fm.horizontalAdvance(s.left(i)) + fm.horizontalAdvance(s.left(i + 1))) / 2;
    };
    struct Case {
        int character;
        int selStart, selEnd;
    } cases[] = {{4, 3, 5}, {3, 3, 5}, {0, 0, 2}, {1, 0, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "on character " << c.character);
        QTest::mouseDClick(text, Qt::LeftButton, {}, QPoint(middleOf(c.character), 10));
        ASSERT_TRUE(text->hasFocus());
        EXPECT_EQ(text->SelStart(), c.selStart);
        EXPECT_EQ(text->SelEnd(), c.selEnd);
    }
}
