// Declaring a record's typed values once, as a table: one row a value (member, name, default,
// and an older name where the value was renamed). Loading, saving, comparing, committing,
// reverting and copying are then generic over the table.
//
//   class LogSettings : public YProfileTableRecord<LogSettings> {
//   public:
//       YProfile<bool> startLogUponConnect;
//       ProfilePath logFilename;
//       static const YProfileTable<LogSettings>& Table() {
//           static const auto table = YProfileTable<LogSettings>()
//               .Add(&LogSettings::startLogUponConnect, u"Start Log Upon Connect", false)
//               .Add(&LogSettings::logFilename, u"Log Filename", u"");
//           return table;
//       }
//   };
//
// A table is built once and only read afterwards, so one table serves every record of its type
// from any thread. Members that are records themselves join with AddRecord.
#pragma once

#include <RivodeRavudaVU/YProfileData.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#pragma GCC visibility push(default)

template <class Record>
class YProfileTable {
public:
    // member.Init(key, name, defaultValue) when a record is initialised.
    template <class Value>
    YProfileTable& Add(Value Record::*member, std::u16string_view name,
                       typename Value::ValueType defaultValue) {
        rows_.push_back(Row{Accessor(member),
                            [member, name = &GetLastingName(name),
                             defaultValue = std::move(defaultValue)](Record& record,
                                                                     const YProfileKey* key) {
                                InitMember(record.*member, key, *name, defaultValue);
                            }});
        return *this;
    }

    // As Add, reading olderName when name is absent; only name is ever written.
    template <class Value>
    YProfileTable& AddRenamed(Value Record::*member, std::u16string_view name,
                              std::u16string_view olderName,
                              typename Value::ValueType defaultValue) {
        rows_.push_back(Row{Accessor(member),
                            [member, name = &GetLastingName(name),
                             olderName = &GetLastingName(olderName),
                             defaultValue = std::move(defaultValue)](Record& record,
                                                                     const YProfileKey* key) {
                                (record.*member).Init(key, YLastingName{*name},
                                                      YLastingName{*olderName}, defaultValue);
                            }});
        return *this;
    }

    // A member that is a record of its own: member.Init(key).
    template <class Part>
    YProfileTable& AddRecord(Part Record::*member) {
        rows_.push_back(Row{Accessor(member), [member](Record& record, const YProfileKey* key) {
                                (record.*member).Init(key);
                            }});
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
    // Saves every member even after a failure, so one refused value does not keep the others
    // from the store; false when any write failed.
    [[nodiscard]] bool Save(Record& record, const YProfileKey& key) const {
        record.BeforeSave();
        bool allSaved = true;
        for (const Row& row : rows_) {
            allSaved = row.access(record).Save(key) && allSaved;
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
            all = row.access(record).CopyChangesFrom(row.access(const_cast<Record&>(source))) &&
                  all;
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
    std::size_t GetSize() const { return rows_.size(); }

private:
    struct Row {
        std::function<YProfileData&(Record&)> access;
        std::function<void(Record&, const YProfileKey*)> init;
    };

    // Values whose Init takes a lasting name get the row's directly; others take it as a string,
    // which costs a look-up of the process's copy on every Init.
    template <class Value>
    static void InitMember(Value& value, const YProfileKey* key, const YUnicodeString& name,
                           const typename Value::ValueType& defaultValue) {
        if constexpr (requires { value.Init(key, YLastingName{name}, defaultValue); }) {
            value.Init(key, YLastingName{name}, defaultValue);
        } else {
            value.Init(key, name, defaultValue);
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
        return same != nullptr &&
               (same == this || Self().Table().CopyChangesFrom(Self(), *same));
    }

protected:
    YProfileTableRecord() = default;
    YProfileTableRecord(const YProfileTableRecord&) = default;

private:
    Derived& Self() { return static_cast<Derived&>(*this); }
};

#pragma GCC visibility pop
