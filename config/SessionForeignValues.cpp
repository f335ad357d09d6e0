// Values of a session key that no part of the record reads, and writing a whole session into
// another key.
#include "config/ValueNameSet.h"

#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/YProfileValueNames.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Hands every operation to a key that stays owned elsewhere, so that a YProfileCopyKey can stand
// for it: values saved through the copy key write themselves whatever their state.
class BorrowedPrivateKey final : public YProfilePrivateKey {
public:
    explicit BorrowedPrivateKey(YProfilePrivateKey& key) : key_(key) {}

    bool GetSecurityValue(std::u16string_view name, YAccessControl& access) override {
        return key_.GetSecurityValue(name, access);
    }
    bool GetStringArray(std::u16string_view name, YStringArray& value) override {
        return key_.GetStringArray(name, value);
    }
    bool GetBinary(std::u16string_view name, void* buffer, std::uint64_t& size) override {
        return key_.GetBinary(name, buffer, size);
    }
    bool GetString(std::u16string_view name, YUnicodeString& value) override {
        return key_.GetString(name, value);
    }
    bool GetDword(std::u16string_view name, std::uint32_t& value) override {
        return key_.GetDword(name, value);
    }
    void SetSecurityValue(std::u16string_view name, const YAccessControl& access) override {
        key_.SetSecurityValue(name, access);
    }
    bool SetStringArray(std::u16string_view name, const YStringArray& value) override {
        return key_.SetStringArray(name, value);
    }
    bool SetBinary(std::u16string_view name, const void* bytes, std::uint64_t length) override {
        return key_.SetBinary(name, bytes, length);
    }
    bool SetString(std::u16string_view name, std::u16string_view value) override {
        return key_.SetString(name, value);
    }
    bool SetDword(std::u16string_view name, std::uint32_t value) override {
        return key_.SetDword(name, value);
    }
    bool DeleteValue(std::u16string_view name) override { return key_.DeleteValue(name); }
    bool DeleteSubKey(std::u16string_view name) override { return key_.DeleteSubKey(name); }
    bool SubKeyExists(std::u16string_view name) override { return key_.SubKeyExists(name); }
    bool CheckSubKeyName(std::u16string_view name,
                         YRefPtr<YReportMessageParams>* verdict) override {
        return key_.CheckSubKeyName(name, verdict);
    }
    bool IsWritable() override { return key_.IsWritable(); }
    bool SetKeySecurity(const YAccessControl* access) override {
        return key_.SetKeySecurity(access);
    }
    const YReportMessageParams& GetStatus() override { return key_.GetStatus(); }
    void Rewrite() override { key_.Rewrite(); }
    void SetPersonalPath(std::u16string_view path) override { key_.SetPersonalPath(path); }
    std::unique_ptr<YProfilePrivateKey> OpenPrivateSubKey(std::u16string_view name,
                                                          const YAccessControl* access,
                                                          bool create) override {
        return key_.OpenPrivateSubKey(name, access, create);
    }
    std::unique_ptr<YProfilePrivateKeyIterator> CreatePrivateKeyIterator(bool values) override {
        return key_.CreatePrivateKeyIterator(values);
    }
    bool Flush() override { return key_.Flush(); }
    void Preload() override { key_.Preload(); }

private:
    YProfilePrivateKey& key_;
};

}  // namespace

bool SessionConfig::ReadForeignValues(const YProfileKey& key) {
    // The names of the record's own tables are the same for every session: collected once, as
    // opening every session of a large tree would otherwise spend its time building them.
    static const rivode::config::ValueNameSet tableNames = [this] {
        rivode::config::ValueNameSet names;
        const auto collect = [&names](YProfileData& value) { names.Insert(value.GetName()); };
        Table().ForEach(*this, collect);
        TerminalConfig::Table().ForEach(terminalConfig, collect);
        RemoteHostConfig::Table().ForEach(remoteHostConfig, collect);
        PrinterConfig::Table().ForEach(printerConfig, collect);
        collect(terminal_.NameValue());
        collect(transfer_.NameValue());
        return names;
    }();
    // The protocols' few values differ from session to session.
    std::vector<std::u16string_view> protocolNames;
    for (ConnectConfig* config : {terminal_.GetConfig(), transfer_.GetConfig()}) {
        if (config != nullptr) {
            config->ForEachValue([&protocolNames](YProfileData& value) {
                protocolNames.push_back(value.GetName());
            });
        }
    }
    const auto isKnown = [&protocolNames](std::u16string_view name) {
        return tableNames.Contains(name) ||
               std::any_of(protocolNames.begin(), protocolNames.end(),
                           [name](std::u16string_view known) {
                               return known.size() == name.size() &&
                                      std::memcmp(known.data(), name.data(),
                                                  name.size() * sizeof(char16_t)) == 0;
                           });
    };
    // Sessions of one tree mostly hold the same names in the same order, and none foreign: a
    // key whose names are those of the last session this thread found without any, with the
    // same protocols' names, has none either.
    struct NothingForeign {
        std::uint64_t shape = 0;
        std::vector<YUnicodeString> protocolNames;
    };
    thread_local NothingForeign nothingForeign;
    const std::uint64_t shape = GetProfileValueNamesShape(key);
    if (shape != 0 && shape == nothingForeign.shape &&
        std::equal(protocolNames.begin(), protocolNames.end(), nothingForeign.protocolNames.begin(),
                   nothingForeign.protocolNames.end())) {
        return true;  // the shape remembered is that of a key that held values
    }
    // Nearly every value of a session is the record's own: the names are visited in the
    // store's order and only the foreign ones are put in the order of a listing, which is the
    // order they are written back in.
    bool anyValue = false;
    std::vector<std::pair<YUnicodeString, int>> foreign;
    ForEachProfileValueName(key, [&](std::u16string_view name, int kind) {
        anyValue = true;
        if (!isKnown(name)) {
            foreign.emplace_back(name, kind);
        }
    });
    if (anyValue && foreign.empty()) {
        nothingForeign.shape = shape;
        nothingForeign.protocolNames.assign(protocolNames.begin(), protocolNames.end());
    }
    std::sort(foreign.begin(), foreign.end(), [](const auto& a, const auto& b) {
        const int order = rivode::CompareNoCase(a.first, b.first);
        return order != 0 ? order < 0 : a.first < b.first;
    });
    for (auto& [name, kind] : foreign) {
        ForeignValue value;
        value.name = std::move(name);
        value.kind = kind;
        bool read = false;
        switch (value.kind) {
            case ValueKindDword:
                read = key.GetDword(value.name, value.number);
                break;
            case ValueKindString:
                read = key.GetString(value.name, value.text);
                break;
            case ValueKindMultiString:
                read = key.GetStringArray(value.name, value.texts);
                break;
            case ValueKindBinary: {
                std::uint32_t size = 0;
                read = key.GetBinary(value.name, nullptr, size);
                value.bytes.resize(size);
                read = read && key.GetBinary(value.name, value.bytes.data(), size);
                break;
            }
            default:
                break;
        }
        if (read) {
            foreignValues_.push_back(std::move(value));
        }
    }
    return anyValue;
}

bool SessionConfig::WriteForeignValues(const YProfileKey& key) const {
    bool written = true;
    for (const ForeignValue& value : foreignValues_) {
        switch (value.kind) {
            case ValueKindDword:
                written = key.SetDword(value.name, value.number) && written;
                break;
            case ValueKindString:
                written = key.SetString(value.name, value.text) && written;
                break;
            case ValueKindMultiString:
                written = key.SetStringArray(value.name, value.texts) && written;
                break;
            default:
                written = key.SetBinary(value.name, value.bytes.data(),
                                        static_cast<std::uint32_t>(value.bytes.size())) &&
                          written;
                break;
        }
    }
    return written;
}

bool SessionConfig::WriteAllTo(const YProfileKey& key) {
    // The foreign values go first, so that a value of the record under the same name (one a
    // newer load would know) wins. A copy saves, so this record's loaded state is untouched.
    bool written = WriteForeignValues(key);
    const YProfileCopyKey copyKey(std::make_unique<BorrowedPrivateKey>(key.GetPrivateKey()));
    const YRefPtr<SessionConfig> copy = MakeYRef<SessionConfig>(*this);
    return copy->Save(copyKey) && written;
}
