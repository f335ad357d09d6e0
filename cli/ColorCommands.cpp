// colors list|show|set|new|rename|delete|current and palettes list|show: the global lists of
// color schemes and ANSI palettes.
//
// The lists live in the global key. The current scheme is the one the default session names
// ("Color Scheme"), which new sessions take; while it names none of the list, the list's own
// default scheme is current. The current palette is the global "Current ANSI Palette".
#include "ColorText.h"
#include "CommandGroup.h"
#include "CommandStore.h"
#include "Output.h"
#include "SessionCommandSupport.h"
#include "SessionRecordAccess.h"

#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/ProfileColorLists.h>
#include <RivodeRavudaVU/RivodeMessages.h>

namespace rivode::cli {
namespace {

constexpr std::u16string_view kCurrentPaletteValue = u"Current ANSI Palette";

// Attribute slot labels, in slot order.
YUnicodeString SlotLabel(std::size_t slot) {
    return LoadMessageString(rivode::msg::AttributeNormal + static_cast<std::uint32_t>(slot));
}

// Palette labels come in pairs in the message table (each plain color, then its bold form).
YUnicodeString PaletteLabel(std::size_t index) {
    const auto color = static_cast<std::uint32_t>(index % 8);
    return LoadMessageString(rivode::msg::AnsiBlack + 2 * color + (index >= 8 ? 1 : 0));
}

// The global key and the list read from it, kept together because the key must outlive the
// list's use.
template <class List>
class ColorListAccess {
public:
    ColorListAccess(const CommandOptions& options, bool readOnly, std::u16string_view name)
        : store_(options.folders, readOnly), key_(store_.Root(), kGlobalKeyName) {
        list_.Init(&key_, YUnicodeString(name), {});
    }
    List& List_() { return list_; }
    const YProfileKey& Key() const { return key_; }

    // Selects the entry called name; false with the library's message when there is none.
    [[nodiscard]] bool Select(const std::string& name, CommandFailure& failure) {
        if (!list_.IndexOf(FromUtf8(name))) {
            YReportMessageParams report(rivode::msg::ColorListNameUnknown);
            report.AddString(name);
            failure = ReportFailure(report);
            return false;
        }
        list_.Select(FromUtf8(name));
        return true;
    }

    [[nodiscard]] bool Save(CommandFailure& failure) {
        if (list_.Save(key_) && key_.Flush()) {
            return true;
        }
        const YReportMessageParams& status = key_.GetStatus();
        failure = StoreFailure(status.IsSuccess() ? "the global configuration could not be written"
                                                  : ReportText(status));
        return false;
    }

private:
    CommandStore store_;
    YProfileKey key_;
    List list_;
};

using SchemeAccess = ColorListAccess<ProfileColorSchemeListV2>;
using PaletteAccess = ColorListAccess<ProfileAnsiPaletteList>;

SchemeAccess OpenSchemes(const CommandOptions& options, bool readOnly) {
    return SchemeAccess(options, readOnly, u"Color Schemes");
}
PaletteAccess OpenPalettes(const CommandOptions& options, bool readOnly) {
    return PaletteAccess(options, readOnly, u"ANSI Color Palettes");
}

// The scheme the stored default session names; read from its key, so that reading never
// creates the default session.
YUnicodeString DefaultSessionScheme(const CommandOptions& options) {
    CommandStore store(options.folders, true);
    YUnicodeString name;
    if (store.Root().SubKeyExists(u"Sessions")) {
        const YProfileKey sessions(store.Root(), u"Sessions");
        if (sessions.SubKeyExists(kDefaultSessionName)) {
            const YProfileKey defaults(sessions, kDefaultSessionName);
            (void)defaults.GetString(u"Color Scheme", name);
        }
    }
    return name;
}

// The name of the current scheme, as the list spells it.
YUnicodeString CurrentSchemeName(const CommandOptions& options, ProfileColorSchemeListV2& schemes) {
    if (const auto index = schemes.IndexOf(DefaultSessionScheme(options))) {
        return YUnicodeString(ColorLineName(schemes[*index]));
    }
    const auto index = schemes.IndexOf(GetDefaultColorSchemeName());
    return schemes.empty() ? YUnicodeString()
                           : YUnicodeString(ColorLineName(schemes[index.value_or(0)]));
}

// Makes the default session name scheme.
bool SetDefaultSessionScheme(const CommandOptions& options, const YUnicodeString& scheme,
                             CommandFailure& failure) {
    SessionRecordAccess defaults;
    if (!defaults.Open(options, ToUtf8(kDefaultSessionName), failure)) {
        return false;
    }
    defaults.Record().terminalConfig.colorScheme = scheme;
    return defaults.Save(failure);
}

void PrintNames(const YStringArray& names, const YUnicodeString& current, bool json) {
    if (json) {
        nlohmann::json rows = nlohmann::json::array();
        for (const YUnicodeString& name : names) {
            rows.push_back({{"name", ToUtf8(name)}, {"current", name == current}});
        }
        PrintJson(rows);
        return;
    }
    for (const YUnicodeString& name : names) {
        PrintLine((name == current ? "*" : "") + ToUtf8(name));
    }
}

ExitStatus RunList(const CommandOptions& options) {
    SchemeAccess access = OpenSchemes(options, true);
    PrintNames(access.List_().GetNames(), CurrentSchemeName(options, access.List_()), options.json);
    return ExitOk;
}

ExitStatus RunShow(const CommandOptions& options, const std::string& name) {
    SchemeAccess access = OpenSchemes(options, true);
    CommandFailure failure;
    if (!access.Select(name, failure)) {
        return Fail(failure);
    }
    const ColorSchemeEntry& scheme = access.List_().current;
    if (options.json) {
        nlohmann::json foreground = nlohmann::json::array();
        nlohmann::json background = nlohmann::json::array();
        for (std::size_t slot = 0; slot < kColorSlotCount; ++slot) {
            foreground.push_back(FormatColorText(scheme.foreground[slot]));
            background.push_back(FormatColorText(scheme.background[slot]));
        }
        PrintJson({{"name", ToUtf8(scheme.name)},
                   {"palette", ToUtf8(scheme.palette)},
                   {"overstrikeBold", scheme.overstrikeBold != 0},
                   {"showUnderline", scheme.showUnderline != 0},
                   {"enableBlink", scheme.enableBlink != 0},
                   {"foreground", foreground},
                   {"background", background}});
        return ExitOk;
    }
    const auto onOff = [](std::uint8_t value) { return value != 0 ? "true" : "false"; };
    PrintLine("name\t" + ToUtf8(scheme.name));
    PrintLine(std::string("overstrike bold\t") + onOff(scheme.overstrikeBold));
    PrintLine(std::string("show underline\t") + onOff(scheme.showUnderline));
    PrintLine(std::string("enable blink\t") + onOff(scheme.enableBlink));
    for (std::size_t slot = 0; slot < kColorSlotCount; ++slot) {
        PrintLine(ToUtf8(SlotLabel(slot)) + "\t" + FormatColorText(scheme.foreground[slot]) + "\t" +
                  FormatColorText(scheme.background[slot]));
    }
    PrintLine("palette\t" + ToUtf8(scheme.palette));
    return ExitOk;
}

// A slot as its number 0-7 or its label ("Bold Underline"), letter case ignored.
std::optional<std::size_t> ParseSlot(const std::string& text) {
    if (text.size() == 1 && text[0] >= '0' && text[0] < '0' + static_cast<int>(kColorSlotCount)) {
        return static_cast<std::size_t>(text[0] - '0');
    }
    for (std::size_t slot = 0; slot < kColorSlotCount; ++slot) {
        if (EqualsNoCase(SlotLabel(slot), FromUtf8(text))) {
            return slot;
        }
    }
    return std::nullopt;
}

ExitStatus RunSet(const CommandOptions& options, const std::string& name, const std::string& slot,
                  const std::string& side, const std::string& color) {
    const std::optional<std::size_t> index = ParseSlot(slot);
    const std::optional<YColor> value = ParseColorText(color);
    if (!index) {
        return Fail(UsageFailure("SLOT must be 0-7 or an attribute's name, such as \"Bold\""));
    }
    if (side != "fg" && side != "bg") {
        return Fail(UsageFailure("give fg or bg for the foreground or the background"));
    }
    if (!value) {
        return Fail(UsageFailure("\"" + color + "\" is no color: give #RRGGBB"));
    }
    SchemeAccess access = OpenSchemes(options, false);
    CommandFailure failure;
    YReportMessageParams report;
    if (!access.Select(name, failure)) {
        return Fail(failure);
    }
    if (!access.List_().CheckEditable(access.List_().current.name, report)) {
        return Fail(ReportFailure(report));
    }
    ColorSchemeEntry& scheme = access.List_().current;
    (side == "fg" ? scheme.foreground : scheme.background)[*index] = *value;
    access.List_().AddOrReplaceCurrent();
    return access.Save(failure) ? ExitOk : Fail(failure);
}

ExitStatus RunNew(const CommandOptions& options, const std::string& name, const std::string& from) {
    SchemeAccess access = OpenSchemes(options, false);
    ProfileColorSchemeListV2& schemes = access.List_();
    YReportMessageParams report;
    CommandFailure failure;
    if (!schemes.CheckNewName(FromUtf8(name), u"", report)) {
        return Fail(ReportFailure(report));
    }
    // A copy of another scheme keeps its palette; a new scheme starts from the current one with
    // the standard palette.
    if (!from.empty()) {
        if (!access.Select(from, failure)) {
            return Fail(failure);
        }
    } else {
        schemes.Select(CurrentSchemeName(options, schemes));
        schemes.current.palette = GetStandardAnsiPaletteName();
    }
    const YUnicodeString text = FromUtf8(name);
    const std::size_t first = text.find_first_not_of(u" \t");
    schemes.current.name = text.substr(first, text.find_last_not_of(u" \t") - first + 1);
    schemes.AddOrReplaceCurrent();
    return access.Save(failure) ? ExitOk : Fail(failure);
}

ExitStatus RunRename(const CommandOptions& options, const std::string& oldName,
                     const std::string& newName) {
    SchemeAccess access = OpenSchemes(options, false);
    YReportMessageParams report;
    CommandFailure failure;
    const bool wasCurrent = EqualsNoCase(DefaultSessionScheme(options), FromUtf8(oldName));
    if (!access.List_().CheckRenamable(FromUtf8(oldName), report) ||
        !access.List_().Rename(FromUtf8(oldName), FromUtf8(newName), report)) {
        return Fail(ReportFailure(report));
    }
    if (!access.Save(failure)) {
        return Fail(failure);
    }
    // The current scheme stays current under its new name.
    const auto index = access.List_().IndexOf(FromUtf8(newName));
    if (wasCurrent && index &&
        !SetDefaultSessionScheme(options, YUnicodeString(ColorLineName(access.List_()[*index])),
                                 failure)) {
        return Fail(failure);
    }
    return ExitOk;
}

ExitStatus RunDelete(const CommandOptions& options, const std::string& name) {
    SchemeAccess access = OpenSchemes(options, false);
    CommandFailure failure;
    if (!access.Select(name, failure)) {
        return Fail(failure);
    }
    YReportMessageParams report;
    if (!access.List_().CheckRemovable(access.List_().current.name, report)) {
        return Fail(ReportFailure(report));
    }
    access.List_().Remove(FromUtf8(name));
    return access.Save(failure) ? ExitOk : Fail(failure);
}

ExitStatus RunCurrent(const CommandOptions& options, const std::optional<std::string>& name) {
    SchemeAccess access = OpenSchemes(options, true);
    if (!name) {
        PrintLine(ToUtf8(CurrentSchemeName(options, access.List_())));
        return ExitOk;
    }
    CommandFailure failure;
    if (!access.Select(*name, failure)) {
        return Fail(failure);
    }
    return SetDefaultSessionScheme(options, access.List_().current.name, failure) ? ExitOk
                                                                                  : Fail(failure);
}

ExitStatus RunPaletteList(const CommandOptions& options) {
    PaletteAccess access = OpenPalettes(options, true);
    YUnicodeString current;
    (void)access.Key().GetString(kCurrentPaletteValue, current);
    access.List_().Select(current);
    PrintNames(access.List_().GetNames(), access.List_().current.name, options.json);
    return ExitOk;
}

ExitStatus RunPaletteShow(const CommandOptions& options, const std::string& name) {
    PaletteAccess access = OpenPalettes(options, true);
    CommandFailure failure;
    if (!access.Select(name, failure)) {
        return Fail(failure);
    }
    const AnsiPalette& palette = access.List_().current;
    if (options.json) {
        nlohmann::json colors = nlohmann::json::array();
        for (std::size_t i = 0; i < kAnsiColorCount; ++i) {
            colors.push_back({{"label", ToUtf8(PaletteLabel(i))},
                              {"color", FormatColorText(palette.colors[i])}});
        }
        PrintJson({{"name", ToUtf8(palette.name)}, {"colors", colors}});
        return ExitOk;
    }
    for (std::size_t i = 0; i < kAnsiColorCount; ++i) {
        PrintLine(ToUtf8(PaletteLabel(i)) + "\t" + FormatColorText(palette.colors[i]));
    }
    return ExitOk;
}

class ColorCommands : public CommandGroup {
public:
    void Add(CLI::App& app, CommandOptions& options) override {
        CLI::App* colors = app.add_subcommand("colors", "Show and edit the color schemes");
        colors->require_subcommand(1);
        list_ = colors->add_subcommand("list", "The schemes, one a line, the current one after *");
        list_->add_flag("--json", options.json, "Print JSON: an array of {\"name\", \"current\"}");
        show_ = colors->add_subcommand(
            "show", "A scheme's switches, its foreground and background per attribute, palette");
        show_->add_option("NAME", name_, "The scheme (letter case ignored)")->required();
        show_->add_flag("--json", options.json,
                        "Print JSON: {\"name\", \"palette\", \"overstrikeBold\", "
                        "\"showUnderline\", \"enableBlink\", \"foreground\", \"background\"}");
        set_ = colors->add_subcommand("set", "Change one color of a scheme");
        set_->add_option("NAME", name_, "The scheme (letter case ignored)")->required();
        set_->add_option("SLOT", slot_, "The attribute: 0-7 or its name, such as Bold")->required();
        set_->add_option("SIDE", side_, "fg or bg")->required();
        set_->add_option("COLOR", color_, "#RRGGBB")->required();
        new_ = colors->add_subcommand(
            "new",
            "Add a scheme: a copy of --from, or of the current scheme with the standard "
            "palette");
        new_->add_option("NAME", name_, "The new scheme's name (no comma)")->required();
        new_->add_option("--from", other_, "The scheme to copy");
        rename_ = colors->add_subcommand("rename", "Rename a scheme");
        rename_->add_option("OLD", name_, "The scheme (letter case ignored)")->required();
        rename_->add_option("NEW", other_, "Its new name (no comma)")->required();
        delete_ = colors->add_subcommand(
            "delete", "Delete a scheme (sessions that name it fall back to the default)");
        delete_->add_option("NAME", name_, "The scheme (letter case ignored)")->required();
        current_ = colors->add_subcommand(
            "current", "Print the current scheme (the default session's), or make NAME current");
        current_->add_option("NAME", current_name_, "The scheme (letter case ignored)");

        CLI::App* palettes = app.add_subcommand("palettes", "Show the ANSI color palettes");
        palettes->require_subcommand(1);
        palette_list_ =
            palettes->add_subcommand("list", "The palettes, one a line, the current one after *");
        palette_list_->add_flag("--json", options.json,
                                "Print JSON: an array of {\"name\", \"current\"}");
        palette_show_ =
            palettes->add_subcommand("show", "The 16 colors in palette order: label TAB #RRGGBB");
        palette_show_->add_option("NAME", name_, "The palette (letter case ignored)")->required();
        palette_show_->add_flag("--json", options.json,
                                "Print JSON: {\"name\", \"colors\": [{\"label\", \"color\"}]}");
    }

    std::optional<ExitStatus> Run(const CommandOptions& options) override {
        if (list_->parsed()) {
            return RunList(options);
        }
        if (show_->parsed()) {
            return RunShow(options, name_);
        }
        if (set_->parsed()) {
            return RunSet(options, name_, slot_, side_, color_);
        }
        if (new_->parsed()) {
            return RunNew(options, name_, other_);
        }
        if (rename_->parsed()) {
            return RunRename(options, name_, other_);
        }
        if (delete_->parsed()) {
            return RunDelete(options, name_);
        }
        if (current_->parsed()) {
            return RunCurrent(options, current_name_);
        }
        if (palette_list_->parsed()) {
            return RunPaletteList(options);
        }
        if (palette_show_->parsed()) {
            return RunPaletteShow(options, name_);
        }
        return std::nullopt;
    }

private:
    CLI::App* list_ = nullptr;
    CLI::App* show_ = nullptr;
    CLI::App* set_ = nullptr;
    CLI::App* new_ = nullptr;
    CLI::App* rename_ = nullptr;
    CLI::App* delete_ = nullptr;
    CLI::App* current_ = nullptr;
    CLI::App* palette_list_ = nullptr;
    CLI::App* palette_show_ = nullptr;
    std::string name_;
    std::string other_;
    std::string slot_;
    std::string side_;
    std::string color_;
    std::optional<std::string> current_name_;
};

}  // namespace

std::unique_ptr<CommandGroup> MakeColorCommands() {
    return std::make_unique<ColorCommands>();
}

}  // namespace rivode::cli
