#include "cli/KeyPath.h"

#include <gtest/gtest.h>

namespace rivode::cli {
namespace {

KeyPath Parsed(std::string_view text) {
    KeyPath path;
    std::string problem;
    EXPECT_TRUE(ParseKeyPath(text, path, problem)) << text << ": " << problem;
    return path;
}

bool Refused(std::string_view text) {
    KeyPath path;
    std::string problem;
    const bool accepted = ParseKeyPath(text, path, problem);
    EXPECT_EQ(accepted, problem.empty()) << text;
    return !accepted;
}

TEST(KeyPathTest, BackslashAndSlashBothSeparateKeyNames) {
    const YStringArray expected{u"Sessions", u"Work", u"Server 1"};
    EXPECT_EQ(Parsed("Sessions\\Work\\Server 1").names, expected);
    EXPECT_EQ(Parsed("Sessions/Work/Server 1").names, expected);
    EXPECT_EQ(Parsed("Sessions/Work\\Server 1").names, expected);
}

TEST(KeyPathTest, EmptyNamesAreIgnoredSoEveryEmptyFormIsTheRoot) {
    for (const char* root : {"", "\\", "/", "\\\\", "/\\/"}) {
        EXPECT_TRUE(Parsed(root).IsRoot()) << root;
    }
    EXPECT_EQ(Parsed("\\Sessions//Work\\").names, (YStringArray{u"Sessions", u"Work"}));
}

TEST(KeyPathTest, DotNamesThatWouldLeaveTheTreeAreRefused) {
    EXPECT_TRUE(Refused(".."));
    EXPECT_TRUE(Refused("Sessions\\..\\..\\etc"));
    EXPECT_TRUE(Refused("Sessions/."));
    EXPECT_EQ(Parsed("...").names, YStringArray{u"..."});
    EXPECT_EQ(Parsed(".hidden").names, YStringArray{u".hidden"});
}

TEST(KeyPathTest, TextThatIsNotUtf8IsRefused) {
    EXPECT_TRUE(Refused("Sessions\\\xff\xfe"));
    EXPECT_EQ(Parsed("Sessions\\Caf\xc3\xa9").names, (YStringArray{u"Sessions", u"Caf\u00e9"}));
}

TEST(KeyPathTest, PortableNamesExcludeWhatSomeFileSystemCannotHold) {
    for (const char16_t* name : {u"Server 1", u"Caf\u00e9", u"a.b", u"x-y_z", u"COM10"}) {
        EXPECT_TRUE(IsPortableKeyName(name)) << ToUtf8(name);
    }
    for (const char16_t* name : {u"", u"a:b", u"a?b", u"a*b", u"a<b", u"a>b", u"a|b", u"a\"b",
                                 u"tab\t", u"trail.", u"trail "}) {
        EXPECT_FALSE(IsPortableKeyName(name)) << ToUtf8(name);
    }
}

}  // namespace
}  // namespace rivode::cli
