// The compact state of typed values: names held as numbers of lasting names, which any thread
// may add while others read, and baselines held as immutable blocks shared between values.
#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YProfileWindowPlacement.h>

#include "tests/storage/MemoryKey.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace rivode::test {
namespace {

YUnicodeString NameFor(int thread, int i) {
    const std::string text = "Compact Name " + std::to_string(thread) + "/" + std::to_string(i);
    return YUnicodeString(text.begin(), text.end());
}

TEST(LastingNames, ThreadsAddingAndReadingManyNamesAgreeOnEveryNumber) {
    // More names than one chunk of the table holds, added from several threads at once (each
    // thread adds its own and the shared ones) while every thread reads back what it got.
    constexpr int kThreads = 4;
    constexpr int kNames = 1500;
    std::vector<std::vector<std::uint32_t>> shared(kThreads);
    std::vector<int> wrongTexts(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &shared, &wrongTexts] {
            for (int i = 0; i < kNames; ++i) {
                const YUnicodeString own = NameFor(t, i);
                const YUnicodeString common = NameFor(kThreads, i);
                const YLastingName ownName(own);
                const YLastingName commonName(common);
                shared[t].push_back(commonName.GetIndex());
                wrongTexts[t] += ownName.GetText() != own;
                wrongTexts[t] += YLastingName::TextOf(commonName.GetIndex()) != common;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(wrongTexts[t], 0) << "thread " << t;
        EXPECT_EQ(shared[t], shared[0]) << "one number per name, whichever thread asked first";
    }
    EXPECT_EQ(&GetLastingName(NameFor(1, 7)), &YLastingName(NameFor(1, 7)).GetText());
}

TEST(LastingNames, ValuesNamedByStringOrUnnamedReadTheirNames) {
    YProfile<bool> unnamed;
    EXPECT_EQ(unnamed.GetName(), u"");
    YProfileString named(u"Compact Title", u"");
    EXPECT_EQ(named.GetName(), u"Compact Title");
    EXPECT_EQ(&named.GetName(), &GetLastingName(u"Compact Title"));

    // The flags share a byte: setting one leaves the others.
    named.SetSecondFlag(false);
    EXPECT_FALSE(named.GetSecondFlag());
    EXPECT_FALSE(named.IsPending());
    named = u"edited";
    named.Commit();
    EXPECT_TRUE(named.IsPending());
    EXPECT_FALSE(named.GetSecondFlag());
}

// Records are copied from one made with every default, long paths among them: a text loaded
// over such a copy must not keep the room of the default it replaced.
TEST(TextBaseline, InitGivesUpTheRoomOfTheTextHeldBefore) {
    auto stored = std::make_shared<MemoryValues>();
    auto key = MakeMemoryKey(stored);
    key->SetString(u"Short Text", u"ab");
    const YUnicodeString longText(200, u'x');
    YProfileString value;
    value = longText;
    EXPECT_TRUE(value.Init(key.get(), u"Short Text", u""));
    EXPECT_EQ(value, u"ab");
    EXPECT_LT(value.capacity(), longText.size());
    value = longText;
    EXPECT_FALSE(value.Init(key.get(), u"Absent Text", u"d"));
    EXPECT_EQ(value, u"d");
    EXPECT_LT(value.capacity(), longText.size());
}

TEST(TextBaseline, CommitRevertAndCopiesKeepEveryKindOfText) {
    const YUnicodeString withNul(u"a\0b", 3);
    const std::vector<YUnicodeString> texts = {
        u"", u"x", u"seven77", u"a text longer than the string's inline buffer", withNul};
    for (const YUnicodeString& before : texts) {
        for (const YUnicodeString& after : texts) {
            SCOPED_TRACE(std::string(before.begin(), before.end()) + " -> " +
                         std::string(after.begin(), after.end()));
            YProfileString value(u"Compact Text", before);
            value = after;
            EXPECT_EQ(value.IsChanged(), before != after);

            // A clone keeps the baseline and stays apart from the original.
            YProfileString clone(value);
            value.Commit();
            EXPECT_EQ(value.GetBaseline(), after);
            EXPECT_EQ(clone.GetBaseline(), before);
            clone.Revert();
            EXPECT_EQ(clone.Get(), before);
            EXPECT_FALSE(clone.IsChanged());

            value = before;
            value.Revert();
            EXPECT_EQ(value.Get(), after);
        }
    }
}

TEST(TextBaseline, ASaveOrLoadTakesTheTextAsBaseline) {
    auto stored = std::make_shared<MemoryValues>();
    auto key = MakeMemoryKey(stored);
    key->SetString(u"Compact Host", u"host.example.org");
    YProfileString value(u"Compact Host", u"");
    EXPECT_TRUE(value.Load(key.get()));
    EXPECT_EQ(value.GetBaseline(), u"host.example.org");
    value = u"";
    EXPECT_TRUE(value.IsChanged());
    EXPECT_TRUE(value.Save(*key));
    EXPECT_EQ(value.GetBaseline(), u"");
    EXPECT_FALSE(value.IsChanged());
    EXPECT_EQ(*stored->Find<YUnicodeString>(u"Compact Host"), u"");
}

TEST(SharedBaseline, ValuesSharingABaselineKeepTheirOwnWhenOneMovesOn) {
    YProfileString first(u"Compact Shared", u"same text in many records");
    YProfileString second(u"Compact Shared", u"same text in many records");
    first = u"moved on";
    first.Commit();
    EXPECT_EQ(second.GetBaseline(), u"same text in many records");
    EXPECT_FALSE(second.IsChanged());

    YWindowPlacement placement;
    placement.showCommand = 3;
    YProfile2<YWindowPlacement, YProfileBinary> window(u"Compact Window", placement);
    YProfile2<YWindowPlacement, YProfileBinary> clone(window);
    placement.showCommand = 1;
    window = placement;
    window.Commit();
    EXPECT_EQ(window.GetBaseline().showCommand, 1);
    EXPECT_EQ(clone.GetBaseline().showCommand, 3);
    clone = placement;
    EXPECT_TRUE(clone.IsChanged());
    clone.Revert();
    EXPECT_EQ(clone.Get().showCommand, 3);

    YEncryptedString cipher;
    cipher.SetEncryptedText(u"02:00ff");
    YProfileEncryptedString secret(u"Compact Secret", cipher);
    secret.SetEncryptedText(u"02:11ee");
    EXPECT_TRUE(secret.IsChanged());
    secret.Revert();
    EXPECT_EQ(secret.GetEncryptedText(), u"02:00ff");
    EXPECT_FALSE(secret.IsChanged());
}

TEST(SharedBaseline, ThreadsMakingCopyingAndDroppingTheSameTextsKeepThemIntact) {
    // Records of several threads hold the same texts; each block is freed by whichever thread
    // drops it last.
    constexpr int kThreads = 4;
    std::vector<int> wrong(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &wrong] {
            for (int i = 0; i < 2000; ++i) {
                const YUnicodeString text = NameFor(kThreads, i % 7);
                YProfileString value(u"Compact Shared", text);
                const YProfileString copy(value);
                value = NameFor(kThreads, (i + 1) % 7);
                value.Commit();
                wrong[t] += copy.GetBaseline() != text;
                wrong[t] += value.GetBaseline() != NameFor(kThreads, (i + 1) % 7);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<int>(kThreads, 0));
}

}  // namespace
}  // namespace rivode::test
