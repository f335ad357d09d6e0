// rivode keywords.
#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace rivode::test {
namespace {

using nlohmann::json;

class RivodeKeywordTest : public RivodeCommandFixture {
protected:
    RivodeRun Keywords(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "keywords");
        return Rivode(arguments);
    }
};

TEST_F(RivodeKeywordTest, AListIsBuiltAndMatchedAsATerminalWould) {
    Succeed({"keywords", "new", "Errors"});
    Succeed({"keywords", "add", "errors", "ERROR", "--color", "#00FF00"});
    Succeed({"keywords", "add", "errors", "fail\\w+", "--regex"});
    const RivodeRun shown = Keywords({"show", "ERRORS"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out, "ERROR\t#00FF00\t0\nfail\\w+\t#FF0000\t1\n");

    const RivodeRun phrases = Keywords({"match", "Errors", "errors FAILED"});
    EXPECT_EQ(phrases.out, "0\t5\t#00FF00\n7\t6\t#FF0000\n");
    Succeed({"keywords", "set", "Errors", "whole-words", "on"});
    const RivodeRun words = Keywords({"match", "Errors", "errors error"});
    EXPECT_EQ(words.out, "7\t5\t#00FF00\n");

    const RivodeRun json = Keywords({"show", "errors", "--json"});
    EXPECT_EQ(json::parse(json.out)["wholeWords"], true);
}

TEST_F(RivodeKeywordTest, RefusedKeywordsGetTheListsMessageAndChangeNothing) {
    Succeed({"keywords", "new", "Errors"});
    Succeed({"keywords", "set", "Errors", "whole-words", "on"});
    const RivodeRun spaces = Keywords({"add", "Errors", "disk full"});
    EXPECT_EQ(spaces.status, 1);
    EXPECT_NE(spaces.err.find("cannot contain spaces"), std::string::npos);
    EXPECT_EQ(Keywords({"add", "Errors", std::string(257, 'k')}).status, 1);
    Succeed({"keywords", "add", "Errors", std::string(256, 'k')});
    EXPECT_EQ(Keywords({"add", "Errors", std::string(256, 'k')}).status, 1);  // a duplicate
    EXPECT_EQ(Keywords({"add", "Errors", "x", "--color", "green"}).status, 2);
    EXPECT_EQ(Keywords({"set", "Errors", "whole-words", "maybe"}).status, 2);
    EXPECT_EQ(Keywords({"remove", "Errors", "absent"}).status, 1);
    EXPECT_EQ(Keywords({"new", "ERRORS"}).status, 1);
    EXPECT_EQ(Keywords({"show", "Nothing"}).status, 1);
    const RivodeRun shown = Keywords({"show", "Errors"});
    EXPECT_EQ(shown.out, std::string(256, 'k') + "\t#FF0000\t0\n");
}

TEST_F(RivodeKeywordTest, RenameAndDelete) {
    Succeed({"keywords", "new", "Errors"});
    Succeed({"keywords", "rename", "errors", "Faults"});
    EXPECT_EQ(Keywords({"list"}).out, "Faults\n");
    Succeed({"keywords", "delete", "FAULTS"});
    EXPECT_EQ(json::parse(Keywords({"list", "--json"}).out), json::array());
}

}  // namespace
}  // namespace rivode::test
