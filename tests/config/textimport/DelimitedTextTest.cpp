// Lines of a text import as text: splitting at the delimiter with quotes, and the values that
// reach the fields.
#include "config/SessionImportLine.h"

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

using namespace rivode::config;

TEST(DelimitedTextTest, QuotesGroupAndEmptyValuesKeepTheirPlaces) {
    const struct {
        std::u16string_view line;
        char16_t delimiter;
        YStringArray values;
        std::size_t unclosedQuoteColumn;
    } cases[] = {
        {u"\"Smith, J\",host1", u',', {u"Smith, J", u"host1"}, 0},
        {u"a,,c,", u',', {u"a", u"", u"c", u""}, 0},
        {u"", u',', {u""}, 0},
        {u"a\"b;c\"d;e", u';', {u"ab;cd", u"e"}, 0},
        {u"\"\"", u',', {u""}, 0},
        {u"x  y", u' ', {u"x", u"", u"y"}, 0},
        {u"h\t\"n\tm", u'\t', {u"h", u"n\tm"}, 3},
        // Without a delimiter the line stands as it is, quotes included.
        {u"\"a,b\", c", kNoDelimiter, {u"\"a,b\", c"}, 0},
    };
    DelimitedLine split;
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.line));
        SplitDelimitedLine(c.line, c.delimiter, split);
        EXPECT_EQ(split.values, c.values);
        EXPECT_EQ(split.unclosedQuoteColumn, c.unclosedQuoteColumn);
    }
}

TEST(DelimitedTextTest, ValuesGoToFieldsByPositionAndTheRestIsExtraText) {
    const std::vector<ImportField> fields = {ImportField::Hostname, ImportField::Ignored,
                                             ImportField::SessionName};
    DelimitedLine split;
    ImportLineValues values;

    SplitDelimitedLine(u"host1,dropped,name1,x,,y", u',', split);
    AssignImportFields(split, fields, u',', values);
    EXPECT_EQ(values[ImportField::Hostname], u"host1");
    EXPECT_EQ(values[ImportField::SessionName], u"name1");
    EXPECT_EQ(values.extraText, u"x,,y,");

    // A short line leaves the later fields empty, and a value of an earlier line never lingers.
    SplitDelimitedLine(u"host2", u',', split);
    AssignImportFields(split, fields, u',', values);
    EXPECT_EQ(values[ImportField::Hostname], u"host2");
    EXPECT_EQ(values[ImportField::SessionName], u"");
    EXPECT_EQ(values.extraText, u"");
}

TEST(DelimitedTextTest, NamesAndFoldersAreFixedForTheSessionDatabase) {
    EXPECT_EQ(FixImportedFolder(u"Work\\Lab\\A"), u"Work/Lab/A");
    EXPECT_EQ(ImportedFolderPath(u"/Work//Lab/"), u"Work\\Lab");
    EXPECT_EQ(FixImportedName(u"a/b\\c:d*e?f\"g<h>i|j"), u"a_b_c_d_e_f_g_h_i_j");
    for (const std::u16string_view bad :
         {u"a:b", u"a*", u"?", u"\"q\"", u"<", u">", u"a|b", u"Work/../x", u"."}) {
        EXPECT_FALSE(IsImportedFolderValid(bad)) << ToUtf8(bad);
    }
    for (const std::u16string_view good : {u"", u"Work/Lab", u"a.b/..c"}) {
        EXPECT_TRUE(IsImportedFolderValid(good)) << ToUtf8(good);
    }
}

}  // namespace
}  // namespace rivode::test
