// What a design does not hold yet: the edits of an object not taken over into its lines, and a
// design changed since it was opened or saved; and the questions that name them.
#include "DesignTestSupport.h"

#include "designer/DesignQuestions.h"

#include <functional>

namespace {

using DesignChanges = DesignTest;

// An edit is pending from the moment it changes the record until it is taken over into the
// lines or dropped; what the lines do not store is no edit.
TEST_F(DesignChanges, AnEditIsPendingUntilTakenOverOrDropped) {
    const struct {
        const char* what;
        std::function<void(TFensterRec&)> edit;
        bool stored;
    } cases[] = {
        {"depth", [](TFensterRec& r) { r.FormTiefe = 5; }, true},
        {"shape", [](TFensterRec& r) { r.Typ = '4'; }, true},
        {"image moved by the overlay", [](TFensterRec& r) { r.Image->Left += 10; }, true},
        {"text", [](TFensterRec& r) { r.TextString = "Tür"; }, true},
        {"font size", [](TFensterRec& r) { r.FontSize = 30; }, true},
        {"transparency", [](TFensterRec& r) { r.Transparent = '2'; }, true},
        {"corners of a rectangle", [](TFensterRec& r) { r.Punkte[1] = {7, 7}; }, false},
        {"a value finer than its line, taken over",
         [this](TFensterRec& r) {
             r.TextPosX = 100.0 / 3;
             design->WriteObjectLines(1);
         },
         false},
    };
    for (const auto& c : cases) {
        design->New();
        Add(10, 10, 40, 30);
        Add(60, 10, 40, 30);
        design->AktFenster = 1;
        ASSERT_TRUE(design->SlotsWithUncommittedEdits().empty()) << c.what;
        const TFensterData stored = Rec(1).Data();
        c.edit(Rec(1));
        EXPECT_EQ(design->HasUncommittedEdits(1), c.stored) << c.what;
        EXPECT_FALSE(design->HasUncommittedEdits(2)) << c.what;
        if (!c.stored)
            continue;
        EXPECT_EQ(design->SlotsWithUncommittedEdits(), std::vector<int>{1}) << c.what;

        // Dropped: the record is what its lines hold again, also while another is selected.
        design->AktFenster = 2;
        design->RevertObject(1);
        EXPECT_FALSE(design->HasUncommittedEdits(1)) << c.what;
        EXPECT_EQ(design->AktFenster, 2) << c.what;
        EXPECT_EQ(Rec(1).Image->Left, 10) << c.what;
        EXPECT_EQ(Rec(1).TextString, stored.TextString) << c.what;
        EXPECT_EQ(Rec(1).Typ, stored.Typ) << c.what;

        // Taken over: the lines hold it.
        c.edit(Rec(1));
        design->WriteObjectLines(1);
        EXPECT_FALSE(design->HasUncommittedEdits(1)) << c.what;
    }
}

// Changed means: different from the design last opened or saved (a new one: empty), or an edit
// pending. A failed save keeps the design changed.
TEST_F(DesignChanges, ChangedSinceOpenedOrSaved) {
    EXPECT_FALSE(design->ChangedSinceKept()) << "a new, empty design";
    Add(10, 10, 40, 30);
    EXPECT_TRUE(design->ChangedSinceKept()) << "an object drawn";
    ASSERT_TRUE(design->SaveToFile(Path("d.fxn")));
    EXPECT_FALSE(design->ChangedSinceKept()) << "saved";

    Rec(1).FormTiefe = 4;
    EXPECT_TRUE(design->ChangedSinceKept()) << "an edit not taken over";
    design->RevertObject(1);
    EXPECT_FALSE(design->ChangedSinceKept()) << "the edit dropped";

    Add(60, 10, 40, 30);
    design->DeleteObject(2);
    EXPECT_FALSE(design->ChangedSinceKept()) << "drawn and deleted again";
    design->DeleteObject(1);
    EXPECT_TRUE(design->ChangedSinceKept()) << "a saved object deleted";

    EXPECT_FALSE(design->SaveToFile(Path("missing-folder/d.fxn")));
    EXPECT_TRUE(design->ChangedSinceKept()) << "not saved";

    ASSERT_TRUE(design->OpenFile(Path("d.fxn")));
    EXPECT_FALSE(design->ChangedSinceKept()) << "opened";
    design->New();
    EXPECT_FALSE(design->ChangedSinceKept()) << "new";
}

TEST_F(DesignChanges, QuestionsNameTheObjectsAndTheDesign) {
    Add(10, 10, 40, 30, '4');
    Add(60, 10, 40, 30, '9').TextString = "Haustür";
    Add(110, 10, 40, 30, '5').TextString = std::string(40, 'x');
    EXPECT_EQ(ObjectName(*design, 1), "Objekt 1 (Ellipse)");
    EXPECT_EQ(ObjectName(*design, 2), "Objekt 2 (Rechteck mit dem Text „Haustür“)");
    EXPECT_EQ(ObjectName(*design, 3), "Objekt 3 (Dreieck mit dem Text „" + std::string(30, 'x') + "…“)");

    EXPECT_EQ(UncommittedEditsQuestion(*design, {1}),
              "Die Änderungen an Objekt 1 (Ellipse) sind noch nicht übernommen. Sollen sie "
              "übernommen werden?\nMit „Nein“ werden sie verworfen.");
    const std::string many = UncommittedEditsQuestion(*design, {1, 2, 3, 1, 2, 3, 1});
    EXPECT_NE(many.find("Objekt 1 (Ellipse), Objekt 2"), std::string::npos) << many;
    EXPECT_NE(many.find(" und 2 weiteren Objekten sind noch nicht"), std::string::npos) << many;

    EXPECT_EQ(DesignChangedQuestion(*design, false),
              "Das Design ist noch nicht gespeichert. Soll es gespeichert werden, bevor es "
              "verworfen wird?");
    design->SaveDialogFileName = "/tmp/Schild.fxn";
    EXPECT_EQ(DesignChangedQuestion(*design, true),
              "Das Design „/tmp/Schild.fxn“ wurde seit dem Öffnen oder Speichern geändert. Soll "
              "es gespeichert werden, bevor der Editor geschlossen wird?");
}

}  // namespace
