// An invalid entry in a number field of any of the program's windows, as a user makes it: a
// value typed and the focus moved to another control of the window. Each window reports it in
// German with the field's caption and the values the field takes, and gives the field the
// focus back.
#include "platform/IntlSource.h"
#include "controls/FclIntlSup.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QTabWidget>
#include <QTest>

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
        CopyShipped();
        ASSERT_TRUE(Start());
        form1->show();
        form1->FormActivate();
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
