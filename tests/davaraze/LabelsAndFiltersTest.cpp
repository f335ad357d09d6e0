#include <DavaraZE/YFileFilters.h>
#include <DavaraZE/YLabels.h>
#include <DavaraZE/YMessageStrings.h>

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(FileFiltersTest, NamesTakeTheirPatternsInTheFormQtReads) {
    YFileFilterList filters;
    YAppendFileFilter(filters, u"Log Files (%1)", u"*.log;*.txt");
    YAppendFileFilter(filters, u"Key Map Files", u"*.key");
    YAppendFileFilter(filters, u"Scripts (*.vbs *.py)", u"*.vbs;*.py");
    YAppendFileFilter(filters, u"All Files", u"*.*");
    YAppendFileFilter(filters, u"Odd;;Name", u" ; ");
    YAppendFileFilter(filters, u"", u"*.ini");
    EXPECT_EQ(YGetFileFilters(filters),
              u"Log Files (*.log *.txt);;Key Map Files (*.key);;Scripts (*.vbs *.py);;"
              u"All Files (*);;Odd; Name (*);;(*.ini)");
    EXPECT_EQ(filters[0].patterns, (YStringArray{u"*.log", u"*.txt"}));
    EXPECT_TRUE(YGetFileFilters({}).empty());

    EXPECT_EQ(YGetFilterPatterns(u"Log Files (*.log *.txt)"), (YStringArray{u"*.log", u"*.txt"}));
    EXPECT_EQ(YGetFilterPatterns(u"Notes (old) (*.nt)"), (YStringArray{u"*.nt"}));
    EXPECT_TRUE(YGetFilterPatterns(u"No list").empty());
}

TEST(LabelsTest, FunctionTypesAreDistinctTextsFromTheTableInRowOrder) {
    const std::size_t types = GetMappedFunctionTypesSize();
    std::set<YUnicodeString> builtIn{u""};
    for (std::size_t i = 0; i < types; ++i) {
        builtIn.insert(GetMappedFunctionType(i));
    }
    EXPECT_EQ(builtIn.size(), types + 1);  // distinct and none empty
    EXPECT_TRUE(GetMappedFunctionType(types).empty());

    YSetMessageStringLoader([](std::uint32_t id) -> YUnicodeString {
        if (id == 0x61380220) {
            return {};  // a table without the text: the built-in one stands in
        }
        return rivode::FromAscii(std::to_string(id & 0xFFFF));
    });
    for (std::size_t i = 0; i < types; ++i) {
        EXPECT_EQ(GetMappedFunctionType(i), rivode::FromAscii(std::to_string(0x210 + i)));
    }
    EXPECT_EQ(GetNewFirewallLabel(), rivode::FromAscii(std::to_string(0x221)));
    EXPECT_FALSE(GetSelectSessionLabel().empty());
    YSetMessageStringLoader(nullptr);
}

}  // namespace
