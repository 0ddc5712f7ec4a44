// An invalid entry in a number field of any of the program's windows, as a user makes it: a
// value typed and the focus moved to another control of the window. Each window reports it in
// German with the field's caption and the values the field takes, and gives the field the
// focus back.
#include "platform/IntlSource.h"
#include "controls/FclFieldValues.h"
#include "controls/FclIntlSup.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <functional>

namespace {

class FieldErrorsInEveryWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        IntlSettings s;  // a German desktop: the fields take "," as decimal character
        s.sDecimal = ",";
        s.sThousand = ".";
        SetIntlSettingsOverride(s);
        RecreateFclIntlSup();
        ASSERT_TRUE(StartShownWithShippedFiles());
        Main.WorkBitmap = TBitmap(16, 12);  // the angle dialog draws its preview
    }
    void TearDown() override {
        WindowTest::TearDown();
        ClearIntlSettingsOverride();
        RecreateFclIntlSup();
    }

    // Opens the window as the main window does and runs check while it is shown.
    void Open(const std::string& window, const std::function<void(QWidget&)>& check) {
        form1->SetShowModal([&](QDialog& d) {
            d.show();
            check(d);
            d.close();
        });
        form1->RunAngleDialog = [&](TForm2& d) {
            d.show();
            check(d);
            d.reject();
            return 0;
        };
        if (window == "form1") {
            check(*form1);
        } else if (window == "Form2") {
            form1->SelectStrategy(18);  // the n-gons ask for the corner count
        } else if (window == "Form3") {
            form1->Memo1->Lines().Add("%");
            form1->Memo1->Lines().Add("(SEL=00,O,0,0,100,100,10,2,1,0,0)");
            form1->simulierenClick();
        } else if (window == "form_paint") {
            form1->text_bearbeitenClick();
        }
    }
};

// The tab of a page control that holds the widget comes to the front.
void ShowItsTab(QWidget* w) {
    for (QWidget* page = w; page && page->parentWidget(); page = page->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(page->parentWidget()->parentWidget())) {
            if (tabs->indexOf(page) >= 0) tabs->setCurrentWidget(page);
        }
    }
}

TEST_F(FieldErrorsInEveryWindow, AnOutOfRangeEntryNamesTheFieldAndTheValuesItTakes) {
    const struct Case {
        const char* window;
        const char* field;
        const char* next;  // a control of the same window
        const char* typed;
        const char* expected;
    } cases[] = {
        {"form1", "wst_d", "stepX", "-5",
         "Der Wert im Feld „Dicke (mm)“ liegt nicht im erlaubten Bereich. Bitte eine Zahl ab 0 eingeben."},
        // A whole-number field.
        {"Form2", "ecken", "BitBtn2", "2",
         "Der Wert im Feld „Ecken“ liegt nicht im erlaubten Bereich. Bitte eine Zahl von 3 bis 99 eingeben."},
        // A field without an upper limit.
        {"Form3", "simulation_radius", "spitzenwinkel", "-5",
         "Der Wert im Feld „Werkzeugradius (mm)“ liegt nicht im erlaubten Bereich. Bitte eine Zahl ab 0 "
         "eingeben."},
        // The caption the editor takes over from the main window; a fraction with the desktop's
        // decimal character.
        {"form_paint", "wst_laenge", "Wst_breite", "0",
         "Der Wert im Feld „Länge X (mm)“ liegt nicht im erlaubten Bereich. Bitte eine Zahl von 0,1 bis 9999 "
         "eingeben."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        bool checked = false;
        Open(c.window, [&](QWidget& window) {
            auto* field = window.findChild<TFclPictureField*>(QString::fromLatin1(c.field));
            auto* next = window.findChild<QWidget*>(QString::fromLatin1(c.next));
            ASSERT_NE(field, nullptr);
            ASSERT_NE(next, nullptr);
            ShowItsTab(field);
            QApplication::setActiveWindow(&window);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
            ASSERT_TRUE(field->isVisible());
            field->setFocus();
            field->SelectAllText();
            QTest::keyClicks(field, c.typed);
            services.boxes.clear();
            next->setFocus();
            QApplication::processEvents();  // the field takes the focus back and reports
            ASSERT_EQ(services.boxes.size(), 1u);
            EXPECT_EQ(services.boxes[0].type, mtError);
            EXPECT_EQ(services.boxes[0].text, c.expected);
            EXPECT_EQ(QApplication::focusWidget(), field);
            checked = true;
        });
        EXPECT_TRUE(checked);
    }
}

}  // namespace

namespace {

// The twelve settings fields of the main window, each with the caption the shipped language
// file gives its label and the values it takes as the report writes them.
struct SettingsField {
    const char* name;
    const char* caption;
    const char* takes;  // "Bitte eine Zahl …"
};
const SettingsField kSettingsFields[] = {
    {"wst_l", "Länge X (mm)", "ab 0 "},
    {"wst_b", "Breite Y (mm)", "ab 0 "},
    {"wst_d", "Dicke (mm)", "ab 0 "},
    {"stepX", "Bahnabstand (mm)", "ab 0 "},
    {"stepy", "Punktabstand (mm)", "ab 0 "},
    {"faktor", "Z-Faktor", ""},
    {"min_deltaZ", "min. Delta Z (mm)", "ab 0 "},
    {"zg0", "G0-Hub (mm)", ""},
    {"max_tiefe", "max. Tiefe (mm)", ""},
    {"z_zustellung", "Zustellung (mm)", ""},
    {"rundrum_mm", "Umrandung (mm)", "ab 0 "},
    {"komma", "Nachkommastellen", "von 0 bis 3 "},
};

class SettingsFieldsOfTheMainWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(StartShownWithShippedFiles());
        form1->UsePicture(TBitmap(16, 12));
        QApplication::setActiveWindow(form1.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));
    }
    TFclPictureField* FieldNamed(const char* name) const {
        return form1->findChild<TFclPictureField*>(QString::fromLatin1(name));
    }
    // Replaces the field's text by typing, as the user does (nothing typed empties it), and
    // moves the focus to another field of the window.
    void Enter(TFclPictureField* field, const char* typed, TFclPictureField* next) {
        field->setFocus();
        QApplication::processEvents();
        field->SelectAllText();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, typed);
        services.boxes.clear();
        next->setFocus();
        QApplication::processEvents();  // the field reports and takes the focus back
    }
};

TEST_F(SettingsFieldsOfTheMainWindow, AnEmptiedFieldIsReportedByNameAndKeepsItsValue) {
    for (const SettingsField& c : kSettingsFields) {
        SCOPED_TRACE(c.name);
        TFclPictureField* field = FieldNamed(c.name);
        TFclPictureField* next = FieldNamed(std::string_view(c.name) == "stepX" ? "stepy" : "stepX");
        ASSERT_NE(field, nullptr);
        double before = 0;
        ASSERT_EQ(GetNumber(*field, before), 0);
        const std::string shown = QString::fromStdString(field->Text()).trimmed().toStdString();
        Enter(field, "", next);
        ASSERT_EQ(services.boxes.size(), 1u) << field->Text();
        EXPECT_EQ(services.boxes[0].type, mtError);
        EXPECT_EQ(services.boxes[0].text, std::string("Das Feld „") + c.caption + "“ darf nicht leer sein. Bitte eine Zahl " +
                                              c.takes + "eingeben.");
        EXPECT_EQ(QApplication::focusWidget(), field);
        // The setting is not 0: a run reads it as it was.
        double now = -1;
        EXPECT_NE(GetNumber(*field, now), 0);
        // The user enters it again; the field takes it without a word.
        Enter(field, shown.c_str(), next);
        EXPECT_TRUE(services.boxes.empty());
        EXPECT_EQ(QApplication::focusWidget(), next);
        ASSERT_EQ(GetNumber(*field, now), 0);
        EXPECT_EQ(now, before);
    }
}

// The size fields report an entry outside their range as every other field does, instead of
// putting the old value back without a word.
TEST_F(SettingsFieldsOfTheMainWindow, ANegativeSizeIsReportedByName) {
    for (const char* name : {"wst_l", "wst_b"}) {
        SCOPED_TRACE(name);
        TFclPictureField* field = FieldNamed(name);
        const SettingsField& c = *std::find_if(std::begin(kSettingsFields), std::end(kSettingsFields),
                                               [&](const SettingsField& f) { return std::string_view(f.name) == name; });
        double before = 0;
        ASSERT_EQ(GetNumber(*field, before), 0);
        Enter(field, "-5", FieldNamed("wst_d"));
        ASSERT_EQ(services.boxes.size(), 1u) << field->Text();
        EXPECT_EQ(services.boxes[0].text, std::string("Der Wert im Feld „") + c.caption +
                                              "“ liegt nicht im erlaubten Bereich. Bitte eine Zahl ab 0 eingeben.");
        EXPECT_EQ(QApplication::focusWidget(), field);
        EXPECT_NE(field->Text().find("-5"), std::string::npos);  // the entry stays to be mended
        EXPECT_EQ(std::string_view(name) == "wst_l" ? Main.wst_l : Main.wst_b, before);
        // Mended, the size is taken and the work bitmap follows it.
        Enter(field, "25", FieldNamed("wst_d"));
        EXPECT_TRUE(services.boxes.empty());
        double now = 0;
        ASSERT_EQ(GetNumber(*field, now), 0);
        EXPECT_GT(now, 0);
    }
}

}  // namespace
