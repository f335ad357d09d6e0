// Declaring a record's typed values once, as a table: one row a value (member, name, default,
// and the marks that say how the value departs from the plain rule). Loading, saving, comparing,
// committing, reverting and copying are then generic over the table, and so are the marked
// exceptions: an older name read when the name is absent, an older stored form converted at
// load, a default derived at load, a correction after load, a value never written again.
//
//   class LogSettings : public YProfileTableRecord<LogSettings> {
//   public:
//       YProfile<bool> startLogUponConnect;
//       ProfilePath logFilename;
//       static const YProfileTable<LogSettings>& Table() {
//           static const auto table = YProfileTable<LogSettings>()
//               .Add(&LogSettings::startLogUponConnect, u"Start Log Upon Connect", false)
//               .Add(&LogSettings::logFilename, u"Log Filename", Renamed(u"Log File"), u"");
//           return table;
//       }
//   };
//
// A table is built once and only read afterwards, so one table serves every record of its type
// from any thread. Members that are records themselves join with AddRecord.
#pragma once

#include <RivodeRavudaVU/YProfileData.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#pragma GCC visibility push(default)

// How a row's value departs from the plain rule (read under its name, its default when absent,
// written whenever it is pending or changed). A row carries any number of marks.
enum YValueMark : std::uint8_t {
    // The default is computed when the store lacks the value (the row's derivation); the value
    // then stays pending, so the next save stores what was derived.
    kValueDerived = 1 << 0,
    // Read under the row's older name when its name is absent; written under its name only.
    kValueRenamed = 1 << 1,
    // An older stored form under the row's older name is converted at load (the row's upgrade).
    kValueUpgraded = 1 << 2,
    // Corrected after loading (the row's settling); the correction counts as loaded, not as an
    // edit, and is written on the next save.
    kValueSettled = 1 << 3,
    // Read so that its content can be carried over to a newer value; never written again.
    kValueRetired = 1 << 4,
    // Written back only when it was read from the store: records that never held it do not
    // gain it.
    kValueKeptOnlyWhenStored = 1 << 5,
    // Kept in the personal-data file when the store has one (the store's own list of personal
    // names decides where a value goes; the mark says the row belongs there).
    kValuePersonal = 1 << 6,
    // Stands for built-in content until the user edits it, so a first save does not store it
    // (the value's type keeps to this; the mark says the row relies on it).
    kValueBuiltInUntilEdited = 1 << 7,
};

// The marks of a row and the older name they refer to, for rows whose marks need no code.
struct YValueMarks {
    unsigned marks = 0;
    std::u16string_view olderName;
};

// The marks as a table's rows write them; a table's source says `using namespace rivode::rows;`.
namespace rivode::rows {

constexpr YValueMarks Renamed(std::u16string_view olderName) {
    return {kValueRenamed, olderName};
}
inline constexpr YValueMarks Retired{kValueRetired, {}};
inline constexpr YValueMarks KeptOnlyWhenStored{kValueKeptOnlyWhenStored, {}};
inline constexpr YValueMarks Personal{kValuePersonal, {}};
inline constexpr YValueMarks BuiltInUntilEdited{kValueBuiltInUntilEdited, {}};

}  // namespace rivode::rows

// Marks with the code that carries them out, for a row of Record's table whose value has the
// value type T (std::monostate when no derivation fixes it).
template <class Record, class T = std::monostate>
struct YValueRules : YValueMarks {
    // Converts the older form stored under olderName into value (key: the key being loaded).
    void (*upgrade)(Record& record, YProfileData& value, std::u16string_view olderName,
                    const YProfileKey& key) = nullptr;
    // The default of a value the store lacked; nothing keeps the table's default. key may be
    // nullptr (a record loaded without a store).
    std::optional<T> (*derive)(const Record& record, const YProfileKey* key) = nullptr;
    // Corrects the loaded value (and the values that follow from it).
    void (*settle)(Record& record) = nullptr;
};

namespace rivode::rows {

template <class Record, class T>
YValueRules<Record, T> Derived(std::optional<T> (*derive)(const Record&, const YProfileKey*)) {
    YValueRules<Record, T> rules;
    rules.marks = kValueDerived;
    rules.derive = derive;
    return rules;
}
template <class Record>
YValueRules<Record> Upgraded(std::u16string_view olderName,
                             void (*upgrade)(Record&, YProfileData&, std::u16string_view,
                                             const YProfileKey&)) {
    YValueRules<Record> rules;
    rules.marks = kValueUpgraded;
    rules.olderName = olderName;
    rules.upgrade = upgrade;
    return rules;
}
template <class Record>
YValueRules<Record> Settled(void (*settle)(Record&)) {
    YValueRules<Record> rules;
    rules.marks = kValueSettled;
    rules.settle = settle;
    return rules;
}

}  // namespace rivode::rows

constexpr YValueMarks operator|(YValueMarks a, YValueMarks b) {
    return {a.marks | b.marks, a.olderName.empty() ? b.olderName : a.olderName};
}
template <class Record, class T>
YValueRules<Record, T> operator|(YValueMarks a, YValueRules<Record, T> b) {
    b.marks |= a.marks;
    if (b.olderName.empty()) {
        b.olderName = a.olderName;
    }
    return b;
}
template <class Record, class T>
YValueRules<Record, T> operator|(YValueRules<Record, T> a, YValueMarks b) {
    return b | a;
}
template <class Record, class T, class U>
auto operator|(YValueRules<Record, T> a, YValueRules<Record, U> b) {
    using Value = std::conditional_t<std::is_same_v<T, std::monostate>, U, T>;
    YValueRules<Record, Value> rules;
    static_cast<YValueMarks&>(rules) = static_cast<YValueMarks>(a) | static_cast<YValueMarks>(b);
    rules.upgrade = a.upgrade != nullptr ? a.upgrade : b.upgrade;
    if constexpr (std::is_same_v<Value, T>) {
        rules.derive = a.derive;
    } else {
        rules.derive = b.derive;
    }
    rules.settle = a.settle != nullptr ? a.settle : b.settle;
    return rules;
}

// What a row says about its value, for listings and checks over every table.
struct YValueRowInfo {
    std::u16string_view name;  // empty for a member that is a record of its own
    YValueMarks marks;
    bool hasUpgrade = false;
    bool hasDerivation = false;
    bool hasSettling = false;
    bool IsMarked(YValueMark mark) const { return (marks.marks & mark) != 0; }
};

template <class Record>
class YProfileTable {
public:
    // member.Init(key, name, defaultValue) when a record is initialised.
    template <class Value>
    YProfileTable& Add(Value Record::*member, std::u16string_view name,
                       typename Value::ValueType defaultValue) {
        return Add(member, name, YValueRules<Record>{}, std::move(defaultValue));
    }
    // As Add, with the row's marks: a renamed row reads its older name when its name is absent
    // (only the name is ever written); the rules of the other marks run in ApplyLoadRules and
    // Settle, and Save leaves retired values, and values kept only when stored that were not,
    // unwritten.
    template <class Value>
    YProfileTable& Add(Value Record::*member, std::u16string_view name, YValueMarks marks,
                       typename Value::ValueType defaultValue) {
        return Add(member, name, YValueMarks{} | YValueRules<Record>{} | marks,
                   std::move(defaultValue));
    }
    template <class Value, class T>
    YProfileTable& Add(Value Record::*member, std::u16string_view name,
                       YValueRules<Record, T> rules, typename Value::ValueType defaultValue) {
        static_assert(
            std::is_same_v<T, std::monostate> || std::is_same_v<T, typename Value::ValueType>,
            "a derivation gives the value's own type");
        const YLastingName lasting(name);
        if (!rules.olderName.empty()) {
            rules.olderName = GetLastingName(rules.olderName);
        }
        Row row{Accessor(member), {}, {}, {}, rules.settle, {}};
        constexpr bool kReadsOlderName = requires(Value & value, const YLastingName& lastingName) {
            value.Init(nullptr, lastingName, lastingName, defaultValue);
        };
        // A renamed row of a type that cannot read an older name is caught by the checks over
        // every table: its older name is never read.
        if (kReadsOlderName && (rules.marks & kValueRenamed)) {
            row.init = [member, lasting, older = YLastingName(rules.olderName),
                        defaultValue = std::move(defaultValue)](Record& record,
                                                                const YProfileKey* key) {
                if constexpr (kReadsOlderName) {
                    (record.*member).Init(key, lasting, older, defaultValue);
                }
            };
        } else {
            row.init = [member, lasting, defaultValue = std::move(defaultValue)](
                           Record& record, const YProfileKey* key) {
                InitMember(record.*member, key, lasting, defaultValue);
            };
        }
        if (rules.upgrade != nullptr) {
            row.upgrade = [member, upgrade = rules.upgrade, older = rules.olderName](
                              Record& record, const YProfileKey& key) {
                upgrade(record, record.*member, older, key);
            };
        }
        if constexpr (!std::is_same_v<T, std::monostate>) {
            if (rules.derive != nullptr) {
                row.derive = [member, derive = rules.derive](Record& record,
                                                             const YProfileKey* key) {
                    Value& value = record.*member;
                    if (value.IsFromStore()) {
                        return;
                    }
                    if (std::optional<T> derived = derive(record, key)) {
                        value.Init(nullptr, value.GetName(), *derived);
                    }
                };
            }
        }
        row.info = YValueRowInfo{lasting.GetText(), rules, static_cast<bool>(row.upgrade),
                                 static_cast<bool>(row.derive), row.settle != nullptr};
        rows_.push_back(std::move(row));
        return *this;
    }

    // A member that is a record of its own: member.Init(key).
    template <class Part>
    YProfileTable& AddRecord(Part Record::*member) {
        Row row{Accessor(member),
                [member](Record& record, const YProfileKey* key) { (record.*member).Init(key); },
                {},
                {},
                nullptr,
                {}};
        rows_.push_back(std::move(row));
        return *this;
    }

    // Every member from key (defaults without one), then the AfterLoad hook.
    void Init(Record& record, const YProfileKey* key) const {
        for (const Row& row : rows_) {
            row.init(record, key);
        }
        record.AfterLoad();
    }
    // Reloads every member; true when any was found.
    bool Load(Record& record, const YProfileKey* key) const {
        bool any = false;
        for (const Row& row : rows_) {
            any = row.access(record).Load(key) || any;
        }
        record.AfterLoad();
        return any;
    }
    // The marked rules of a record just loaded from key (nullptr: loaded without a store), in
    // three passes over the table: the older forms are converted (only with a key), then the
    // defaults of absent values derived, then the values settled. Derivations see the values as
    // stored, before any settling; settlings see every value derived.
    void ApplyLoadRules(Record& record, const YProfileKey* key) const {
        if (key != nullptr) {
            for (const Row& row : rows_) {
                if (row.upgrade) {
                    row.upgrade(record, *key);
                }
            }
        }
        for (const Row& row : rows_) {
            if (row.derive) {
                row.derive(record, key);
            }
        }
        Settle(record);
    }
    // Only the settling pass of ApplyLoadRules.
    void Settle(Record& record) const {
        for (const Row& row : rows_) {
            if (row.settle != nullptr) {
                row.settle(record);
            }
        }
    }
    // Saves every member even after a failure, so one refused value does not keep the others
    // from the store; false when any write failed.
    [[nodiscard]] bool Save(Record& record, const YProfileKey& key) const {
        record.BeforeSave();
        bool allSaved = true;
        for (const Row& row : rows_) {
            YProfileData& value = row.access(record);
            if (row.info.IsMarked(kValueRetired) ||
                (row.info.IsMarked(kValueKeptOnlyWhenStored) && !value.IsFromStore())) {
                continue;
            }
            allSaved = value.Save(key) && allSaved;
        }
        record.AfterSave();
        return allSaved;
    }
    bool IsChanged(const Record& record) const {
        for (const Row& row : rows_) {
            if (row.access(const_cast<Record&>(record)).IsChanged()) {
                return true;
            }
        }
        return false;
    }
    void CommitAll(Record& record) const {
        for (const Row& row : rows_) {
            row.access(record).CommitAll();
        }
    }
    void RevertAll(Record& record) const {
        for (const Row& row : rows_) {
            row.access(record).RevertAll();
        }
    }
    bool CopyFrom(Record& record, const Record& source) const {
        bool all = true;
        for (const Row& row : rows_) {
            all = row.access(record).CopyFrom(row.access(const_cast<Record&>(source))) && all;
        }
        return all;
    }
    bool CopyChangesFrom(Record& record, const Record& source) const {
        bool all = true;
        for (const Row& row : rows_) {
            all =
                row.access(record).CopyChangesFrom(row.access(const_cast<Record&>(source))) && all;
        }
        return all;
    }
    // Calls visit(YProfileData&) for every member in table order.
    template <class Visit>
    void ForEach(Record& record, Visit&& visit) const {
        for (const Row& row : rows_) {
            visit(row.access(record));
        }
    }
    // Calls visit(YProfileData&, const YValueRowInfo&) for every member in table order.
    template <class Visit>
    void ForEachRow(Record& record, Visit&& visit) const {
        for (const Row& row : rows_) {
            visit(row.access(record), row.info);
        }
    }
    std::size_t GetSize() const { return rows_.size(); }

private:
    struct Row {
        std::function<YProfileData&(Record&)> access;
        std::function<void(Record&, const YProfileKey*)> init;
        std::function<void(Record&, const YProfileKey&)> upgrade;
        std::function<void(Record&, const YProfileKey*)> derive;
        void (*settle)(Record&) = nullptr;
        YValueRowInfo info;
    };

    // Values whose Init takes a lasting name get the row's directly; others take it as a string,
    // which costs a look-up of the process's copy on every Init.
    template <class Value>
    static void InitMember(Value& value, const YProfileKey* key, YLastingName name,
                           const typename Value::ValueType& defaultValue) {
        if constexpr (requires { value.Init(key, name, defaultValue); }) {
            value.Init(key, name, defaultValue);
        } else {
            value.Init(key, name.GetText(), defaultValue);
        }
    }

    template <class Member>
    static std::function<YProfileData&(Record&)> Accessor(Member Record::*member) {
        return [member](Record& record) -> YProfileData& { return record.*member; };
    }

    std::vector<Row> rows_;
};

// A record whose members are all in Derived::Table(), a YProfileTable<Derived>: every record
// operation of YProfileData runs over the table. Table() is usually static; a record whose value
// names depend on how it was made (a per-product record) may answer it per object instead, as a
// const member function.
template <class Derived>
class YProfileTableRecord : public YProfileData {
public:
    void Init(const YProfileKey* key) { Self().Table().Init(Self(), key); }

    bool Load(const YProfileKey* key) override { return Self().Table().Load(Self(), key); }
    [[nodiscard]] bool Save(const YProfileKey& key) override {
        return Self().Table().Save(Self(), key);
    }
    bool IsChanged() const override {
        const Derived& self = static_cast<const Derived&>(*this);
        return self.Table().IsChanged(self);
    }
    void CommitAll() override { Self().Table().CommitAll(Self()); }
    void RevertAll() override {
        Self().Table().RevertAll(Self());
        AfterRevertAll();
    }
    bool CopyFrom(const YProfileData& other) override {
        const auto* same = dynamic_cast<const Derived*>(&other);
        return same != nullptr && (same == this || Self().Table().CopyFrom(Self(), *same));
    }
    bool CopyChangesFrom(const YProfileData& source) override {
        const auto* same = dynamic_cast<const Derived*>(&source);
        return same != nullptr && (same == this || Self().Table().CopyChangesFrom(Self(), *same));
    }

protected:
    YProfileTableRecord() = default;
    YProfileTableRecord(const YProfileTableRecord&) = default;

private:
    Derived& Self() { return static_cast<Derived&>(*this); }
};

#pragma GCC visibility pop
