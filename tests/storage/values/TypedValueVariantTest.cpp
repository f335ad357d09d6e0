// The scripting forms of typed values: variants, property bags, conversions and their reports.
#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileTabState.h>
#include <RivodeRavudaVU/YProfileWindowPlacement.h>
#include <RivodeRavudaVU/YPropertyBag.h>

#include <gtest/gtest.h>

namespace rivode::test {
namespace {

constexpr std::uint32_t kConversionFailed = 0xE104006B;
constexpr std::uint32_t kFormUnsupported = 0xE104006A;

class TypedValueVariant : public ::testing::Test {
protected:
    void ExpectReport(std::uint32_t id, std::u16string_view name) {
        EXPECT_EQ(report.GetMessageId(), id);
        ASSERT_EQ(report.GetStrings().size(), 1u);
        EXPECT_EQ(report.GetStrings()[0], name);
    }

    YReportMessageParams report;
};

TEST_F(TypedValueVariant, VariantConversionsFollowScriptingRules) {
    std::int64_t number = 0;
    EXPECT_TRUE(YVariant(u" 42 ").ToInteger(number));
    EXPECT_EQ(number, 42);
    EXPECT_TRUE(YVariant::FromBool(true).ToInteger(number));
    EXPECT_EQ(number, -1);
    EXPECT_TRUE(YVariant().ToInteger(number));
    EXPECT_EQ(number, 0);
    for (const YVariant& bad : {YVariant(u"abc"), YVariant(u""), YVariant(u"4 2"),
                                YVariant(u"99999999999999999999"), YVariant(YVariant::List{})}) {
        EXPECT_FALSE(bad.ToInteger(number));
    }

    YUnicodeString text;
    EXPECT_TRUE(YVariant(std::int32_t{-7}).ToText(text));
    EXPECT_EQ(text, u"-7");
    EXPECT_TRUE(YVariant(std::uint32_t{4000000000u}).ToText(text));
    EXPECT_EQ(text, u"4000000000");
    EXPECT_TRUE(YVariant::FromBool(false).ToText(text));
    EXPECT_EQ(text, u"False");

    bool flag = false;
    EXPECT_TRUE(YVariant(u"true").ToBool(flag));
    EXPECT_TRUE(flag);
    EXPECT_FALSE(YVariant(u"yes").ToBool(flag));
}

TEST_F(TypedValueVariant, NumbersGiveAndTakeTheNumberForm) {
    YProfile<bool> flag(u"Log Mode", true);
    YVariant variant;
    ASSERT_TRUE(flag.GetNumberVariant(variant, report));
    EXPECT_EQ(variant.GetKind(), YVariant::Kind::Bool);
    EXPECT_EQ(variant.GetAutomationBool(), -1);

    YProfile<short> rows(u"Rows", 24);
    ASSERT_TRUE(rows.SetNumberVariant(YVariant(u"42"), report));
    EXPECT_EQ(rows, 42);
    EXPECT_FALSE(rows.SetNumberVariant(YVariant(u"abc"), report));
    ExpectReport(kConversionFailed, u"Rows");
    EXPECT_FALSE(rows.SetNumberVariant(YVariant(std::int32_t{70000}), report));
    EXPECT_EQ(rows, 42) << "a failed conversion leaves the value unchanged";

    YProfile<unsigned int> count(u"Count", 0);
    EXPECT_FALSE(count.SetNumberVariant(YVariant(std::int32_t{-1}), report));
    YProfile<YTriState> tri(u"Tri", YTriState::Off);
    EXPECT_FALSE(tri.SetNumberVariant(YVariant(std::int32_t{3}), report));
    ASSERT_TRUE(tri.SetNumberVariant(YVariant(std::int32_t{2}), report));
    EXPECT_EQ(tri, YTriState::Global);

    EXPECT_FALSE(rows.GetTextVariant(variant, report));
    ExpectReport(kFormUnsupported, u"Rows");
}

TEST_F(TypedValueVariant, TextsAndListsGiveAndTakeTheTextForm) {
    YProfileString title(u"Title Bar", u"");
    ASSERT_TRUE(title.SetTextVariant(YVariant(std::int32_t{17}), report));
    EXPECT_EQ(title, u"17");
    EXPECT_FALSE(title.SetNumberVariant(YVariant(std::int32_t{17}), report));
    ExpectReport(kFormUnsupported, u"Title Bar");

    YProfileStringList list(u"Status Bar Item List", {u"Emulation", u"Elapsed Time"});
    YVariant variant;
    ASSERT_TRUE(list.GetTextVariant(variant, report));
    ASSERT_EQ(variant.GetKind(), YVariant::Kind::List);
    EXPECT_EQ(variant.GetList()[1], YVariant(u"Elapsed Time"));

    const YVariant nested(YVariant::List{YVariant(u"a"), YVariant(YVariant::List{})});
    EXPECT_FALSE(list.SetTextVariant(nested, report));
    ExpectReport(kConversionFailed, u"Status Bar Item List");
    EXPECT_EQ(list.size(), 2u);

    YProfileTabState tabs(u"Quillterm Tab State V2", YTabState{});
    ASSERT_TRUE(tabs.SetTextVariant(YVariant(u"0,1,4;2"), report));
    EXPECT_EQ(tabs.number, 4);
    EXPECT_FALSE(tabs.SetTextVariant(YVariant(u"garbage;"), report));
    EXPECT_EQ(tabs.number, 4);

    YProfileWindowPlacement placement(u"Window Placement", YWindowPlacement{});
    EXPECT_FALSE(placement.GetTextVariant(variant, report));
    ExpectReport(kFormUnsupported, u"Window Placement");
}

TEST_F(TypedValueVariant, PropertyBagLoadsValueAsBaselineAndReceivesIt) {
    YPropertyBag bag;
    ASSERT_TRUE(bag.Write(u"Idle Timeout", YVariant(u"900"), report));
    YProfile<int> timeout(u"Idle Timeout", 300);
    timeout.Init(nullptr, u"Idle Timeout", 300);
    ASSERT_TRUE(timeout.LoadFromBag(bag, report));
    EXPECT_EQ(timeout, 900);
    EXPECT_FALSE(timeout.IsChanged());
    EXPECT_FALSE(timeout.IsPending());

    YProfile<int> missing(u"Absent", 1);
    EXPECT_FALSE(missing.LoadFromBag(bag, report));
    EXPECT_FALSE(report.IsSuccess());

    YProfileString title(u"Title Bar", u"t");
    ASSERT_TRUE(title.PutTextToBag(bag, report));
    ASSERT_TRUE(timeout.PutNumberToBag(bag, report));
    EXPECT_EQ(*bag.Find(u"Title Bar"), YVariant(u"t"));
    EXPECT_EQ(*bag.Find(u"Idle Timeout"), YVariant(std::int32_t{900}));
    EXPECT_FALSE(title.PutNumberToBag(bag, report));
    EXPECT_EQ(bag.GetCount(), 2u);
}

}  // namespace
}  // namespace rivode::test
