// The behaviour every typed value shares: Init, Load, Save, Commit, Revert, CopyFrom and the
// scripting forms, written once over two customisation points:
//
// - YProfileCodec<T, Storage>: reads T from and writes T to a key through the storage class.
//   Read(storage, key, value, converted) starts from value's current content (a binary shorter
//   than T keeps the rest), and sets converted when it read an older form that must be written
//   again in the current one.
// - YProfileVariantForm<T>: whether T has the text form (kText) or the number form (kNumber),
//   with ToVariant(value, variant) and FromVariant(variant, value).
//
// YProfile<T> and YProfile2<T, Storage> derive from YProfileTypedValue; they differ only in
// where the current value lives.
#pragma once

#include <RivodeRavudaVU/YProfileBaseline.h>
#include <RivodeRavudaVU/YProfileData.h>
#include <RivodeRavudaVU/YProfileStore.h>
#include <RivodeRavudaVU/YPropertyBag.h>
#include <RivodeRavudaVU/YVariant.h>

#include <string_view>
#include <utility>

#pragma GCC visibility push(default)

template <class T, class Storage>
struct YProfileCodec;

template <class T>
struct YProfileVariantForm {
    static constexpr bool kText = false;
    static constexpr bool kNumber = false;
};

template <class Derived, class T, class Storage>
class YProfileTypedValue : public Storage {
    using Codec = YProfileCodec<T, Storage>;
    using Form = YProfileVariantForm<T>;

public:
    using ValueType = T;

    // The initial load of a record member: the name is set; value := the stored value (not
    // pending) or, when there is no key or no readable stored value, the default (pending, so
    // the next save writes it); baseline := value. Returns whether the stored value was read.
    bool Init(const YProfileKey* key, YUnicodeString name, const T& defaultValue) {
        this->SetName(std::move(name));
        return InitValue(key, defaultValue);
    }
    bool Init(const YProfileKey* key, YLastingName name, const T& defaultValue) {
        this->SetName(name);
        return InitValue(key, defaultValue);
    }

    // As Init, but when the value is absent under name and present under olderName (a value
    // that was renamed), the older value is taken and stays pending: only name is written.
    bool Init(const YProfileKey* key, YUnicodeString name, std::u16string_view olderName,
              const T& defaultValue) {
        if (Init(key, std::move(name), defaultValue) || key == nullptr) {
            return true;
        }
        YUnicodeString newerName = this->GetName();
        this->SetName(YUnicodeString(olderName));
        const bool found = InitFromOlder(*key, defaultValue);
        this->SetName(std::move(newerName));
        return found;
    }
    bool Init(const YProfileKey* key, YLastingName name, YLastingName olderName,
              const T& defaultValue) {
        if (Init(key, name, defaultValue) || key == nullptr) {
            return true;
        }
        this->SetName(olderName);
        const bool found = InitFromOlder(*key, defaultValue);
        this->SetName(name);
        return found;
    }

    bool Load(const YProfileKey* key) override {
        if (key == nullptr) {
            return false;
        }
        T stored = Current();
        bool converted = false;
        if (!Codec::Read(*this, *key, stored, converted)) {
            return false;
        }
        Current() = std::move(stored);
        baseline_.Set(Current());
        this->SetPending(true);
        this->SetFromStore(true);
        return true;
    }

    [[nodiscard]] bool Save(const YProfileKey& key) override {
        if (!this->MustWrite(key)) {
            return true;
        }
        if (!Codec::Write(*this, key, Current())) {
            return false;
        }
        this->SetPending(false);
        baseline_.Set(Current());
        return true;
    }

    bool IsChanged() const override { return !baseline_.Equals(Current()); }

    void Commit() override {
        if (IsChanged()) {
            this->SetPending(true);
        }
        baseline_.Set(Current());
    }

    void Revert() override { baseline_.RestoreTo(Current()); }

    bool CopyFrom(const YProfileData& other) override {
        const auto* same = dynamic_cast<const Derived*>(&other);
        if (same == nullptr) {
            return false;
        }
        if (same != this) {
            Current() = same->Current();
        }
        return true;
    }

    bool CopyChangesFrom(const YProfileData& source) override {
        if (dynamic_cast<const Derived*>(&source) == nullptr) {
            return false;
        }
        return !source.IsChanged() || CopyFrom(source);
    }

    [[nodiscard]] bool LoadFromBag(IYPropertyBag& bag, YReportMessageParams& report) override {
        bool loaded = false;
        if constexpr (Form::kText) {
            loaded = this->GetTextFromBag(bag, report);
        } else if constexpr (Form::kNumber) {
            loaded = this->GetNumberFromBag(bag, report);
        } else {
            return this->ReportFormUnsupported(report);
        }
        if (!loaded) {
            return false;
        }
        baseline_.Set(Current());
        this->SetPending(false);
        return true;
    }

    [[nodiscard]] bool GetTextVariant(YVariant& value,
                                      YReportMessageParams& report) const override {
        if constexpr (Form::kText) {
            return Form::ToVariant(Current(), value) || this->ReportConversionFailed(report);
        } else {
            return this->ReportFormUnsupported(report);
        }
    }

    [[nodiscard]] bool GetNumberVariant(YVariant& value,
                                        YReportMessageParams& report) const override {
        if constexpr (Form::kNumber) {
            return Form::ToVariant(Current(), value) || this->ReportConversionFailed(report);
        } else {
            return this->ReportFormUnsupported(report);
        }
    }

    [[nodiscard]] bool SetTextVariant(const YVariant& value,
                                      YReportMessageParams& report) override {
        if constexpr (Form::kText) {
            return SetFromVariant(value, report);
        } else {
            return this->ReportFormUnsupported(report);
        }
    }

    [[nodiscard]] bool SetNumberVariant(const YVariant& value,
                                        YReportMessageParams& report) override {
        if constexpr (Form::kNumber) {
            return SetFromVariant(value, report);
        } else {
            return this->ReportFormUnsupported(report);
        }
    }

    // const T&; for a text a std::u16string_view, for an enciphered text a copy (see
    // YProfileBaseline).
    decltype(auto) GetBaseline() const { return baseline_.Get(); }

protected:
    YProfileTypedValue(YUnicodeString name, const T& defaultValue)
        : Storage(std::move(name)), baseline_(defaultValue) {}
    YProfileTypedValue(const YProfileTypedValue&) = default;

    // The body of Init once the name is set.
    bool InitValue(const YProfileKey* key, const T& defaultValue) {
        // Read in place, over the default: every member of every record opened comes through
        // here, and a text read into a copy would be made, moved and destroyed once more. The
        // default is swapped in rather than assigned, so that the value gives up the storage of
        // what it held (a record copied from one made with every default holds their texts)
        // and a text read takes only the room it needs.
        {
            T fresh(defaultValue);
            using std::swap;
            swap(Current(), fresh);
        }
        bool converted = false;
        const bool found = key != nullptr && Codec::Read(*this, *key, Current(), converted);
        if (!found) {
            // A codec may have begun to read before finding the stored value unreadable.
            Current() = defaultValue;
        }
        this->SetPending(!found || converted);
        this->SetFromStore(found);
        baseline_.Set(Current());
        return found;
    }
    // Reads the value under the name now set (an older one) after Init found none.
    bool InitFromOlder(const YProfileKey& key, const T& defaultValue) {
        T stored = defaultValue;
        bool converted = false;
        if (!Codec::Read(*this, key, stored, converted)) {
            return false;
        }
        Current() = std::move(stored);
        baseline_.Set(Current());
        this->SetFromStore(true);
        return true;
    }

    // value and baseline := value; the pending flag stays.
    void ResetTo(const T& value) {
        Current() = value;
        baseline_.Set(value);
    }

    T& Current() { return static_cast<Derived&>(*this).CurrentValue(); }
    const T& Current() const { return static_cast<const Derived&>(*this).CurrentValue(); }

private:
    bool SetFromVariant(const YVariant& value, YReportMessageParams& report) {
        T converted = Current();
        if (!Form::FromVariant(value, converted)) {
            return this->ReportConversionFailed(report);
        }
        Current() = std::move(converted);
        return true;
    }

    YProfileBaseline<T> baseline_;
};

#pragma GCC visibility pop
