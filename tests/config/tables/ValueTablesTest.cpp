// One check over every value table: each row's marks hold for its value. Rows are not restated
// here; what is checked is what the marks promise (a derived row has its derivation, a renamed
// row is read from its older name and written under its name, a retired row is never written, a
// personal row is one the store puts in the personal-data file, names are unique in their key).
#include "tests/config/global/GlobalConfigTestSupport.h"
#include "tests/storage/MemoryKey.h"

#include <RivodeRavudaVU/CredentialDatabase.h>
#include <RivodeRavudaVU/FirewallConfig.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/ProfileFolderData.h>
#include <RivodeRavudaVU/SessionConfig.h>

#include "products/ProtocolModuleTable.h"
#include "storage/ini/IniValueTable.h"

#include <functional>
#include <map>
#include <set>

namespace rivode::test {
namespace {

using RowVisit = std::function<void(YProfileData&, const YValueRowInfo&)>;

// A record with its table, loaded and saved as records load and save their table rows.
class TableUnderTest {
public:
    virtual ~TableUnderTest() = default;
    virtual void Load(const YProfileKey* key) = 0;
    virtual bool Save(const YProfileKey& key) = 0;
    virtual bool IsChanged() = 0;
    virtual void ForEachRow(const RowVisit& visit) = 0;
};

template <class Holder>
class RecordTable : public TableUnderTest {
public:
    explicit RecordTable(Holder holder) : holder_(std::move(holder)) {}
    void Load(const YProfileKey* key) override {
        Record().Table().Init(Record(), key);
        Record().Table().ApplyLoadRules(Record(), key);
    }
    bool Save(const YProfileKey& key) override { return Record().Table().Save(Record(), key); }
    bool IsChanged() override { return Record().Table().IsChanged(Record()); }
    void ForEachRow(const RowVisit& visit) override {
        Record().Table().ForEachRow(Record(), visit);
    }

private:
    auto& Record() { return *holder_; }
    Holder holder_;
};

template <class Holder>
std::function<std::unique_ptr<TableUnderTest>()> Make(std::function<Holder()> make) {
    return [make] { return std::make_unique<RecordTable<Holder>>(make()); };
}
template <class Record, class... Arguments>
std::function<std::unique_ptr<TableUnderTest>()> Plain(Arguments... arguments) {
    return Make<std::unique_ptr<Record>>([=] { return std::make_unique<Record>(arguments...); });
}

struct TableCase {
    const char* table;
    // Tables of one key share it: their names must differ.
    const char* key;
    std::function<std::unique_ptr<TableUnderTest>()> make;
};

std::vector<TableCase> EveryTable() {
    return {
        {"session", "session", Make<YRefPtr<SessionConfig>>(&CreateSessionConfig)},
        {"terminal", "session", Plain<TerminalConfig>()},
        {"remote host", "session", Plain<RemoteHostConfig>()},
        {"printer", "session", Plain<PrinterConfig>()},
        {"global", "global", Make<YRefPtr<GlobalConfig>>([] {
             return MakeYRef<GlobalConfig>(nullptr, 3, true, true);
         })},
        {"terminal product", "global", Plain<GlobalProductConfig>(nullptr, 3)},
        {"file-transfer product", "global", Plain<GlobalProductConfig>(nullptr, 6)},
        {"editor", "global", Plain<GlobalEditorConfig>()},
        {"user interface", "global", Plain<GlobalGuiConfig>()},
        {"printer", "global", Plain<PrinterConfig>()},
        {"Ferrule product", "Ferrule's global", Plain<GlobalProductConfig>(nullptr, 9)},
        {"QuickSync", "QuickSync", Plain<QuickSyncConfig>()},
        {"firewall", "firewall",
         Make<YRefPtr<FirewallConfig>>([] { return CreateFirewallConfig(u"Proxy"); })},
        {"saved credential", "credential", Plain<SavedCredential>()},
        {"folder data", "folder data", Plain<ProfileFolderData>()},
    };
}

class ValueTablesTest : public GlobalConfigTest {
protected:
    // The values of a table saved from a record loaded without a store.
    std::shared_ptr<MemoryValues> SaveDefaults(const TableCase& c) {
        auto stored = std::make_shared<MemoryValues>();
        const auto record = c.make();
        record->Load(nullptr);
        EXPECT_FALSE(record->IsChanged());
        EXPECT_TRUE(record->Save(*MakeMemoryKey(stored)));
        return stored;
    }
    // What a record loaded from stored writes into a key of its own.
    std::shared_ptr<MemoryValues> Resave(const TableCase& c,
                                         const std::shared_ptr<MemoryValues>& stored) {
        auto written = std::make_shared<MemoryValues>();
        const auto record = c.make();
        record->Load(MakeMemoryKey(stored).get());
        EXPECT_FALSE(record->IsChanged());
        (void)record->Save(*MakeMemoryKey<YProfileCopyKey>(written));
        return written;
    }
};

bool IsPersonalName(std::u16string_view name) {
    return storage::FindPersonalValue(name) >= 0;
}

TEST_F(ValueTablesTest, EveryRowKeepsWhatItsMarksPromise) {
    std::map<std::string, std::map<YUnicodeString, std::string>> namesByKey;
    for (const TableCase& c : EveryTable()) {
        SCOPED_TRACE(c.table);
        const auto defaults = SaveDefaults(c);
        const auto resaved = Resave(c, defaults);
        auto record = c.make();
        record->Load(MakeMemoryKey(defaults).get());
        std::size_t rows = 0;
        record->ForEachRow([&](YProfileData& value, const YValueRowInfo& row) {
            if (row.name.empty()) {
                return;  // a record of its own, with a table of its own
            }
            ++rows;
            const YUnicodeString name(row.name);
            const YUnicodeString older(row.marks.olderName);
            SCOPED_TRACE(ToUtf8(name));
            EXPECT_EQ(value.GetName(), name);
            const auto [other, unique] = namesByKey[c.key].emplace(name, c.table);
            EXPECT_TRUE(unique) << "also a value of the " << other->second << " table";

            // Each rule that a mark names is there, and only with its mark.
            EXPECT_EQ(row.hasDerivation, row.IsMarked(kValueDerived));
            EXPECT_EQ(row.hasUpgrade, row.IsMarked(kValueUpgraded));
            EXPECT_EQ(row.hasSettling, row.IsMarked(kValueSettled));
            EXPECT_EQ(!older.empty(), row.IsMarked(kValueRenamed) || row.IsMarked(kValueUpgraded));
            EXPECT_NE(older, name);
            EXPECT_FALSE(row.IsMarked(kValueRenamed) && row.IsMarked(kValueUpgraded));

            // The store decides where personal values go; the row must agree with it, and so
            // must the older name a personal value is read from.
            EXPECT_EQ(row.IsMarked(kValuePersonal), IsPersonalName(name));
            if (row.IsMarked(kValuePersonal) && !older.empty()) {
                EXPECT_TRUE(IsPersonalName(older)) << ToUtf8(older);
            }

            // A first save writes every value but those never written, not held or built in
            // (and those whose type stores nothing for them, as an empty block); older names
            // are never written.
            const auto alone = std::make_shared<MemoryValues>();
            (void)value.Save(*MakeMemoryKey<YProfileCopyKey>(alone));
            const bool written = alone->Has(name) && !row.IsMarked(kValueRetired) &&
                                 !row.IsMarked(kValueKeptOnlyWhenStored) &&
                                 !row.IsMarked(kValueBuiltInUntilEdited);
            EXPECT_EQ(defaults->Has(name), written);
            EXPECT_EQ(resaved->Has(name), written || row.IsMarked(kValueBuiltInUntilEdited));
            if (!older.empty()) {
                EXPECT_FALSE(defaults->Has(older));
                EXPECT_FALSE(resaved->Has(older));
            }
            // What was written reads back as itself: stored values win over derivations and
            // settle to themselves.
            if (written && defaults->Has(name) && resaved->Has(name)) {
                EXPECT_TRUE(value.IsFromStore());
                EXPECT_TRUE(resaved->values.find(name)->second ==
                            defaults->values.find(name)->second);
            }
        });
        EXPECT_GT(rows, 0u);
    }
}

TEST_F(ValueTablesTest, RenamedRowsReadTheirOlderNameAndWriteTheirName) {
    std::size_t renamed = 0;
    for (const TableCase& c : EveryTable()) {
        SCOPED_TRACE(c.table);
        const auto defaults = SaveDefaults(c);
        c.make()->ForEachRow([&](YProfileData&, const YValueRowInfo& row) {
            if (!row.IsMarked(kValueRenamed)) {
                return;
            }
            ++renamed;
            SCOPED_TRACE(ToUtf8(YUnicodeString(row.name)));
            auto stored = std::make_shared<MemoryValues>(*defaults);
            stored->values.emplace(YUnicodeString(row.marks.olderName),
                                   stored->values.at(YUnicodeString(row.name)));
            stored->values.erase(YUnicodeString(row.name));
            const auto record = c.make();
            record->Load(MakeMemoryKey(stored).get());
            record->ForEachRow([&](YProfileData& value, const YValueRowInfo& other) {
                if (other.name == row.name) {
                    EXPECT_TRUE(value.IsFromStore());
                }
            });
            auto written = std::make_shared<MemoryValues>();
            (void)record->Save(*MakeMemoryKey(written));
            EXPECT_TRUE(written->Has(row.name));
            EXPECT_FALSE(written->Has(row.marks.olderName));
        });
    }
    EXPECT_GT(renamed, 0u);
}

// Retired values and those kept only when stored are read like any value; what differs is
// whether a record that read them writes them again.
TEST_F(ValueTablesTest, ValuesHeldOnlyForOlderRecordsAreWrittenOnlyAsMarked) {
    std::size_t marked = 0;
    for (const TableCase& c : EveryTable()) {
        SCOPED_TRACE(c.table);
        auto stored = SaveDefaults(c);
        // Each such value stored as a record would store it.
        const auto source = c.make();
        source->Load(nullptr);
        source->ForEachRow([&](YProfileData& value, const YValueRowInfo& row) {
            if (row.IsMarked(kValueRetired) || row.IsMarked(kValueKeptOnlyWhenStored)) {
                ++marked;
                EXPECT_TRUE(value.Save(*MakeMemoryKey<YProfileCopyKey>(stored)));
            }
        });
        const auto written = Resave(c, stored);
        source->ForEachRow([&](YProfileData&, const YValueRowInfo& row) {
            if (row.IsMarked(kValueRetired)) {
                EXPECT_FALSE(written->Has(row.name)) << ToUtf8(YUnicodeString(row.name));
            } else if (row.IsMarked(kValueKeptOnlyWhenStored)) {
                EXPECT_TRUE(written->Has(row.name)) << ToUtf8(YUnicodeString(row.name));
            }
        });
    }
    EXPECT_GT(marked, 0u);
}

// The tables that are looked up by name: each name finds one row, compared as the look-up
// compares it (protocols without regard to case, firewall types exactly).
TEST(LookupTablesTest, EachNameFindsOneRow) {
    std::map<int, std::set<YUnicodeString>> protocols;
    for (const ProtocolModuleRow& row : GetProtocolModuleRows()) {
        EXPECT_TRUE(protocols[static_cast<int>(row.product)].insert(ToUpperSimple(row.name)).second)
            << ToUtf8(row.name);
        EXPECT_NE(YUnicodeString(row.moduleFile), u"") << ToUtf8(row.name);
    }
    std::set<std::u16string_view> firewallTypes;
    int code = 0;
    for (const FirewallType& type : GetFirewallTypes()) {
        EXPECT_EQ(type.code, code++);
        EXPECT_TRUE(firewallTypes.insert(type.name).second) << ToUtf8(YUnicodeString(type.name));
        EXPECT_EQ(FindFirewallType(type.name), &type);
    }
    EXPECT_EQ(FindFirewallType(u"socksv5"), nullptr);
    EXPECT_EQ(FindFirewallType(u""), nullptr);
}

}  // namespace
}  // namespace rivode::test
