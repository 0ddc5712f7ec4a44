#include "controls/FclBuiltInCommands.h"
#include "controls/FclCommandCodes.h"
#include "controls/FclCommandProcessor.h"
#include "controls/FclExceptions.h"
#include "controls/FclTextFile.h"
#include "platform/PropertyStream.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::uint8_t C = kCtrlBit;
constexpr std::uint8_t S = kShiftBit;

struct Press {
    std::uint16_t key;
    std::uint8_t shift;
    std::uint16_t expected;
};

void PressKeys(TFclCommandProcessor& p, const std::vector<Press>& presses)
{
    for (std::size_t i = 0; i < presses.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(p.CommandOfMessage(presses[i].key, presses[i].shift), presses[i].expected);
    }
}

// "WordStar" active, "Default" not.
void UseWordStar(TFclCommandProcessor& p)
{
    p.FindTable("Default")->SetIsActive(false);
    p.FindTable("wordstar")->SetIsActive(true);
}

std::vector<std::uint8_t> Stream(const TFclCommandProcessor& p)
{
    TPropertyWriter w;
    p.WriteProperties(w);
    w.WriteEndOfProperties();
    return w.Buffer();
}

void Load(TFclCommandProcessor& p, const std::vector<std::uint8_t>& bytes)
{
    TPropertyReader r(bytes);
    for (std::string name = r.ReadPropName(); !name.empty(); name = r.ReadPropName())
        ASSERT_TRUE(p.ReadProperty(name, r)) << name;
    EXPECT_TRUE(r.AtEnd());
}

std::string FileText(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    return std::string(b.constData(), std::size_t(b.size()));
}

void PutFile(const QString& path, const std::string& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
}

}  // namespace

TEST(FclCommandTables, BuiltInTablesHaveTheirBindingsWithoutDuplicates)
{
    TFclCommandProcessor p;
    struct Expect {
        const char* name;
        bool active;
        std::size_t count;
    } tables[] = {{"Default", true, 64}, {"WordStar", false, 40}, {"Grid", false, 38}};
    ASSERT_EQ(p.Count(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(tables[i].name);
        const TFclCommandTable& t = p.Table(i);
        EXPECT_EQ(t.TableName(), tables[i].name);
        EXPECT_EQ(t.IsActive(), tables[i].active);
        EXPECT_EQ(t.Count(), tables[i].count);
        std::set<std::uint32_t> identities;
        for (const TFclCommandBinding& b : t.Bindings())
            EXPECT_TRUE(identities.insert(b.Identity()).second) << b.Identity();
    }
    EXPECT_EQ(CommandName(ccUndo), "ccUndo");
    EXPECT_EQ(CommandName(ccGotoMarker9), "ccGotoMarker9");
    EXPECT_EQ(CommandName(76), "");
}

TEST(FclCommandProcessor, TranslatesKeysOfTheActiveTables)
{
    TFclCommandProcessor p;
    PressKeys(p, {
               {'Z', C, ccUndo},             // 72
               {'Q', C, ccNoBinding},        // WordStar is inactive
               {'Z', C | S, ccRedo},
               {'7', C | S, ccSetMarker7},
               {VK_BACK, kAltBit, ccRestore},
               {VK_LEFT, C | S, ccExtWordLeft},
               {'A', 0, ccNoBinding},        // plain typing
               {VK_SHIFT, 0, ccNoBinding},   // modifiers alone change nothing
               {VK_CAPITAL, 0, ccNoBinding},
           });
    EXPECT_EQ(p.CommandOfKey('Z', ssCtrl), ccUndo);
    EXPECT_EQ(p.CommandOfKey(VK_LEFT, ssCtrl | ssShift), ccExtWordLeft);

    p.FindTable("Default")->SetIsActive(false);
    p.FindTable("Grid")->SetIsActive(true);
    PressKeys(p, {{'Z', C, ccRestore}, {VK_F2, 0, ccTableEdit}, {VK_TAB, 0, ccNoBinding}});
}

TEST(FclCommandProcessor, WordStarKeySequences)
{
    struct Case {
        const char* what;
        std::vector<Press> presses;
    } cases[] = {
        {"Ctrl+Q then S", {{'Q', C, ccPartialSequence}, {'S', 0, ccHome}}},
        {"Ctrl+Q then Ctrl+S", {{'Q', C, ccPartialSequence}, {'S', C, ccHome}}},
        {"Shift+S does not complete it",
         {{'Q', C, ccPartialSequence}, {'S', S, ccSequenceFailed}, {'S', 0, ccNoBinding}}},
        {"an unbound second key abandons the sequence",
         {{'Q', C, ccPartialSequence}, {'B', 0, ccSequenceFailed}, {'S', C, ccLeft}}},
        {"Shift alone keeps waiting",
         {{'Q', C, ccPartialSequence}, {VK_SHIFT, S, ccPartialSequence},
          {VK_CONTROL, C, ccPartialSequence}, {'D', 0, ccEnd}}},
        {"markers", {{'K', C, ccPartialSequence}, {'3', 0, ccSetMarker3},
                     {'Q', C, ccPartialSequence}, {'3', C, ccGotoMarker3}}},
        {"ccCtrlChar makes the next key typing",
         {{'P', C, ccCtrlChar}, {'S', C, ccNoBinding}, {'S', C, ccLeft}}},
        {"ccCtrlChar survives a modifier",
         {{'P', C, ccCtrlChar}, {VK_SHIFT, S, ccNoBinding}, {'Q', C, ccNoBinding},
          {'Q', C, ccPartialSequence}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TFclCommandProcessor p;
        UseWordStar(p);
        PressKeys(p, c.presses);
    }

    TFclCommandProcessor p;
    UseWordStar(p);
    PressKeys(p, {{'Q', C, ccPartialSequence}});
    p.ResetState();
    EXPECT_EQ(p.State(), TFclCommandProcessor::stIdle);
    PressKeys(p, {{'S', 0, ccNoBinding}});
}

TEST(FclCommandProcessor, AddingBindingsAndTables)
{
    TFclCommandProcessor p;
    EXPECT_THROW(p.AddBinding("Nowhere", {'B', C, 0, 0, 300}), ETableNotFound);
    EXPECT_THROW(p.AddBinding("default", {'Z', C, 0, 0, 300}), EDuplicateCommand);
    p.AddBinding("DEFAULT", {'B', C, 0, 0, 300});
    EXPECT_EQ(p.CommandOfMessage('B', C), 300);

    struct Case {
        const char* name;
        const char* becomes;
    } cases[] = {
        {"Default", "Default1"}, {"default", "default2"}, {"Default1", "Default3"},
        {"Mine", "Mine"},        {"Mine", "Mine1"},       {"A1", "A1"},
        {"A1", "A2"},            {"12", "12"},            {"12", "11"},
    };
    for (const Case& c : cases) {
        auto t = std::make_unique<TFclCommandTable>();
        t->SetTableName(c.name);
        p.AppendTable(std::move(t));
        EXPECT_EQ(p.Table(p.Count() - 1).TableName(), c.becomes) << c.name;
    }
    EXPECT_EQ(TFclCommandTable().TableName(), "(Unknown)");
}

TEST(FclCommandProcessor, UnchangedBuiltInTablesStreamAsNamesFlagsAndEmptyLists)
{
    TFclCommandProcessor p;
    const std::vector<std::uint8_t> bytes = Stream(p);
    TPropertyReader r(bytes);
    EXPECT_EQ(r.ReadPropName(), "TableList");
    r.ReadListBegin();
    for (const char* name : {"Default", "WordStar", "Grid"}) {
        EXPECT_EQ(r.ReadString(), name);
        EXPECT_EQ(r.ReadBoolean(), std::string(name) == "Default");
        r.ReadListBegin();
        EXPECT_TRUE(r.EndOfList());
        r.ReadListEnd();
    }
    r.ReadListEnd();
    EXPECT_EQ(r.ReadPropName(), "");
    EXPECT_TRUE(r.AtEnd());
}

TEST(FclCommandProcessor, TablesStreamAsDifferencesAndReadBack)
{
    TFclCommandProcessor p;
    TFclCommandTable& def = *p.FindTable("Default");
    def.Delete(std::size_t(def.IndexOf({'Z', C, 0, 0, 0})));                  // lacks Ctrl+Z
    def.Replace(std::size_t(def.IndexOf({VK_TAB, 0, 0, 0, 0})), {VK_TAB, 0, 0, 0, 300});
    def.Add({'Q', C, 'X', kShiftNoneOrCtrl, 301});                               // a sequence
    p.FindTable("Grid")->SetIsActive(true);
    auto own = std::make_unique<TFclCommandTable>();
    own->SetTableName("Own");
    own->SetIsActive(false);
    own->Add({'B', C, 0, 0, 302});
    own->Add({'B', C, 0, 0, 303});  // tables take duplicates
    p.AppendTable(std::move(own));

    const std::vector<std::uint8_t> bytes = Stream(p);

    // The differences of "Default": Ctrl+Z removed, then Tab changed, then the new binding.
    {
        TPropertyReader r(bytes);
        r.ReadPropName();
        r.ReadListBegin();
        EXPECT_EQ(r.ReadString(), "Default");
        EXPECT_TRUE(r.ReadBoolean());
        r.ReadListBegin();
        const std::vector<std::int64_t> expected = {
            'Z' | C << 8, 0, VK_TAB, 300, std::int32_t('Q' | C << 8 | 'X' << 16 | 128u << 24),
            301};
        std::vector<std::int64_t> values;
        while (!r.EndOfList())
            values.push_back(r.ReadInteger());
        EXPECT_EQ(values, expected);
    }

    TFclCommandProcessor q;
    q.AppendTable(std::make_unique<TFclCommandTable>());  // cleared by reading
    Load(q, bytes);
    ASSERT_EQ(q.Count(), p.Count());
    for (std::size_t i = 0; i < p.Count(); ++i) {
        SCOPED_TRACE(p.Table(i).TableName());
        EXPECT_EQ(q.Table(i).TableName(), p.Table(i).TableName());
        EXPECT_EQ(q.Table(i).IsActive(), p.Table(i).IsActive());
        EXPECT_EQ(q.Table(i).Bindings(), p.Table(i).Bindings());
    }
    PressKeys(q, {{'Z', C, ccRestore} /* now from "Grid" */, {'Q', C, ccPartialSequence},
            {'X', 0, 301}});
}

TEST(FclCommandProcessor, AMalformedTableListLeavesTheTablesAlone)
{
    TFclCommandProcessor p;
    p.FindTable("Default")->Add({'B', C, 0, 0, 300});
    const std::vector<std::uint8_t> bytes = Stream(p);
    for (std::size_t n : {bytes.size() - 2, bytes.size() / 2, std::size_t(12)}) {
        SCOPED_TRACE(n);
        const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(n));
        TFclCommandProcessor q;
        TPropertyReader r(cut);
        ASSERT_EQ(r.ReadPropName(), "TableList");
        EXPECT_THROW(q.ReadProperty("TableList", r), EPropertyStreamError);
        EXPECT_EQ(q.Count(), 3u);
        EXPECT_EQ(q.Table(0).Count(), 64u);
    }
}

TEST(FclCommandTables, TextFilesRoundTripInTheirColumnLayout)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("keys.txt");
    const std::string file = path.toStdString();

    TFclCommandTable t;
    t.SetTableName("Tasten \xE4");  // Windows-1252 a-umlaut
    t.Add({VK_LEFT, 0, 0, 0, ccLeft});
    t.Add({'Q', C, 'S', kShiftNoneOrCtrl, ccHome});
    t.Add({'B', C, 0, 0, 65535});
    t.WriteTextFile(file);
    EXPECT_EQ(FileText(path), "Tasten \xC3\xA4\r\n"
                              "  37   0   0   0    46\r\n"
                              "  81   4  83 128    42\r\n"
                              "  66   4   0   0 65535\r\n");

    TFclCommandProcessor p;
    const int index = p.ReadCommandFile(file);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(p.Table(3).TableName(), "Tasten \xE4");
    EXPECT_EQ(p.Table(3).Bindings(), t.Bindings());

    p.WriteCommandFile("grid", file);
    TFclCommandTable grid;
    grid.ReadTextFile(file);
    EXPECT_EQ(grid.TableName(), "Grid");
    EXPECT_EQ(grid.Count(), 38u);
    p.WriteCommandFile("Nowhere", dir.filePath("none.txt").toStdString());
    EXPECT_FALSE(QFile::exists(dir.filePath("none.txt")));
}

TEST(FclCommandTables, TextFilesAcceptEveryLineEndAndBothEncodings)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in.txt");
    const std::string file = path.toStdString();
    struct Case {
        const char* what;
        std::string bytes;
        const char* name;
        std::size_t count;
    } cases[] = {
        {"LF, Windows-1252", "Gr\xFC\x6E\n 37 0 0 0 46\n39 0 0 0 55\n", "Gr\xFCn", 2},
        {"CR, UTF-8", "Gr\xC3\xBCn\r37 0 0 0 46\r\r", "Gr\xFCn", 1},
        {"CR LF without a last line end", "X\r\n37 0 0 0 46\r\n  \r\n39 0 0 0 55", "X", 2},
        {"only a name", "Leer", "Leer", 0},
        {"empty file", "", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PutFile(path, c.bytes);
        TFclCommandTable t;
        t.ReadTextFile(file);
        EXPECT_EQ(t.TableName(), c.name);
        EXPECT_EQ(t.Count(), c.count);
    }

    const char* bad[] = {"T\n37 0 0 0\n", "T\n37 0 0 0 46 1\n", "T\n256 0 0 0 46\n",
                         "T\n37 0 0 0 65536\n", "T\n37 0 0 0 4x\n", "T\n-1 0 0 0 46\n"};
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        PutFile(path, text);
        TFclCommandTable t;
        t.Add({VK_LEFT, 0, 0, 0, ccLeft});
        EXPECT_THROW(t.ReadTextFile(file), EInOutError);
        EXPECT_EQ(t.Count(), 1u);  // nothing of the bad file was taken
    }
    TFclCommandProcessor p;
    EXPECT_THROW(p.ReadCommandFile(dir.filePath("missing.txt").toStdString()), EInOutError);
    EXPECT_EQ(p.Count(), 3u);
}
