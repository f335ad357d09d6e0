// The terminal part of a session: how it settles emulations, TN3270 models and the 256-color
// switch after loading.
#include "tests/storage/MemoryKey.h"

#include <RivodeRavudaVU/EmulationNames.h>
#include <RivodeRavudaVU/TerminalConfig.h>

#include <gtest/gtest.h>

#include <optional>

namespace rivode::test {
namespace {

class TerminalConfigTest : public ::testing::Test {
protected:
    ~TerminalConfigTest() override { BuildEmulationNameTables(3); }

    // A record loaded from the stored values.
    TerminalConfig Load() const {
        const auto key = MakeMemoryKey(stored_);
        TerminalConfig record;
        record.Init(key.get());
        return record;
    }
    void Save(TerminalConfig& record) const { ASSERT_TRUE(record.Save(*MakeMemoryKey(stored_))); }
    void Store(std::u16string_view name, MemoryValues::Value value) {
        stored_->values.insert_or_assign(YUnicodeString(name), std::move(value));
    }
    template <class T>
    std::optional<T> Stored(std::u16string_view name) const {
        const T* value = stored_->Find<T>(name);
        return value != nullptr ? std::optional<T>(*value) : std::nullopt;
    }

    std::shared_ptr<MemoryValues> stored_ = std::make_shared<MemoryValues>();
};

TEST_F(TerminalConfigTest, EmulationIsSettledAgainstTheHostsEmulations) {
    const struct {
        std::u16string_view stored;
        int product;
        std::u16string_view loaded;
    } cases[] = {
        {u"VT220", 3, u"VT220"},
        {u"SCO-ANSI", 3, u"SCOANSI"},
        {u"SCOANSI", 1, u"SCOANSI"},
        {u"xterm", 3, u"Xterm"},
        {u"VT9000", 3, u"Xterm"},
        {u"", 3, u"Xterm"},
        {u"Brackenhold", 3, u"Brackenhold"},
        {u"Brackenhold", 6, u"Brackenhold"},
        {u"Brackenhold", 1, u"Xterm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.stored) + " for product " + std::to_string(c.product));
        BuildEmulationNameTables(c.product);
        Store(u"Emulation", YUnicodeString(c.stored));
        TerminalConfig record = Load();
        EXPECT_EQ(record.emulation.Get(), c.loaded);
        EXPECT_FALSE(record.IsChanged());
        Save(record);
        EXPECT_EQ(Stored<YUnicodeString>(u"Emulation"), c.loaded);
    }
}

TEST_F(TerminalConfigTest, Tn3270ScreenFollowsTheModel) {
    const struct {
        std::u16string_view stored;
        std::u16string_view loaded;
        std::uint32_t rows;
        std::uint32_t cols;
    } cases[] = {
        {u"IBM-3278-2", u"IBM-3278-2", 24, 80}, {u"IBM-3278-3", u"IBM-3278-3", 32, 80},
        {u"IBM-3278-4", u"IBM-3278-4", 43, 80}, {u"IBM-3278-5", u"IBM-3278-5", 27, 132},
        {u"IBM-3279-9", u"IBM-3278-2", 24, 80}, {u"ibm-3278-5", u"IBM-3278-2", 24, 80},
    };
    Store(u"Emulation", YUnicodeString(u"TN3270"));
    Store(u"Rows", 50u);
    Store(u"Cols", 200u);
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.stored));
        Store(u"TN3270 Terminal Type", YUnicodeString(c.stored));
        const TerminalConfig record = Load();
        EXPECT_EQ(record.tn3270TerminalType.Get(), c.loaded);
        EXPECT_EQ(record.rows, c.rows);
        EXPECT_EQ(record.cols, c.cols);
    }
    // Other emulations keep their screen and leave the TN3270 type alone.
    Store(u"Emulation", YUnicodeString(u"VT100"));
    const TerminalConfig other = Load();
    EXPECT_EQ(other.rows, 50u);
    EXPECT_EQ(other.tn3270TerminalType.Get(), u"ibm-3278-5");
}

TEST_F(TerminalConfigTest, Xterm256ColorIsDerivedOnlyWhenAbsent) {
    const struct {
        std::optional<std::uint32_t> storedSwitch;
        std::u16string_view emulation;
        std::uint32_t ansiColor;
        std::u16string_view terminalType;
        bool enabled;
        std::u16string_view loadedTerminalType;
        bool usesTerminalType;
    } cases[] = {
        {std::nullopt, u"VT100", 0, u"XTERM-256color", true, u"", false},
        {std::nullopt, u"Xterm", 1, u"vt100", true, u"vt100", true},
        {std::nullopt, u"Xterm", 0, u"vt100", false, u"vt100", true},
        {std::nullopt, u"VT220", 1, u"", false, u"", true},
        {0u, u"VT100", 0, u"Xterm-256color", false, u"Xterm-256color", true},
        {1u, u"VT100", 0, u"", true, u"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.emulation) + " " + ToUtf8(c.terminalType));
        stored_->values.clear();
        if (c.storedSwitch) {
            Store(u"Enable Xterm-256color", *c.storedSwitch);
        }
        Store(u"Emulation", YUnicodeString(c.emulation));
        Store(u"ANSI Color", c.ansiColor);
        Store(u"Terminal Type", YUnicodeString(c.terminalType));
        Store(u"Use Terminal Type", 1u);
        const TerminalConfig record = Load();
        EXPECT_EQ(record.enableXterm256Color, c.enabled);
        EXPECT_EQ(record.terminalType.Get(), c.loadedTerminalType);
        EXPECT_EQ(record.useTerminalType, c.usesTerminalType);
        EXPECT_FALSE(record.IsChanged());
    }
}

TEST_F(TerminalConfigTest, SaveWritesTheTerminalTypeClearedFor256Colors) {
    Store(u"Terminal Type", YUnicodeString(u"xterm-256color"));
    Store(u"Use Terminal Type", 1u);
    TerminalConfig record = Load();
    stored_->values.clear();
    Save(record);
    EXPECT_EQ(Stored<YUnicodeString>(u"Terminal Type"), u"");
    EXPECT_EQ(Stored<std::uint32_t>(u"Use Terminal Type"), 0u);
    EXPECT_EQ(Stored<std::uint32_t>(u"Enable Xterm-256color"), 1u);
}

}  // namespace
}  // namespace rivode::test
