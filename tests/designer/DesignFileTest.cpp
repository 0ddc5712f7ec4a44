#include "DesignTestSupport.h"

#include "designer/DesignFile.h"
#include "designer/DesignRender.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

namespace {

using DesignFile = DesignTest;

std::string Lines(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines)
        s += l + "\r\n";
    return s;
}

// Ten lines of one object as the editor writes them.
std::vector<std::string> ObjectLines(int slot, const std::string& typ, const std::string& xs,
                                     const std::string& ys, const std::string& text = "") {
    return {"<row><" + std::to_string(slot) + ">", "<picturename><>", typ, xs, ys,
            "<position><0><50><10><20><30><40><2>", "<textattribut><1><1><1><1><1>",
            "<fontattribut><Arial><22><3><5><6><0>", "<textstring><" + text + ">",
            "<end of Paragraph>"};
}

TEST_F(DesignFile, EveryObjectTypeSurvivesSaveAndOpen) {
    Add(10, 10, 40, 30, '9').FormTiefe = 2.5;
    TFensterRec& polygon = Add(60, 10, 50, 50, '2');
    polygon.Neck = 5;
    for (int i = 0; i < 5; ++i)
        polygon.Punkte[std::size_t(i)] = {i * 10, 50 - i * 7};
    polygon.Punkte[5] = polygon.Punkte[0];
    polygon.FormWinkel = 0;
    TFensterRec& rounded = Add(10, 70, 40, 30, '3');
    rounded.Radius = 12.5;
    rounded.TextString = "a><b";  // the text's own "><" stays
    rounded.TextPosX = 3.25;
    rounded.TextTiefe = 1.5;
    rounded.Bold = '2';
    rounded.Align = '3';
    Add(60, 70, 40, 30, '4').Transparent = '2';
    TFensterRec& triangle = Add(110, 70, 40, 30, '5');
    Rechne_koord_dreieck(triangle, 40, 30, 0);
    TFensterRec& none = Add(160, 70, 40, 30, '1');
    none.TextString = std::string(254, 'x');
    Add(160, 110, 40, 30, '9').TextString = std::string(255, 'y');
    Add(160, 150, 40, 30, '9').TextString = std::string(300, 'z');
    for (int i = 1; i <= design->FensterAnzahl; ++i)
        design->WriteObjectLines(i);
    design->WstLaenge = 300.5;
    design->WkzRad = 0.25;

    EXPECT_EQ(design->Memo1[3], "<Polygon-X>");  // a rectangle's corners are not written
    EXPECT_EQ(design->Memo1[4], "<Polygon-Y>");
    EXPECT_EQ(design->Memo1[43], "<Polygon-X><0><40><20><0>");  // a triangle: Neck + 1 values
    EXPECT_EQ(design->Memo1[44], "<Polygon-Y><30><30><0><30>");
    EXPECT_EQ(design->Memo1[28], "<textstring><a><b>");

    const std::string path = Path("all.fxn");
    ASSERT_TRUE(design->SaveToFile(path));
    const std::string saved = ReadAll(path);
    EXPECT_NE(saved.find("<Form><8><300.5><600><10><0.25>\r\n"), std::string::npos);

    EXPECT_FALSE(design->ChangedSinceKept());

    TDesign opened;
    ASSERT_TRUE(opened.OpenFile(path));
    EXPECT_TRUE(services.boxes.empty());
    // Opened and drawn, nothing counts as changed.
    EXPECT_TRUE(opened.SlotsWithUncommittedEdits().empty());
    EXPECT_FALSE(opened.ChangedSinceKept());
    ASSERT_EQ(opened.FensterAnzahl, 8);
    EXPECT_EQ(opened.AktFenster, 8);  // the last object is selected
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(opened.FensterRecs[std::size_t(i)].Data(), Rec(i).Data()) << "object " << i;
    EXPECT_EQ(opened.FensterRecs[8].TextString.size(), 300u);  // long texts are kept whole
    EXPECT_EQ(opened.Memo1, design->Memo1);  // the project line is only in the file
    EXPECT_EQ(opened.WstLaenge, 300.5);
    EXPECT_EQ(opened.WkzRad, 0.25);
    // Open hands the project values to the main window.
    EXPECT_EQ(Main.wst_l, 300.5);
    EXPECT_EQ(Main.wst_b, 600);
    EXPECT_EQ(Main.wst_d, 10);
    EXPECT_EQ(Main.stepy, 0.25);
    // Saved again, the file is the same.
    ASSERT_TRUE(opened.SaveToFile(Path("again.fxn")));
    EXPECT_EQ(ReadAll(Path("again.fxn")), saved);
}

TEST_F(DesignFile, CornerCountAboveTenIsReadAsTen) {
    std::string xs = "<Polygon-X>", ys = "<Polygon-Y>";
    for (int i = 0; i <= 12; ++i) {
        xs += "<" + std::to_string(i) + ">";
        ys += "<" + std::to_string(100 + i) + ">";
    }
    auto lines = ObjectLines(1, "<typ><2><12>", xs, ys);
    lines.push_back("<Form><1><600><600><10><1>");
    WriteAll(Path("neck.fxn"), Lines(lines));
    ASSERT_TRUE(design->OpenFile(Path("neck.fxn")));
    const TFensterRec& r = Rec(1);
    EXPECT_EQ(r.Neck, 10);
    EXPECT_EQ(r.Punkte[10], (TDesignPoint{10, 110}));
    // Written again: Neck 10 and eleven points.
    design->WriteObjectLines(1);
    EXPECT_EQ(design->Memo1[2], "<typ><2><10>");
    EXPECT_EQ(design->Memo1[3], "<Polygon-X><0><1><2><3><4><5><6><7><8><9><10>");
}

TEST_F(DesignFile, CornerCountIsCutForEveryTypeSoCopyLoopsStayInside) {
    auto lines = ObjectLines(1, "<typ><9><99>", "<Polygon-X>", "<Polygon-Y>");
    lines.push_back("<Form><1><600><600><10><1>");
    WriteAll(Path("rect.fxn"), Lines(lines));
    ASSERT_TRUE(design->OpenFile(Path("rect.fxn")));
    EXPECT_EQ(Rec(1).Neck, 10);
    design->GraphicCopyExecute();
    EXPECT_TRUE(design->EditPasteExecute());
}

TEST_F(DesignFile, DecimalCommaFilesNeedACommaLocale) {
    SetSeparator(',');
    Add(10, 10, 40, 30).FormTiefe = 12.5;
    design->WriteObjectLines(1);
    EXPECT_EQ(design->Memo1[5], "<position><0><50><10><10><40><30><12,5>");
    ASSERT_TRUE(design->SaveToFile(Path("komma.fxn")));

    TDesign reader;
    ASSERT_TRUE(reader.OpenFile(Path("komma.fxn")));
    EXPECT_EQ(reader.FensterRecs[1].FormTiefe, 12.5);

    SetSeparator('.');
    TDesign pointReader;
    EXPECT_FALSE(pointReader.OpenFile(Path("komma.fxn")));
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_NE(services.boxes[0].text.find("Zeile 6"), std::string::npos);
}

struct DamagedCase {
    const char* name;
    std::string content;
    const char* why;  // the end of the box's text: the line and what is wrong with it
};

TEST_F(DesignFile, DamagedFileGivesOneMessageAndKeepsTheOpenDesign) {
    auto one = ObjectLines(1, "<typ><9><3>", "<Polygon-X>", "<Polygon-Y>");
    auto badNumber = one;
    badNumber[5] = "<position><0><50><1x><20><30><40><2>";
    auto missingTag = one;
    missingTag[9] = "<end>";
    auto shortPolygon = ObjectLines(1, "<typ><2><4>", "<Polygon-X><1><2>", "<Polygon-Y><1><2>");
    const DamagedCase cases[] = {
        {"empty", "", "(Zeile 1): Die Datei ist leer."},
        {"no project line", Lines(one), "(Zeile 10): Die letzte Zeile ist keine Projektzeile."},
        {"count above 32000", "<Form><32001><600><600><10><1>\r\n",
         "(Zeile 1): Die Objektanzahl 32001 liegt nicht zwischen 0 und 32000."},
        {"negative count", "<Form><-1><600><600><10><1>\r\n",
         "(Zeile 1): Die Objektanzahl -1 liegt nicht zwischen 0 und 32000."},
        {"count above the lines", Lines(one) + "<Form><2><600><600><10><1>\r\n",
         "(Zeile 11): Die Datei hat Zeilen für 1 Objekte, nicht für 2."},
        {"project value no number", Lines(one) + "<Form><1><600><x><10><1>\r\n",
         "(Zeile 11): Die letzte Zeile ist keine Projektzeile."},
        {"bad number", Lines(badNumber) + "<Form><1><600><600><10><1>\r\n",
         "(Zeile 6): Die Zeile von Objekt 1 ist beschädigt."},
        {"missing tag", Lines(missingTag) + "<Form><1><600><600><10><1>\r\n",
         "(Zeile 10): Die Zeile von Objekt 1 ist beschädigt."},
        {"too few corners", Lines(shortPolygon) + "<Form><1><600><600><10><1>\r\n",
         "(Zeile 4): Die Zeile von Objekt 1 ist beschädigt."},
    };
    Add(5, 5, 20, 20).TextString = "bleibt";
    design->WriteObjectLines(1);
    const auto lines = design->Memo1;
    Main.wst_l = 123;
    for (const DamagedCase& c : cases) {
        services.boxes.clear();
        WriteAll(Path("bad.fxn"), c.content);
        EXPECT_FALSE(design->OpenFile(Path("bad.fxn"))) << c.name;
        ASSERT_EQ(services.boxes.size(), 1u) << c.name;
        EXPECT_NE(services.boxes[0].text.find(std::string(c.why) + "\nDas geöffnete Design bleibt erhalten."),
                  std::string::npos)
            << c.name << ": " << services.boxes[0].text;
        EXPECT_EQ(design->FensterAnzahl, 1) << c.name;
        EXPECT_EQ(design->Memo1, lines) << c.name;
        EXPECT_EQ(Rec(1).TextString, "bleibt") << c.name;
        EXPECT_EQ(Main.wst_l, 123) << c.name;
    }
    EXPECT_FALSE(design->OpenFile(Path("does-not-exist.fxn")));
}

// A folder or a pipe named as the design file gets one message at once and leaves the open
// design; a pipe would otherwise keep the program waiting for a writer for ever.
TEST_F(DesignFile, WhatIsNoRegularFileIsRefusedWithoutWaiting) {
    const std::string fifo = Path("pipe.fxn");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.fxn"));
    Add(5, 5, 20, 20);
    for (const std::string& path : {fifo, Path("folder.fxn")}) {
        services.boxes.clear();
        auto open = std::async(std::launch::async, [&] { return design->OpenFile(path); });
        if (open.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
            // It waits for a writer: give it one that writes nothing, so the test ends.
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
            ADD_FAILURE() << "the open waits on the pipe";
        }
        EXPECT_FALSE(open.get()) << path;
        ASSERT_EQ(services.boxes.size(), 1u) << path;
        EXPECT_NE(services.boxes[0].text.find("ein Ordner, ein Ger\xC3\xA4t oder eine Pipe"),
                  std::string::npos)
            << services.boxes[0].text;
        EXPECT_EQ(design->FensterAnzahl, 1) << path;
    }
}

TEST_F(DesignFile, ReadsAnyLineEndAndWindows1252) {
    auto lines = ObjectLines(1, "<typ><9><3>", "<Polygon-X>", "<Polygon-Y>", "Gr\xFC\xDF" "e");
    lines.push_back("<Form><1><600><600><10><1>");
    std::string lf;
    for (const auto& l : lines)
        lf += l + "\n";
    WriteAll(Path("lf.fxn"), lf);
    ASSERT_TRUE(design->OpenFile(Path("lf.fxn")));
    EXPECT_EQ(Rec(1).TextString, "Grüße");
}

TEST_F(DesignFile, FirstSaveAsksForANameAndLaterSavesUseIt) {
    Add(10, 10, 40, 30);
    services.saveNames.push_back(std::nullopt);
    EXPECT_FALSE(design->Save());  // cancelled: nothing written anywhere
    ASSERT_EQ(services.fileRequests.size(), 1u);
    EXPECT_EQ(services.fileRequests[0].title, "Projekt speichern");
    EXPECT_EQ(services.fileRequests[0].defaultExt, "fxn");
    EXPECT_FALSE(QFile::exists("Untitled"));

    const std::string path = Path("named.fxn");
    services.saveNames.push_back(path);
    EXPECT_TRUE(design->Save());
    EXPECT_EQ(design->OpenDialogFileName, path);
    design->FensterRecs[1].FormTiefe = 3;
    design->WriteObjectLines(1);
    EXPECT_TRUE(design->Save());  // no second dialog
    EXPECT_EQ(services.fileRequests.size(), 2u);
    EXPECT_NE(ReadAll(path).find("<3>\r\n<textattribut>"), std::string::npos);

    // A file that cannot be written gives a message that says what to do; the saved file stays
    // as it was.
    const std::string before = ReadAll(path);
    services.saveNames.push_back(Path("missing-folder/x.fxn"));
    EXPECT_FALSE(design->SaveAs());
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text,
              "Das Projekt kann nicht unter „" + Path("missing-folder/x.fxn") +
                  "“ gespeichert werden; eine Datei dieses Namens ist unverändert. Bitte prüfen, ob "
                  "in den Ordner geschrieben werden darf, oder mit „Speichern unter“ einen anderen "
                  "Ordner oder Namen wählen und erneut speichern.");
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(design->SaveDialogFileName, path) << "the design keeps the name it was saved under";
}

TEST_F(DesignFile, OpenThroughTheDialogAndNew) {
    Add(10, 10, 40, 30);
    ASSERT_TRUE(design->SaveToFile(Path("d.fxn")));
    services.openNames.push_back(std::nullopt);
    EXPECT_FALSE(design->Open());
    services.openNames.push_back(Path("d.fxn"));
    design->New();
    EXPECT_EQ(design->FensterAnzahl, 0);
    EXPECT_TRUE(design->Memo1.empty());
    EXPECT_TRUE(design->Open());
    EXPECT_EQ(design->FensterAnzahl, 1);
    EXPECT_EQ(design->SaveDialogFileName, Path("d.fxn"));
    EXPECT_EQ(services.fileRequests.back().title, "Projekt öffnen");
    EXPECT_EQ(services.fileRequests.back().filter, "Fraxilon Files (*.fxn)|*.fxn|Alle Files (*.*)|*.*");
}

}  // namespace
