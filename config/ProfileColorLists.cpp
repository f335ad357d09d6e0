#include <RivodeRavudaVU/ProfileColorLists.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <algorithm>

namespace {

std::u16string_view Trimmed(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

}  // namespace

ProfileColorsBase::ProfileColorsBase(YUnicodeString name, NameMessages messages)
    : YProfile2(std::move(name), {}), messages_(messages) {}

bool ProfileColorsBase::InitLines(const YProfileKey* key, YUnicodeString name) {
    SetName(std::move(name));
    YStringArray stored;
    const bool found = key != nullptr && key->GetStringArray(GetName(), stored) && !stored.empty();
    ResetTo(found ? stored : BuiltInLines());
    SetPending(false);
    SetFromStore(found);
    return found;
}

std::optional<std::size_t> ProfileColorsBase::IndexOf(std::u16string_view name) const {
    for (std::size_t i = 0; i < size(); ++i) {
        if (rivode::EqualsNoCase(ColorLineName((*this)[i]), name)) {
            return i;
        }
    }
    return std::nullopt;
}

YStringArray ProfileColorsBase::GetNames() const {
    YStringArray names;
    for (const YUnicodeString& line : *this) {
        names.emplace_back(ColorLineName(line));
    }
    return names;
}

bool ProfileColorsBase::Remove(std::u16string_view name) {
    const std::optional<std::size_t> index = IndexOf(name);
    if (!index) {
        return false;
    }
    erase(begin() + static_cast<std::ptrdiff_t>(*index));
    return true;
}

bool ProfileColorsBase::CheckNewName(std::u16string_view name, std::u16string_view except,
                                     YReportMessageParams& report) const {
    const std::u16string_view trimmed = Trimmed(name);
    std::uint32_t refusal = 0;
    if (trimmed.empty()) {
        refusal = messages_.empty;
    } else if (trimmed.find(u',') != std::u16string_view::npos) {
        refusal = messages_.comma;
    } else if (IndexOf(trimmed) && !rivode::EqualsNoCase(trimmed, except)) {
        refusal = messages_.exists;
    }
    if (refusal == 0) {
        return true;
    }
    report.SetMessage(refusal);
    report.AddString(YUnicodeString(trimmed));
    return false;
}

bool ProfileColorsBase::Rename(std::u16string_view oldName, std::u16string_view newName,
                               YReportMessageParams& report) {
    const std::optional<std::size_t> index = IndexOf(oldName);
    if (!index) {
        report.SetMessage(rivode::msg::ColorListNameUnknown);
        report.AddString(YUnicodeString(oldName));
        return false;
    }
    if (!CheckNewName(newName, oldName, report)) {
        return false;
    }
    YUnicodeString& line = (*this)[*index];
    const YUnicodeString previous(ColorLineName(line));
    line.replace(0, previous.size(), Trimmed(newName));
    RenameCurrent(previous, Trimmed(newName));
    return true;
}

void ProfileColorsBase::ReplaceOrAppend(const YUnicodeString& line) {
    if (const std::optional<std::size_t> index = IndexOf(ColorLineName(line))) {
        (*this)[*index] = line;
    } else {
        push_back(line);
    }
}

void ProfileColorsBase::ReplaceIfPresent(const YUnicodeString& line) {
    if (const std::optional<std::size_t> index = IndexOf(ColorLineName(line))) {
        (*this)[*index] = line;
    }
}

bool ProfileColorsBase::Save(const YProfileKey& key) {
    ReplaceIfPresent(CurrentLine());
    return YProfile2::Save(key);
}

// ---- Schemes

ProfileColorSchemeListV2::ProfileColorSchemeListV2()
    : ProfileColorsBase(u"Color Schemes",
                        {rivode::msg::SchemeNameEmpty, rivode::msg::SchemeNameHasComma,
                         rivode::msg::ColorSchemeExists}) {}

bool ProfileColorSchemeListV2::Init(const YProfileKey* key, YUnicodeString name,
                                    const YStringArray&) {
    const bool found = InitLines(key, std::move(name));
    if (!found && key != nullptr) {
        // The loaded lines stay the built-ins, so converted schemes count as a change and the
        // list is stored at the next save.
        for (const YUnicodeString& line : ReadLegacyColorSchemes(*key)) {
            ReplaceOrAppend(line);
        }
    }
    current = {};
    Select(GetDefaultColorSchemeName());
    return found;
}

namespace {

bool Refuse(YReportMessageParams& report, std::uint32_t id, std::u16string_view name) {
    report.SetMessage(id);
    report.AddString(YUnicodeString(name));
    return false;
}

}  // namespace

bool ProfileColorSchemeListV2::CheckRemovable(std::u16string_view name,
                                              YReportMessageParams& report) const {
    return !IsProtectedColorScheme(name) ||
           Refuse(report, rivode::msg::ColorSchemeCannotBeDeleted, name);
}

bool ProfileColorSchemeListV2::CheckRenamable(std::u16string_view name,
                                              YReportMessageParams& report) const {
    return !IsProtectedColorScheme(name) ||
           Refuse(report, rivode::msg::ColorSchemeCannotBeRenamed, name);
}

bool ProfileColorSchemeListV2::CheckEditable(std::u16string_view name,
                                             YReportMessageParams& report) const {
    return !rivode::EqualsNoCase(name, GetPlatformColorSchemeName()) ||
           Refuse(report, rivode::msg::ColorSchemeFollowsSystem, name);
}

void ProfileColorSchemeListV2::Select(std::u16string_view name) {
    if (empty()) {
        return;
    }
    const std::optional<std::size_t> index = IndexOf(name);
    ParseColorSchemeLine((*this)[index.value_or(0)], current);
}

void ProfileColorSchemeListV2::AddOrReplaceCurrent() {
    ReplaceOrAppend(CurrentLine());
}

void ProfileColorSchemeListV2::RefreshPlatformScheme() {
    const std::optional<std::size_t> index = IndexOf(GetPlatformColorSchemeName());
    if (!index) {
        return;
    }
    unsigned long foreground = 0;
    unsigned long background = 0;
    GetPlatformColors(foreground, background);
    ColorSchemeEntry scheme;
    ParseColorSchemeLine((*this)[*index], scheme);
    scheme.foreground.fill(static_cast<YColor>(foreground));
    scheme.background.fill(static_cast<YColor>(background));
    (*this)[*index] = FormatColorSchemeLine(scheme);
    if (rivode::EqualsNoCase(current.name, scheme.name)) {
        current = scheme;
    }
}

YStringArray ProfileColorSchemeListV2::BuiltInLines() const {
    return GetBuiltInColorSchemeLines();
}

YUnicodeString ProfileColorSchemeListV2::CurrentLine() const {
    return FormatColorSchemeLine(current);
}

void ProfileColorSchemeListV2::RenameCurrent(std::u16string_view oldName,
                                             std::u16string_view newName) {
    if (rivode::EqualsNoCase(current.name, oldName)) {
        current.name = YUnicodeString(newName);
    }
}

// ---- Palettes

ProfileAnsiPaletteList::ProfileAnsiPaletteList()
    : ProfileColorsBase(u"ANSI Color Palettes",
                        {rivode::msg::PaletteNameEmpty, rivode::msg::PaletteNameHasComma,
                         rivode::msg::PaletteExists}) {}

bool ProfileAnsiPaletteList::Init(const YProfileKey* key, YUnicodeString name,
                                  const YStringArray&) {
    const bool found = InitLines(key, std::move(name));
    current = {};
    Select({});
    return found;
}

void ProfileAnsiPaletteList::Select(std::u16string_view name) {
    if (empty()) {
        return;
    }
    const std::optional<std::size_t> index = IndexOf(name);
    ParseAnsiPaletteLine((*this)[index.value_or(0)], current);
}

void ProfileAnsiPaletteList::AddOrReplaceCurrent() {
    ReplaceOrAppend(CurrentLine());
}

YStringArray ProfileAnsiPaletteList::BuiltInLines() const {
    return GetBuiltInAnsiPaletteLines();
}

YUnicodeString ProfileAnsiPaletteList::CurrentLine() const {
    return FormatAnsiPaletteLine(current);
}

void ProfileAnsiPaletteList::RenameCurrent(std::u16string_view oldName,
                                           std::u16string_view newName) {
    if (rivode::EqualsNoCase(current.name, oldName)) {
        current.name = YUnicodeString(newName);
    }
}
