// A key held in memory for typed-value tests: every value with its kind, and a count of the
// writes, so a test can tell "written again" from "left alone". Values are listed in name order;
// an UnknownKind entry lists as a kind no caller understands. Subkeys and access control are
// not needed by the tests and are refused.
#pragma once

#include <RivodeRavudaVU/YProfileStore.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

namespace rivode::test {

struct MemoryValues {
    using Bytes = std::vector<std::uint8_t>;
    struct UnknownKind {
        bool operator==(const UnknownKind&) const = default;
    };
    // Alternatives in ValueKind order.
    using Value = std::variant<std::uint32_t, YUnicodeString, Bytes, YStringArray, UnknownKind>;

    std::map<YUnicodeString, Value, std::less<>> values;
    int writes = 0;
    bool refuseWrites = false;

    template <class T>
    const T* Find(std::u16string_view name) const {
        const auto found = values.find(name);
        return found == values.end() ? nullptr : std::get_if<T>(&found->second);
    }
    bool Has(std::u16string_view name) const { return values.find(name) != values.end(); }
};

class MemoryKey : public YProfilePrivateKey {
public:
    explicit MemoryKey(std::shared_ptr<MemoryValues> values) : values_(std::move(values)) {}

    bool GetSecurityValue(std::u16string_view, YAccessControl&) override { return false; }
    bool GetStringArray(std::u16string_view name, YStringArray& value) override {
        return Get(name, value);
    }
    bool GetBinary(std::u16string_view name, void* buffer, std::uint64_t& size) override {
        const auto* bytes = values_->Find<MemoryValues::Bytes>(name);
        if (bytes == nullptr || (buffer != nullptr && size < bytes->size())) {
            return false;
        }
        if (buffer != nullptr && !bytes->empty()) {
            std::memcpy(buffer, bytes->data(), bytes->size());
        }
        size = bytes->size();
        return true;
    }
    bool GetString(std::u16string_view name, YUnicodeString& value) override {
        return Get(name, value);
    }
    bool GetDword(std::u16string_view name, std::uint32_t& value) override {
        return Get(name, value);
    }
    void SetSecurityValue(std::u16string_view, const YAccessControl&) override {}
    bool SetStringArray(std::u16string_view name, const YStringArray& value) override {
        return Set(name, value);
    }
    bool SetBinary(std::u16string_view name, const void* bytes, std::uint64_t length) override {
        const auto* first = static_cast<const std::uint8_t*>(bytes);
        return Set(name, MemoryValues::Bytes(first, first + length));
    }
    bool SetString(std::u16string_view name, std::u16string_view value) override {
        return Set(name, YUnicodeString(value));
    }
    bool SetDword(std::u16string_view name, std::uint32_t value) override {
        return Set(name, value);
    }
    bool DeleteValue(std::u16string_view name) override {
        values_->values.erase(YUnicodeString(name));
        return true;
    }
    bool DeleteSubKey(std::u16string_view) override { return false; }
    bool SubKeyExists(std::u16string_view) override { return false; }
    bool CheckSubKeyName(std::u16string_view, YRefPtr<YReportMessageParams>*) override {
        return true;
    }
    bool IsWritable() override { return !values_->refuseWrites; }
    bool SetKeySecurity(const YAccessControl*) override { return false; }
    const YReportMessageParams& GetStatus() override { return status_; }
    void Rewrite() override {}
    void SetPersonalPath(std::u16string_view) override {}
    std::unique_ptr<YProfilePrivateKey> OpenPrivateSubKey(std::u16string_view,
                                                          const YAccessControl*, bool) override {
        return nullptr;
    }
    std::unique_ptr<YProfilePrivateKeyIterator> CreatePrivateKeyIterator(bool values) override {
        auto listing = std::make_unique<Listing>();
        for (const auto& [name, value] : values ? values_->values : decltype(values_->values){}) {
            const int kind = static_cast<int>(value.index());
            listing->entries.emplace_back(name,
                                          kind <= ValueKindMultiString ? kind : ValueKindUnknown);
        }
        return listing;
    }

private:
    struct Listing : YProfilePrivateKeyIterator {
        std::vector<std::pair<YUnicodeString, int>> entries;
        std::size_t next = 0;
        bool Next(YUnicodeString& name, int& kind) override {
            if (next == entries.size()) {
                return false;
            }
            std::tie(name, kind) = entries[next++];
            return true;
        }
        bool Next(YUnicodeString& name) override {
            int kind = 0;
            return Next(name, kind);
        }
    };

    template <class T>
    bool Get(std::u16string_view name, T& value) const {
        const T* found = values_->Find<T>(name);
        if (found != nullptr) {
            value = *found;
        }
        return found != nullptr;
    }
    bool Set(std::u16string_view name, MemoryValues::Value value) {
        if (values_->refuseWrites) {
            return false;
        }
        ++values_->writes;
        values_->values.insert_or_assign(YUnicodeString(name), std::move(value));
        return true;
    }

    std::shared_ptr<MemoryValues> values_;
    YReportMessageParams status_;
};

// A YProfileKey (or YProfileCopyKey) over values.
template <class Key = YProfileKey>
std::unique_ptr<Key> MakeMemoryKey(const std::shared_ptr<MemoryValues>& values) {
    return std::make_unique<Key>(std::make_unique<MemoryKey>(values));
}

}  // namespace rivode::test
