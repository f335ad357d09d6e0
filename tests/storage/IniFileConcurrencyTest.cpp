#include "tests/storage/IniFileTestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace {

// Two versions of one key, different in length and content, both larger than one read.
constexpr int kShortVersionValues = 120;
constexpr int kLongVersionValues = 400;

YUnicodeString Text(char16_t letter, int index) {
    return YUnicodeString(static_cast<std::size_t>(index % 40 + 1), letter);
}

void WriteVersion(YProfileStore& store, bool longVersion) {
    YProfileKey key(store.GetRootKey(), u"Sessions\\Shared");
    const int count = longVersion ? kLongVersionValues : kShortVersionValues;
    const char16_t letter = longVersion ? u'L' : u'S';
    for (int i = 0; i < kLongVersionValues; ++i) {
        const YUnicodeString name = u"Value " + rivode::FromAscii(std::to_string(i));
        if (i < count) {
            (void)key.SetString(name, Text(letter, i));
        } else {
            (void)key.DeleteValue(name);
        }
    }
}

// Every read must yield one complete version: all values of the same letter, as many as that
// version holds.
::testing::AssertionResult IsCompleteVersion(YProfileStore& store) {
    YProfileKey key(store.GetRootKey(), u"Sessions\\Shared");
    YUnicodeString first;
    if (!key.GetString(u"Value 0", first) || first.empty()) {
        return ::testing::AssertionFailure() << "Value 0 missing";
    }
    const char16_t letter = first[0];
    const int count = letter == u'L' ? kLongVersionValues : kShortVersionValues;
    for (int i = 0; i < kLongVersionValues; ++i) {
        YUnicodeString text;
        const bool found = key.GetString(u"Value " + rivode::FromAscii(std::to_string(i)), text);
        if (found != (i < count) || (found && text != Text(letter, i))) {
            return ::testing::AssertionFailure() << "mixed versions at value " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

class IniFileConcurrencyTest : public rivode::test::IniStoreTest {};

TEST_F(IniFileConcurrencyTest, ReaderNeverSeesAHalfWrittenFile) {
    {
        auto store = OpenStore();
        WriteVersion(*store, false);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1200);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        auto store = OpenStore();
        bool longVersion = true;
        while (std::chrono::steady_clock::now() < deadline) {
            WriteVersion(*store, longVersion);
            longVersion = !longVersion;
        }
        ::_exit(0);
    }
    auto store = OpenStore();
    int reads = 0;
    int failures = 0;
    while (std::chrono::steady_clock::now() < deadline && failures < 3) {
        const auto result = IsCompleteVersion(*store);
        if (!result) {
            ++failures;
            ADD_FAILURE() << result.message();
        }
        ++reads;
    }
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GT(reads, 10);
    EXPECT_TRUE(IsCompleteVersion(*store));
}

}  // namespace
