// YProfile<T>: a number stored as a dword. T is bool, int, unsigned int, unsigned long, short,
// unsigned short, unsigned char or YTriState.
//
// Reading narrows the stored 32 bits to T's width (a short takes the low 16 bits, an unsigned
// char the low 8); a bool is true for any non-zero number and is written as 0 or 1. An unsigned
// long keeps only its low 32 bits when written. Numbers have the number form for scripting:
// booleans as the automation boolean, other numbers as 32-bit integers.
#pragma once

#include <RivodeRavudaVU/YProfileStorage.h>
#include <RivodeRavudaVU/YProfileTyped.h>

#include <concepts>
#include <cstdint>
#include <limits>
#include <type_traits>

#pragma GCC visibility push(default)

// A switch that may defer to the application-wide setting of the same meaning.
enum class YTriState : std::uint8_t { Off = 0, On = 1, Global = 2 };

template <class T>
concept YProfileNumber =
    (std::is_integral_v<T> && sizeof(T) <= sizeof(unsigned long)) || std::same_as<T, YTriState>;

template <YProfileNumber T>
struct YProfileCodec<T, YProfileDword> {
    static bool Read(const YProfileDword& storage, const YProfileKey& key, T& value, bool&) {
        std::uint32_t stored = 0;
        return storage.ReadDword(key, stored) && FromDword(stored, value);
    }
    static bool Write(const YProfileDword& storage, const YProfileKey& key, const T& value) {
        return storage.WriteDword(key, ToDword(value));
    }

    // A tri-state outside 0-2 is unreadable, so the value keeps its default.
    static bool FromDword(std::uint32_t stored, T& value) {
        if constexpr (std::same_as<T, bool>) {
            value = stored != 0;
        } else if constexpr (std::same_as<T, YTriState>) {
            if (stored > 2) {
                return false;
            }
            value = static_cast<YTriState>(stored);
        } else {
            value = static_cast<T>(stored);
        }
        return true;
    }
    static std::uint32_t ToDword(T value) {
        if constexpr (std::same_as<T, bool>) {
            return value ? 1 : 0;
        } else {
            return static_cast<std::uint32_t>(value);
        }
    }
};

template <YProfileNumber T>
struct YProfileVariantForm<T> {
    static constexpr bool kText = false;
    static constexpr bool kNumber = true;

    static bool ToVariant(const T& value, YVariant& variant) {
        if constexpr (std::same_as<T, bool>) {
            variant = YVariant::FromBool(value);
        } else if constexpr (std::same_as<T, YTriState>) {
            variant = YVariant(static_cast<std::int32_t>(value));
        } else if constexpr (std::is_signed_v<T>) {
            variant = YVariant(static_cast<std::int32_t>(value));
        } else {
            if (value > std::numeric_limits<std::uint32_t>::max()) {
                return false;
            }
            variant = YVariant(static_cast<std::uint32_t>(value));
        }
        return true;
    }

    // Numbers outside T's range do not convert (no silent narrowing from a script).
    static bool FromVariant(const YVariant& variant, T& value) {
        if constexpr (std::same_as<T, bool>) {
            return variant.ToBool(value);
        } else {
            std::int64_t number = 0;
            if (!variant.ToInteger(number)) {
                return false;
            }
            if constexpr (std::same_as<T, YTriState>) {
                if (number < 0 || number > 2) {
                    return false;
                }
                value = static_cast<YTriState>(number);
            } else {
                if (!std::in_range<T>(number)) {
                    return false;
                }
                value = static_cast<T>(number);
            }
            return true;
        }
    }
};

template <YProfileNumber T>
class YProfile : public YProfileTypedValue<YProfile<T>, T, YProfileDword> {
    using Base = YProfileTypedValue<YProfile<T>, T, YProfileDword>;
    friend Base;

public:
    YProfile() : Base({}, T{}), value_{} {}
    // Value and baseline take the default; not pending.
    YProfile(YUnicodeString name, T defaultValue)
        : Base(std::move(name), defaultValue), value_(defaultValue) {}
    // A copy keeps name, flags and baseline: the clone of a record saves like the original.
    YProfile(const YProfile&) = default;
    // Assigning a whole typed value would silently copy its name and state: use CopyFrom or the
    // number.
    YProfile& operator=(const YProfile&) = delete;

    YProfile& operator=(T value) {
        value_ = value;
        return *this;
    }
    operator T() const { return value_; }
    T Get() const { return value_; }
    void Set(T value) { value_ = value; }

private:
    T& CurrentValue() { return value_; }
    const T& CurrentValue() const { return value_; }

    T value_;
};

#pragma GCC visibility pop
