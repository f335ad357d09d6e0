#include "storage/UnavailableProfileKey.h"

#include <cerrno>

namespace rivode::storage {
namespace {

class EmptyIterator final : public YProfilePrivateKeyIterator {
public:
    bool Next(YUnicodeString&, int&) override { return false; }
    bool Next(YUnicodeString&) override { return false; }
};

class UnavailableProfileKey final : public YProfilePrivateKey {
public:
    // No back end to reach: the closest operating-system report is "no such device".
    UnavailableProfileKey() { SetSystemErrorReport(status_, ENODEV); }

    bool GetSecurityValue(std::u16string_view, YAccessControl&) override { return false; }
    bool GetStringArray(std::u16string_view, YStringArray&) override { return false; }
    bool GetBinary(std::u16string_view, void*, std::uint64_t&) override { return false; }
    bool GetString(std::u16string_view, YUnicodeString&) override { return false; }
    bool GetDword(std::u16string_view, std::uint32_t&) override { return false; }
    void SetSecurityValue(std::u16string_view, const YAccessControl&) override {}
    bool SetStringArray(std::u16string_view, const YStringArray&) override { return false; }
    bool SetBinary(std::u16string_view, const void*, std::uint64_t) override { return false; }
    bool SetString(std::u16string_view, std::u16string_view) override { return false; }
    bool SetDword(std::u16string_view, std::uint32_t) override { return false; }
    bool DeleteValue(std::u16string_view) override { return false; }
    bool DeleteSubKey(std::u16string_view) override { return false; }
    bool SubKeyExists(std::u16string_view) override { return false; }
    bool CheckSubKeyName(std::u16string_view, YRefPtr<YReportMessageParams>* verdict) override {
        if (verdict != nullptr) {
            *verdict = MakeYRef<YReportMessageParams>(status_);
        }
        return false;
    }
    bool IsWritable() override { return false; }
    bool SetKeySecurity(const YAccessControl*) override { return false; }
    const YReportMessageParams& GetStatus() override { return status_; }
    void Rewrite() override {}
    void SetPersonalPath(std::u16string_view) override {}
    std::unique_ptr<YProfilePrivateKey> OpenPrivateSubKey(std::u16string_view,
                                                          const YAccessControl*, bool) override {
        return std::make_unique<UnavailableProfileKey>();
    }
    std::unique_ptr<YProfilePrivateKeyIterator> CreatePrivateKeyIterator(bool) override {
        return std::make_unique<EmptyIterator>();
    }
    bool Flush() override { return false; }

private:
    YReportMessageParams status_;
};

}  // namespace

std::unique_ptr<YProfilePrivateKey> MakeUnavailableProfileKey() {
    return std::make_unique<UnavailableProfileKey>();
}

}  // namespace rivode::storage
