#include "cli/KeyPath.h"

#include <gtest/gtest.h>

#include <optional>

namespace rivode::cli {
namespace {

TEST(KeyPathTest, EmptyNamesAreSkippedAndNamesThatLeaveTheTreeOrAreNotUtf8AreRefused) {
    const std::pair<const char*, std::optional<YStringArray>> cases[] = {
        {"", YStringArray{}},
        {"/\\/", YStringArray{}},
        {"\\Sessions//Work\\", YStringArray{u"Sessions", u"Work"}},
        {"Sessions/Work\\Server 1", YStringArray{u"Sessions", u"Work", u"Server 1"}},
        {"...", YStringArray{u"..."}},
        {".hidden", YStringArray{u".hidden"}},
        {"Sessions\\Caf\xc3\xa9", YStringArray{u"Sessions", u"Caf\u00e9"}},
        {"..", std::nullopt},
        {"Sessions/.", std::nullopt},
        {"Sessions\\\xff\xfe", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        KeyPath path;
        std::string problem;
        EXPECT_EQ(ParseKeyPath(text, path, problem), expected.has_value()) << text;
        EXPECT_EQ(problem.empty(), expected.has_value()) << text << ": " << problem;
        if (expected) {
            EXPECT_EQ(path.names, *expected) << text;
            EXPECT_EQ(path.IsRoot(), expected->empty()) << text;
        }
    }
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
