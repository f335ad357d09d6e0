#include "tests/storage/IniFileTestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace {

// Two versions of one key, different in length and content, both larger than one read: the
// short one holds values 0-119 of letter S, the long one values 0-399 of letter L.
constexpr int kShortVersionValues = 120;
constexpr int kLongVersionValues = 400;

YUnicodeString NameOf(int index) {
    return u"Value " + rivode::FromAscii(std::to_string(index));
}
YUnicodeString TextOf(char16_t letter, int index) {
    return YUnicodeString(static_cast<std::size_t>(index % 40 + 1), letter);
}

void WriteVersion(YProfileStore& store, bool longVersion) {
    YProfileKey key(store.GetRootKey(), u"Sessions\\Shared");
    const int count = longVersion ? kLongVersionValues : kShortVersionValues;
    for (int i = 0; i < kLongVersionValues; ++i) {
        (void)(i < count ? key.SetString(NameOf(i), TextOf(longVersion ? u'L' : u'S', i))
                         : key.DeleteValue(NameOf(i)));
    }
}

// Every read must yield one complete version.
::testing::AssertionResult IsCompleteVersion(YProfileStore& store) {
    YProfileKey key(store.GetRootKey(), u"Sessions\\Shared");
    const auto first = rivode::test::StringOf(key, NameOf(0));
    if (!first || first->empty()) {
        return ::testing::AssertionFailure() << "Value 0 missing";
    }
    const char16_t letter = (*first)[0];
    const int count = letter == u'L' ? kLongVersionValues : kShortVersionValues;
    for (int i = 0; i < kLongVersionValues; ++i) {
        const auto text = rivode::test::StringOf(key, NameOf(i));
        if (text != (i < count ? std::optional(TextOf(letter, i)) : std::nullopt)) {
            return ::testing::AssertionFailure() << "mixed versions at value " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

class IniFileConcurrencyTest : public rivode::test::IniStoreTest {};

TEST_F(IniFileConcurrencyTest, ReaderInAnotherProcessNeverSeesAHalfWrittenFile) {
    WriteVersion(*OpenStore(), false);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1200);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        auto store = OpenStore();
        for (bool longVersion = true; std::chrono::steady_clock::now() < deadline;
             longVersion = !longVersion) {
            WriteVersion(*store, longVersion);
        }
        ::_exit(0);
    }
    auto store = OpenStore();
    int reads = 0, failures = 0;
    for (; std::chrono::steady_clock::now() < deadline && failures < 3; ++reads) {
        const auto result = IsCompleteVersion(*store);
        if (!result) {
            ++failures;
            ADD_FAILURE() << result.message();
        }
    }
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GT(reads, 10);
    EXPECT_TRUE(IsCompleteVersion(*store));
}

}  // namespace
