#include <RivodeRavudaVU/KeymapLine.h>
#include <RivodeRavudaVU/ProfileKeymap.h>

#include <array>
#include <vector>

namespace {

struct StoredForm {
    std::u16string_view name;
    bool lines;  // a multi-string of lines; else binary records
};

// Newest first: the first one present is the map.
constexpr std::array<StoredForm, 5> kStoredForms = {{
    {u"Keymap v5", true},
    {u"Keymap v4", true},
    {u"Keymap v2", false},
    {u"Keymap", false},
    {u"Keymap v3", true},
}};

// The binary forms were never longer; anything beyond is not read.
constexpr std::uint32_t kLongestRecords = 32000;

}  // namespace

ProfileKeymap::ProfileKeymap() : YProfile2(YUnicodeString(kValueName), {}) {}

bool ProfileKeymap::Init(const YProfileKey* key, YUnicodeString, const YStringArray&) {
    SetName(YUnicodeString(kValueName));
    SetPending(false);
    SetFromStore(false);
    Keymap::Clear();
    SetVersion({});
    const bool found = key != nullptr && ReadStored(*key);
    TakeSnapshot();
    return found;
}

bool ProfileKeymap::Load(const YProfileKey* key) {
    if (key == nullptr || !ReadStored(*key)) {
        return false;
    }
    TakeSnapshot();
    SetPending(true);
    return true;
}

bool ProfileKeymap::ReadStored(const YProfileKey& key) {
    for (const StoredForm& form : kStoredForms) {
        YStringArray lines;
        std::vector<std::uint8_t> bytes;
        if (form.lines) {
            if (!key.GetStringArray(form.name, lines)) {
                continue;
            }
        } else {
            std::uint64_t length = 0;
            if (!key.GetPrivateKey().GetBinary(form.name, nullptr, length)) {
                continue;
            }
            bytes.resize(length);
            std::uint32_t size = static_cast<std::uint32_t>(length);
            if (length > 0xFFFFFFFFu || !key.GetBinary(form.name, bytes.data(), size)) {
                continue;
            }
            bytes.resize(std::min<std::uint32_t>(size, kLongestRecords));
        }
        Keymap::Clear();
        SetVersion(YUnicodeString(form.name));
        if (form.lines) {
            ParseLines(lines);
        } else {
            ReadLegacyKeymapRecords(*this, bytes);
        }
        SetFromStore(true);
        // An older form is stored again under the current name at the next save.
        SetPending(form.name != kValueName);
        return true;
    }
    return false;
}

void ProfileKeymap::ParseLines(const YStringArray& lines) {
    Keymap::Clear();
    // Errors in stored lines are counted but not reported: the session loads with the lines
    // that could be read, up to the error limit as for a file.
    KeymapParseState state;
    for (const YUnicodeString& line : lines) {
        if (!ParseKeymapLine(*this, line, state)) {
            break;
        }
    }
}

void ProfileKeymap::Synchronize() const {
    auto& self = const_cast<ProfileKeymap&>(*this);
    if (static_cast<const YStringArray&>(*this) != generatedLines_) {
        // Lines set from outside are in the current form.
        self.SetVersion(YUnicodeString(kValueName));
        self.ParseLines(Get());
    } else if (generatedAt_ == GetChangeCount()) {
        // Comparisons and saves ask often; the lines only change with the mappings.
        return;
    }
    YStringArray lines;
    if (GetSize() > 0) {
        // Finding the folders of stored paths costs more than a line: once for all of them.
        const ProfilePath paths;
        for (const KeyMapEntry& entry : GetSortedEntries()) {
            lines.push_back(FormatKeymapLine(entry, paths));
        }
    }
    self.YProfile2::Set(lines);
    generatedLines_ = std::move(lines);
    generatedAt_ = GetChangeCount();
}

void ProfileKeymap::TakeSnapshot() {
    snapshot_ = static_cast<const Keymap&>(*this);
    // The lines are made from the mappings when first asked for (the lines, a save, the text
    // form): loading a session, or comparing it, never needs them, and making them costs as much
    // as reading them.
    generatedLines_.clear();
    generatedAt_ = kNotGenerated;
    ResetTo(generatedLines_);
}

const YStringArray& ProfileKeymap::GetLines() const {
    Synchronize();
    return Get();
}

void ProfileKeymap::AssignMappings(const Keymap& map) {
    Synchronize();
    Keymap::Clear();
    for (KeyMapEntry& entry : map.GetSortedEntries()) {
        Keymap::Set(std::move(entry));
    }
    Synchronize();
}

bool ProfileKeymap::Save(const YProfileKey& key) {
    const bool copy = dynamic_cast<const YProfileCopyKey*>(&key) != nullptr;
    if (!copy && !IsPending() && !IsChanged()) {
        return true;
    }
    Synchronize();
    if (!key.SetStringArray(kValueName, Get())) {
        return false;
    }
    SetPending(false);
    SetVersion(YUnicodeString(kValueName));
    snapshot_ = static_cast<const Keymap&>(*this);
    ResetTo(generatedLines_);
    return true;
}

bool ProfileKeymap::IsChanged() const {
    if (static_cast<const YStringArray&>(*this) != generatedLines_) {
        Synchronize();
    }
    return !(static_cast<const Keymap&>(*this) == snapshot_);
}

void ProfileKeymap::Commit() {
    if (IsChanged()) {
        SetPending(true);
    }
    snapshot_ = static_cast<const Keymap&>(*this);
    ResetTo(generatedLines_);
}

void ProfileKeymap::Revert() {
    static_cast<Keymap&>(*this) = snapshot_;
    generatedLines_.clear();
    generatedAt_ = kNotGenerated;
    static_cast<YStringArray&>(*this) = {};
    Synchronize();
}

bool ProfileKeymap::CopyFrom(const YProfileData& other) {
    const auto* same = dynamic_cast<const ProfileKeymap*>(&other);
    if (same == nullptr) {
        return false;
    }
    if (same != this) {
        same->Synchronize();
        AssignMappings(*same);
    }
    return true;
}

bool ProfileKeymap::CopyChangesFrom(const YProfileData& source) {
    if (dynamic_cast<const ProfileKeymap*>(&source) == nullptr) {
        return false;
    }
    return !source.IsChanged() || CopyFrom(source);
}

bool ProfileKeymap::GetTextVariant(YVariant& value, YReportMessageParams& report) const {
    Synchronize();
    return YProfile2::GetTextVariant(value, report);
}

bool ProfileKeymap::LoadFile(std::u16string_view, YReportMessageParams&) {
    return true;
}

bool ProfileKeymap::SaveFile(std::u16string_view, YReportMessageParams&) {
    return true;
}

bool ProfileKeymap::IsUnversioned() const {
    return GetVersion() == u"Keymap v3";
}

bool ProfileKeymap::HasCombinedLaunchCommand() const {
    const YUnicodeString& version = GetVersion();
    return version == u"Keymap" || version == u"Keymap v2" || version == u"Keymap v3" ||
           version == u"Keymap v4";
}
