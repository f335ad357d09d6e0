// The rules of firewall values that need no store: proxy commands, "Session:" names and the
// combo-box contents.
#include <RivodeRavudaVU/FirewallDatabase.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <DavaraZE/YLabels.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

TEST(ProxyCommandTest, OnlyHostPortAndDoubledPercentFollowAPercentSign) {
    const struct {
        std::u16string_view command;
        bool accepted;
    } cases[] = {
        {u"nc %h %p", true},
        {u"connect %H:%P", true},
        {u"echo 100%%", true},      // ends in a doubled percent sign
        {u"%%h is literal", true},  // the doubled sign is consumed before the h
        {u"plain", true},
        {u"nc %x", false},
        {u"nc %h %", false},  // nothing follows the last percent sign
        {u"100%%%", false},   // a doubled sign, then a lone one
        {u"%d", false},
        {u"% h", false},
    };
    for (const auto& c : cases) {
        YReportMessageParams report;
        EXPECT_EQ(ValidateProxyCommand(c.command, report), c.accepted) << ToUtf8(c.command);
        EXPECT_EQ(report.GetMessageId(), c.accepted ? 0u : msg::ProxyCommandBadPercent)
            << ToUtf8(c.command);
    }
}

TEST(FirewallValuesTest, AProxyCommandFirewallIsCheckedAndNoneIsNoType) {
    const YRefPtr<FirewallConfig> firewall = CreateFirewallConfig(u"P");
    YReportMessageParams report;
    EXPECT_FALSE(ValidateFirewallValues(*firewall, report));  // default type "None"
    EXPECT_EQ(report.GetMessageId(), msg::FirewallTypeUnknown);

    firewall->type = YUnicodeString(kProxyCommandType);
    firewall->proxyCommand = YUnicodeString(u"ssh jump -W %h:%z");
    report = {};
    EXPECT_FALSE(ValidateFirewallValues(*firewall, report));
    EXPECT_EQ(report.GetMessageId(), msg::ProxyCommandBadPercent);

    // Another type keeps whatever its unused command field holds.
    firewall->type = YUnicodeString(u"HTTP");
    EXPECT_TRUE(ValidateFirewallValues(*firewall, report));
}

TEST(SessionFirewallNameTest, ThePrefixCountsOnlyWithAPathAfterIt) {
    EXPECT_EQ(GetSessionFirewallPath(u"Session:Work\\Jump"), YUnicodeString(u"Work\\Jump"));
    EXPECT_EQ(GetSessionFirewallPath(u"sEsSiOn:x"), YUnicodeString(u"x"));
    EXPECT_FALSE(GetSessionFirewallPath(u"Session:").has_value());
    EXPECT_FALSE(GetSessionFirewallPath(u"Session").has_value());
    EXPECT_FALSE(GetSessionFirewallPath(u"Session;x").has_value());
}

TEST(FirewallComboBoxTest, ASessionFirewallAddsItsPathAndSelectsIt) {
    const YStringArray names{u"None", u"Corp"};
    const FirewallComboBoxContents contents =
        BuildFirewallComboBoxContents(u"Session:Work\\Jump", names, true);
    ASSERT_EQ(contents.entries.size(), 5u);
    EXPECT_EQ(contents.entries[2], u"Work\\Jump");
    EXPECT_EQ(contents.sessionEntry, std::optional<std::size_t>(2));
    EXPECT_EQ(contents.selected, 2u);
    EXPECT_EQ(contents.entries[3], GetSelectSessionLabel());
    EXPECT_EQ(contents.entries[4], GetNewFirewallLabel());
}

TEST(FirewallComboBoxTest, TheBarePrefixIsAFirewallNameAndTheNewEntryIsOptional) {
    const YStringArray names{u"None", u"Session:", u"Corp"};
    FirewallComboBoxContents contents = BuildFirewallComboBoxContents(u"Session:", names, false);
    EXPECT_FALSE(contents.sessionEntry.has_value());
    EXPECT_EQ(contents.selected, 1u);
    EXPECT_EQ(contents.entries.size(), 4u);
    EXPECT_EQ(contents.entries.back(), GetSelectSessionLabel());

    contents = BuildFirewallComboBoxContents(u"corp", names, false);
    EXPECT_EQ(contents.selected, 2u);
}

}  // namespace
}  // namespace rivode::test
