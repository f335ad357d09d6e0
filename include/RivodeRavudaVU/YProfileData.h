// YProfileData: the base of every typed profile value and of the configuration records built
// from them.
//
// A typed value knows its value name, holds its current value and its baseline (the value as
// last loaded, saved or committed), and writes itself to a key only when needed: into a
// YProfileCopyKey always, otherwise when it is pending or differs from its baseline. The pending
// flag marks a value that must be written on the next save although it equals its baseline (a
// default that was missing from the store, a value reloaded to be copied elsewhere).
//
// A value belongs to one record and is used by one thread at a time.
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <string_view>

#pragma GCC visibility push(default)

class IYPropertyBag;
class YProfileKey;
class YVariant;

// A value name that outlives every value given it (a row of a record's table, which lives as long
// as the process): values hold its number instead of a copy or a pointer, so loading a record of
// a few hundred values makes no name strings and each value spends four bytes on its name.
class YLastingName {
public:
    // The process's one copy of name, made on first request and kept until the process ends.
    // Takes a lock; record tables make theirs once per row. Any thread.
    explicit YLastingName(std::u16string_view name);

    // The text, valid until the process ends. Any thread, without a lock.
    const YUnicodeString& GetText() const { return TextOf(index_); }
    std::uint32_t GetIndex() const { return index_; }

    // The text of a number handed out by GetIndex. Any thread, without a lock.
    static const YUnicodeString& TextOf(std::uint32_t index);

private:
    std::uint32_t index_;
};
// GetText of YLastingName(name). Any thread.
const YUnicodeString& GetLastingName(std::u16string_view name);

class YProfileData {
public:
    YProfileData() = default;
    explicit YProfileData(YUnicodeString name) { SetName(std::move(name)); }
    virtual ~YProfileData();

    // Loads from a property bag of the host's scripting layer in the value's own form (text or
    // number): value and baseline take the bag's value, the pending flag is cleared. The base
    // holds no value and fails with the "form not supported" report.
    [[nodiscard]] virtual bool LoadFromBag(IYPropertyBag& bag, YReportMessageParams& report);
    // Writes when needed (see above), then clears the pending flag and takes the value as
    // baseline. false when the key refused the write: the reason is in key.GetStatus() and the
    // value stays pending for the next save. Records save every member even after a failure.
    [[nodiscard]] virtual bool Save(const YProfileKey& key);
    // Whether the current value differs from the baseline (records: any member).
    virtual bool IsChanged() const;
    virtual void CommitAll();
    // Revert, then the AfterRevertAll hook.
    virtual void RevertAll();
    // Takes the current value of another object of the same type, not its flags or baseline.
    // false, changing nothing, when other is of another type.
    virtual bool CopyFrom(const YProfileData& other);
    // The record operation: takes the current value of source only when source reports a change
    // (records: member by member, recursively). This is how changes made to one record are
    // applied to many. false when source is of another type.
    virtual bool CopyChangesFrom(const YProfileData& source);
    // Rereads the stored value: on success value and baseline take it and the value becomes
    // pending, so that it is written to whatever key it is saved to next. false (value kept)
    // without a key or when the value is absent or unreadable; that is not an error.
    virtual bool Load(const YProfileKey* key);

    // The scripting forms. Texts and lists have the text form, numbers, booleans and tri-states
    // the number form. Asking for a form the value lacks reports 0xE104006A; a variant that
    // does not convert to the value's type reports 0xE104006B and leaves the value unchanged.
    // Both carry the value name.
    [[nodiscard]] virtual bool GetTextVariant(YVariant& value, YReportMessageParams& report) const;
    [[nodiscard]] virtual bool PutTextToBag(IYPropertyBag& bag, YReportMessageParams& report) const;
    [[nodiscard]] virtual bool GetNumberVariant(YVariant& value,
                                                YReportMessageParams& report) const;
    [[nodiscard]] virtual bool PutNumberToBag(IYPropertyBag& bag,
                                              YReportMessageParams& report) const;
    [[nodiscard]] virtual bool SetTextVariant(const YVariant& value, YReportMessageParams& report);
    [[nodiscard]] virtual bool GetTextFromBag(IYPropertyBag& bag, YReportMessageParams& report);
    [[nodiscard]] virtual bool SetNumberVariant(const YVariant& value,
                                                YReportMessageParams& report);
    [[nodiscard]] virtual bool GetNumberFromBag(IYPropertyBag& bag, YReportMessageParams& report);

    // Hooks for records; empty here. Record tables call AfterLoad after loading their members
    // and BeforeSave/AfterSave around saving them; RevertAll calls AfterRevertAll.
    virtual void AfterLoad() {}
    virtual void BeforeSave() {}
    virtual void AfterSave() {}
    virtual void AfterRevertAll() {}

    virtual bool IsPending() const { return (flags_ & kPending) != 0; }
    // A flag the owning record reads and sets; the value itself never uses it.
    virtual bool GetSecondFlag() const { return (flags_ & kSecondFlag) != 0; }
    virtual void SetSecondFlag(bool on) { SetFlag(kSecondFlag, on); }
    // If the value differs from its baseline it becomes pending; then baseline := value.
    virtual void Commit();
    // value := baseline.
    virtual void Revert();

    const YUnicodeString& GetName() const { return YLastingName::TextOf(nameIndex_); }
    void SetName(YUnicodeString name);
    void SetName(YLastingName name) { nameIndex_ = name.GetIndex(); }

    // Whether the current value was read from a store (by Init, or by a Load that found it)
    // rather than taken from its default. Listings show it; saving never looks at it.
    bool IsFromStore() const { return (flags_ & kFromStore) != 0; }

protected:
    YProfileData(const YProfileData&) = default;
    YProfileData& operator=(const YProfileData&) = default;

    void SetPending(bool on) { SetFlag(kPending, on); }
    void SetFromStore(bool on) { SetFlag(kFromStore, on); }
    // Whether Save must write: into a YProfileCopyKey always, otherwise when pending or changed.
    bool MustWrite(const YProfileKey& key) const;
    // Fill report with 0xE104006A / 0xE104006B and the value name; return false.
    bool ReportFormUnsupported(YReportMessageParams& report) const;
    bool ReportConversionFailed(YReportMessageParams& report) const;

private:
    enum : std::uint8_t { kPending = 1, kSecondFlag = 2, kFromStore = 4 };
    void SetFlag(std::uint8_t flag, bool on) {
        flags_ = static_cast<std::uint8_t>(on ? flags_ | flag : flags_ & ~flag);
    }

    // A record holds hundreds of values and a host thousands of records: the name is the number
    // of a lasting name (a name given as a string is first made lasting, as value names are the
    // program's own few thousand words) and the flags share one byte, so that the members of
    // derived values start right after them. Number 0 is the empty name.
    std::uint32_t nameIndex_ = 0;
    std::uint8_t flags_ = kSecondFlag;
};

#pragma GCC visibility pop
