#include <RivodeRavudaVU/SessionNameValidation.h>

#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <algorithm>

namespace msg = rivode::msg;

namespace {

constexpr std::u16string_view kIllegalNameCharacters = u"\\/:*?\"<>|";
constexpr std::u16string_view kSessionsKeyName = u"Sessions";

bool IsOnlyDots(std::u16string_view name) {
    return std::all_of(name.begin(), name.end(), [](char16_t c) { return c == u'.'; });
}

int Show(QWidget* parent, YReportMessageParams& report, unsigned style = 0) {
    return YMessageBox(parent, report, style);
}

bool Refuse(QWidget* parent, std::uint32_t id, const YUnicodeString& insert, unsigned style = 0) {
    YReportMessageParams report(id);
    if (!insert.empty()) {
        report.AddString(insert);
    }
    Show(parent, report, style);
    return false;
}

// The key under "Sessions" that the name would take, relative to "Sessions".
YUnicodeString TargetKey(const YUnicodeString& path, const YUnicodeString& newName, bool isNew) {
    if (isNew) {
        return path + newName;
    }
    const std::size_t slash = path.rfind(u'\\');
    return (slash == YUnicodeString::npos ? YUnicodeString() : path.substr(0, slash + 1)) + newName;
}

}  // namespace

std::optional<char16_t> FindIllegalNameCharacter(std::u16string_view name) {
    for (const char16_t c : kIllegalNameCharacters) {
        if (name.find(c) != std::u16string_view::npos) {
            return c;
        }
    }
    return std::nullopt;
}

bool ValidateSessionName(const YUnicodeString& path, const YUnicodeString& oldName,
                         const YUnicodeString& newName, bool isNew, QWidget* parent) {
    if (newName.empty()) {
        return Refuse(parent, msg::NameRequired, {});
    }
    if (const std::optional<char16_t> illegal = FindIllegalNameCharacter(newName)) {
        return Refuse(parent, msg::NameIllegalCharacter, YUnicodeString(1, *illegal));
    }
    if (IsOnlyDots(newName)) {
        return Refuse(parent, msg::NameOnlyDots, newName);
    }
    if (IsReservedDeviceName(newName)) {
        return Refuse(parent, msg::NameReservedDevice, newName);
    }
    if (!isNew && newName == oldName) {
        return true;
    }
    YProfileStore store(true);
    const YProfileKey sessions(store.GetRootKey(), kSessionsKeyName);
    const bool caseOnlyRename = !isNew && rivode::EqualsNoCase(newName, oldName);
    if (!caseOnlyRename && sessions.SubKeyExists(TargetKey(path, newName, isNew))) {
        return Refuse(parent, msg::NameAlreadyInUse, newName, YMB_ICONWARNING);
    }
    YRefPtr<YReportMessageParams> verdict;
    if (!sessions.CheckSubKeyName(newName, &verdict)) {
        if (verdict) {
            Show(parent, *verdict, YMB_ICONWARNING);
        }
        return false;
    }
    return true;
}

bool ValidateLocalFilename(const char16_t* name) {
    const std::u16string_view text = name != nullptr ? name : u"";
    if (const std::optional<char16_t> illegal = FindIllegalNameCharacter(text)) {
        return Refuse(nullptr, msg::NameIllegalCharacter, YUnicodeString(1, *illegal),
                      YMB_ICONWARNING);
    }
    return true;
}

bool ValidateKeyName(const YUnicodeString& oldName, const YUnicodeString& newName, bool isNew,
                     const YUnicodeString& itemKind, bool targetExists,
                     YReportMessageParams& report) {
    if (newName.empty()) {
        report.SetMessage(msg::ItemNameRequired);
        report.AddString(itemKind);
        return false;
    }
    if (const std::optional<char16_t> illegal = FindIllegalNameCharacter(newName)) {
        report.SetMessage(msg::ItemNameIllegalCharacter);
        report.AddString(itemKind);
        report.AddFormatted(u"%1!c!", static_cast<std::uint32_t>(*illegal));
        return false;
    }
    if (IsReservedDeviceName(newName)) {
        report.SetMessage(msg::ItemNameReservedDevice);
        report.AddString(newName);
        report.AddString(itemKind);
        return false;
    }
    const bool takesAnotherName = isNew || !rivode::EqualsNoCase(newName, oldName);
    if (takesAnotherName && targetExists) {
        report.SetMessage(msg::ItemNameExists);
        report.AddString(itemKind);
        report.AddString(newName);
        return false;
    }
    return true;
}
