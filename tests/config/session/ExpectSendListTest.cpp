// The logon script's plaintext forms: the current list and the older alternating lines.
#include <RivodeRavudaVU/ProfileExpectSendList.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

TEST(ExpectSendList, TheListFormKeepsEveryCharacterAndFlag) {
    const ExpectSendPairs pairs = {
        {u"ogin:", u"me\\r", false}, {u"a\tb\r\nc", u"", true}, {u"", u"now", false}};
    EXPECT_EQ(ProfileExpectSendList::Format(pairs),
              u"ogin:\tme\\\\r\t0\na\\tb\\r\\nc\t\t1\n\tnow\t0\n");
    EXPECT_EQ(ProfileExpectSendList::Parse(ProfileExpectSendList::Format(pairs)), pairs);
    EXPECT_EQ(ProfileExpectSendList::Parse(u"only expect\r\nx\ty"),
              (ExpectSendPairs{{u"only expect", u""}, {u"x", u"y"}}));
}

TEST(ExpectSendList, OlderScriptsAlternateExpectAndSendLines) {
    struct Case {
        std::u16string_view text;
        ExpectSendPairs pairs;
        bool initialReturn;
    };
    const Case cases[] = {
        {u"", {}, false},
        {u"\r\n", {}, true},
        {u"ogin:\r\nme\r\nword:\r\npw\r\n", {{u"ogin:", u"me"}, {u"word:", u"pw"}}, false},
        {u"\nogin:\nme\nprompt", {{u"ogin:", u"me"}, {u"prompt", u""}}, true},
        {u"\r\rsend at once", {{u"", u"send at once"}}, true},
    };
    for (const Case& test : cases) {
        bool initialReturn = !test.initialReturn;
        EXPECT_EQ(ProfileExpectSendList::ParseOlderScript(test.text, initialReturn), test.pairs);
        EXPECT_EQ(initialReturn, test.initialReturn);
    }
}

}  // namespace
}  // namespace rivode::test
