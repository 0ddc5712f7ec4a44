#include "platform/PropertyStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

// A small form: scalar properties of every kind, a 10-byte binary, nested lists.
std::vector<std::uint8_t> SampleStream()
{
    TPropertyWriter w;
    w.WritePropName("Count");
    w.WriteInteger(-129);
    w.WritePropName("Enabled");
    w.WriteBoolean(true);
    w.WritePropName("Caption");
    w.WriteString(std::string("A\0\xE4\xFF", 4));
    w.WritePropName("RangeHigh");
    const std::uint8_t range[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F};
    w.WriteBinary(range);
    w.WritePropName("TableList");
    w.WriteListBegin();
    w.WriteString("Default");
    w.WriteListBegin();
    w.WriteInteger(0x0000043B);
    w.WriteInteger(0);
    w.WriteListEnd();
    w.WriteListBegin();
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteEndOfProperties();
    return w.Buffer();
}

// Reads SampleStream completely, checking each value.
void ReadSample(TPropertyReader& r)
{
    EXPECT_EQ(r.ReadPropName(), "Count");
    EXPECT_EQ(r.ReadInteger(), -129);
    EXPECT_EQ(r.ReadPropName(), "Enabled");
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_EQ(r.ReadPropName(), "Caption");
    EXPECT_EQ(r.ReadString(), std::string("A\0\xE4\xFF", 4));
    EXPECT_EQ(r.ReadPropName(), "RangeHigh");
    std::uint8_t range[10] = {};
    r.ReadBinary(range);
    EXPECT_EQ(range[7], 0x80);
    EXPECT_EQ(range[9], 0x7F);
    EXPECT_EQ(r.ReadPropName(), "TableList");
    r.ReadListBegin();
    EXPECT_EQ(r.ReadString(), "Default");
    r.ReadListBegin();
    EXPECT_EQ(r.ReadInteger(), 0x43B);
    EXPECT_EQ(r.ReadInteger(), 0);
    EXPECT_TRUE(r.EndOfList());
    r.ReadListEnd();
    r.ReadListBegin();
    r.ReadListEnd();
    EXPECT_TRUE(r.EndOfList());
    r.ReadListEnd();
    EXPECT_EQ(r.ReadPropName(), "");
    EXPECT_TRUE(r.AtEnd());
}

}  // namespace

TEST(PropertyStream, IntegersRoundTripAtEveryWidthBoundary)
{
    const std::int64_t values[] = {0, 1, -1, 127, 128, -128, -129, 32767, 32768, -32768, -32769,
                                   std::numeric_limits<std::int32_t>::max(),
                                   std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1,
                                   std::numeric_limits<std::int32_t>::min(),
                                   std::int64_t(std::numeric_limits<std::int32_t>::min()) - 1,
                                   std::numeric_limits<std::int64_t>::max(),
                                   std::numeric_limits<std::int64_t>::min()};
    TPropertyWriter w;
    for (std::int64_t v : values)
        w.WriteInteger(v);
    TPropertyReader r(w.Buffer());
    for (std::int64_t v : values) {
        SCOPED_TRACE(v);
        EXPECT_EQ(r.ReadInteger(), v);
    }
    EXPECT_TRUE(r.AtEnd());
    // 1, 2, 4 and 8 bytes: 128 needs two bytes, -129 two, 2^31 eight.
    TPropertyWriter small;
    small.WriteInteger(127);
    small.WriteInteger(128);
    EXPECT_EQ(small.Buffer().size(), 2u + 3u);
}

TEST(PropertyStream, NamedValuesAndNestedListsRoundTrip)
{
    const std::vector<std::uint8_t> buffer = SampleStream();
    TPropertyReader r(buffer);
    ReadSample(r);
}

TEST(PropertyStream, SkipValueTakesWholeListsAndLeavesTheNextProperty)
{
    const std::vector<std::uint8_t> buffer = SampleStream();
    TPropertyReader r(buffer);
    std::vector<std::string> names;
    for (std::string name = r.ReadPropName(); !name.empty(); name = r.ReadPropName()) {
        names.push_back(name);
        r.SkipValue();
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Count", "Enabled", "Caption", "RangeHigh",
                                               "TableList"}));
    EXPECT_TRUE(r.AtEnd());
}

TEST(PropertyStream, EveryTruncationOfAStreamIsAnErrorNotAnOverRead)
{
    const std::vector<std::uint8_t> full = SampleStream();
    for (std::size_t n = 0; n < full.size(); ++n) {
        SCOPED_TRACE(n);
        // A copy of exactly n bytes, so that a read past it is caught by the sanitizer.
        const std::vector<std::uint8_t> cut(full.begin(), full.begin() + std::ptrdiff_t(n));
        TPropertyReader r(cut);
        EXPECT_THROW(ReadSample(r), EPropertyStreamError);
    }
}

TEST(PropertyStream, MalformedInputRaisesAClearError)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"unknown value type", {42}},
        {"string length past the end", {8, 5, 0, 0, 0, 'a', 'b'}},
        {"huge binary length", {9, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"integer cut short", {4, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPropertyReader r(c.bytes);
        EXPECT_THROW(r.SkipValue(), EPropertyStreamError);
        EXPECT_EQ(r.Position(), 0u);  // nothing is taken on failure
    }

    TPropertyWriter w;
    w.WriteString("x");
    w.WriteInteger(300);
    w.WriteBinary(std::vector<std::uint8_t>(9));
    TPropertyReader r(w.Buffer());
    EXPECT_THROW(r.ReadInteger(), EPropertyStreamError);  // a string is not an integer
    EXPECT_EQ(r.ReadString(), "x");
    EXPECT_THROW(r.ReadInteger(0, 255), EPropertyStreamError);  // out of the asked range
    EXPECT_EQ(r.ReadInteger(0, 300), 300);
    std::uint8_t ten[10];
    EXPECT_THROW(r.ReadBinary(ten), EPropertyStreamError);  // 9 bytes where 10 belong
    EXPECT_EQ(r.ReadBinary().size(), 9u);

    const std::vector<std::uint8_t> stray_end = {0};
    TPropertyReader end(stray_end);
    EXPECT_THROW(end.SkipValue(), EPropertyStreamError);  // end of list where a value belongs

    TPropertyWriter names;
    EXPECT_THROW(names.WritePropName(""), EPropertyStreamError);
    EXPECT_THROW(names.WritePropName(std::string(256, 'a')), EPropertyStreamError);
    names.WritePropName(std::string(255, 'a'));
    TPropertyReader longName(names.Buffer());
    EXPECT_EQ(longName.ReadPropName().size(), 255u);
}
