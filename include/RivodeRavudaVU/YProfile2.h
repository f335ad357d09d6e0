// YProfile2<T, Storage>: a typed value that is itself a T (it derives from T) and stores T
// through the storage class Storage. The baseline is a separate T.
//
// Stored forms provided here:
// - YProfile2<YUnicodeString, YProfileSz> (YProfileString): the text itself.
// - YProfile2<YStringArray, YProfileMultiSz> (YProfileStringList): the list itself.
// - YProfile2<T, YProfileBinary> for every T with a YBinaryLayout: its kSize bytes. A stored
//   block shorter than that fills only the first bytes (the rest keeps its content); a longer
//   one is unreadable.
// - YProfile2<T, S> with S a string storage for every T with a YProfileTextForm: the text form.
//   Such a type specialises YProfileTextForm<T> with
//     static YUnicodeString Format(const T& value);
//     static bool Parse(std::u16string_view text, T& value, bool& converted);
//     static constexpr bool kResetWhenMalformed;
//   Parse returns false for a malformed text; converted means an older form was read. With
//   kResetWhenMalformed a malformed stored text resets the value to T{} (and is rewritten on the
//   next save) instead of being unreadable.
#pragma once

#include <RivodeRavudaVU/YProfileBinaryLayout.h>
#include <RivodeRavudaVU/YProfileStorage.h>
#include <RivodeRavudaVU/YProfileTyped.h>

#include <array>
#include <concepts>
#include <cstdint>
#include <string_view>

#pragma GCC visibility push(default)

template <class T>
struct YProfileTextForm;

template <class T>
concept YTextFormValue = requires(const T& value) {
    { YProfileTextForm<T>::Format(value) } -> std::same_as<YUnicodeString>;
};

template <>
struct YProfileCodec<YUnicodeString, YProfileSz> {
    static bool Read(const YProfileSz& storage, const YProfileKey& key, YUnicodeString& value,
                     bool&) {
        return storage.ReadSz(key, value);
    }
    static bool Write(const YProfileSz& storage, const YProfileKey& key,
                      const YUnicodeString& value) {
        return storage.WriteSz(key, value);
    }
};

template <>
struct YProfileCodec<YStringArray, YProfileMultiSz> {
    static bool Read(const YProfileMultiSz& storage, const YProfileKey& key, YStringArray& value,
                     bool&) {
        return storage.ReadMultiSz(key, value);
    }
    static bool Write(const YProfileMultiSz& storage, const YProfileKey& key,
                      const YStringArray& value) {
        return storage.WriteMultiSz(key, value);
    }
};

template <YBinaryRecord T>
struct YProfileCodec<T, YProfileBinary> {
    using Layout = YBinaryLayout<T>;

    static bool Read(const YProfileBinary& storage, const YProfileKey& key, T& value, bool&) {
        // The current content goes into the image first, so that a shorter stored block
        // overlays only its own bytes.
        std::array<std::uint8_t, Layout::kSize> image;
        Layout::Write(value, image.data());
        std::uint32_t size = Layout::kSize;
        if (!storage.ReadBinary(key, image.data(), size)) {
            return false;
        }
        Layout::Read(image.data(), value);
        return true;
    }
    static bool Write(const YProfileBinary& storage, const YProfileKey& key, const T& value) {
        std::array<std::uint8_t, Layout::kSize> image;
        Layout::Write(value, image.data());
        return storage.WriteBinary(key, image.data(), Layout::kSize);
    }
};

template <YTextFormValue T, class Storage>
requires std::derived_from<Storage, YProfileSz>
struct YProfileCodec<T, Storage> {
    using Form = YProfileTextForm<T>;

    static bool Read(const Storage& storage, const YProfileKey& key, T& value, bool& converted) {
        YUnicodeString text;
        if (!storage.ReadSz(key, text)) {
            return false;
        }
        T parsed{};
        if (Form::Parse(text, parsed, converted)) {
            value = std::move(parsed);
            return true;
        }
        if constexpr (Form::kResetWhenMalformed) {
            value = T{};
            converted = true;
            return true;
        } else {
            return false;
        }
    }
    static bool Write(const Storage& storage, const YProfileKey& key, const T& value) {
        return storage.WriteSz(key, Form::Format(value));
    }
};

// Texts and lists of texts: the text form (a list as a list of texts).
template <>
struct YProfileVariantForm<YUnicodeString> {
    static constexpr bool kText = true;
    static constexpr bool kNumber = false;
    static bool ToVariant(const YUnicodeString& value, YVariant& variant) {
        variant = YVariant(value);
        return true;
    }
    static bool FromVariant(const YVariant& variant, YUnicodeString& value) {
        return variant.ToText(value);
    }
};

template <>
struct YProfileVariantForm<YStringArray> {
    static constexpr bool kText = true;
    static constexpr bool kNumber = false;
    static bool ToVariant(const YStringArray& value, YVariant& variant) {
        YVariant::List list;
        list.reserve(value.size());
        for (const YUnicodeString& text : value) {
            list.emplace_back(text);
        }
        variant = YVariant(std::move(list));
        return true;
    }
    static bool FromVariant(const YVariant& variant, YStringArray& value) {
        return variant.ToTextList(value);
    }
};

// Values stored in a text form of their own give and take that text.
template <YTextFormValue T>
struct YProfileVariantForm<T> {
    static constexpr bool kText = true;
    static constexpr bool kNumber = false;
    static bool ToVariant(const T& value, YVariant& variant) {
        variant = YVariant(YProfileTextForm<T>::Format(value));
        return true;
    }
    static bool FromVariant(const YVariant& variant, T& value) {
        YUnicodeString text;
        bool converted = false;
        T parsed{};
        if (!variant.ToText(text) || !YProfileTextForm<T>::Parse(text, parsed, converted)) {
            return false;
        }
        value = std::move(parsed);
        return true;
    }
};

template <class T, class Storage>
class YProfile2 : public YProfileTypedValue<YProfile2<T, Storage>, T, Storage>, public T {
    using Base = YProfileTypedValue<YProfile2<T, Storage>, T, Storage>;
    friend Base;

public:
    YProfile2() : Base({}, T{}), T{} {}
    // Value and baseline take the default; not pending.
    YProfile2(YUnicodeString name, const T& defaultValue)
        : Base(std::move(name), defaultValue), T(defaultValue) {}
    // A copy keeps name, flags and baseline: the clone of a record saves like the original.
    YProfile2(const YProfile2&) = default;
    // Assigning a whole typed value would silently copy its name and state: use CopyFrom or
    // assign the T.
    YProfile2& operator=(const YProfile2&) = delete;

    YProfile2& operator=(const T& value) {
        static_cast<T&>(*this) = value;
        return *this;
    }
    const T& Get() const { return *this; }
    void Set(const T& value) { static_cast<T&>(*this) = value; }

private:
    T& CurrentValue() { return *this; }
    const T& CurrentValue() const { return *this; }
};

using YProfileString = YProfile2<YUnicodeString, YProfileSz>;
using YProfileStringList = YProfile2<YStringArray, YProfileMultiSz>;

#pragma GCC visibility pop
