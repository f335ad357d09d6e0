#include <RivodeRavudaVU/SessionOptionsDialog.h>

#include <RivodeRavudaVU/ColorScheme.h>
#include <RivodeRavudaVU/EmulationNames.h>
#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/HighlightConfig.h>
#include <RivodeRavudaVU/KeywordLists.h>
#include <RivodeRavudaVU/Printer.h>
#include <RivodeRavudaVU/ProfileColorLists.h>
#include <RivodeRavudaVU/RivodeMessages.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YProfileLogFont.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace msg = rivode::msg;

namespace {

using Kind = SessionPageField::Kind;

constexpr unsigned kEmulationTemplate = 4365;

// The largest number a spin box offers where the value has no limit of its own.
constexpr std::uint32_t kLargeNumber = 9999999;

SessionPageField Check(std::uint32_t label, YProfile<bool>& value) {
    SessionPageField field;
    field.kind = Kind::Check;
    field.label = LoadMessageString(label);
    field.load = [&value](SessionPageField& f) { f.number = value.Get() ? 1 : 0; };
    field.store = [&value](const SessionPageField& f) { value.Set(f.number != 0); };
    return field;
}

SessionPageField TriState(std::uint32_t label, YProfile<YTriState>& value) {
    SessionPageField field;
    field.kind = Kind::TriState;
    field.label = LoadMessageString(label);
    field.load = [&value](SessionPageField& f) {
        f.number = static_cast<std::uint32_t>(value.Get());
    };
    field.store = [&value](const SessionPageField& f) {
        value.Set(static_cast<YTriState>(std::min<std::uint32_t>(f.number, 2)));
    };
    return field;
}

SessionPageField Number(std::uint32_t label, YProfile<std::uint32_t>& value, std::uint32_t minimum,
                        std::uint32_t maximum) {
    SessionPageField field;
    field.kind = Kind::Number;
    field.label = LoadMessageString(label);
    field.minimum = minimum;
    field.maximum = maximum;
    field.load = [&value](SessionPageField& f) { f.number = value.Get(); };
    field.store = [&value](const SessionPageField& f) { value.Set(f.number); };
    return field;
}

SessionPageField Choice(std::uint32_t label, YProfile<std::uint32_t>& value,
                        std::vector<std::pair<std::uint32_t, std::uint32_t>> choices) {
    SessionPageField field = Number(label, value, 0, 0);
    field.kind = Kind::Choice;
    for (const auto& [number, text] : choices) {
        field.choices.emplace_back(number, LoadMessageString(text));
    }
    return field;
}

template <class Text>
SessionPageField TextField(std::uint32_t label, Text& value) {
    SessionPageField field;
    field.kind = Kind::Text;
    field.label = LoadMessageString(label);
    field.load = [&value](SessionPageField& f) { f.text = value.Get(); };
    field.store = [&value](const SessionPageField& f) { value.Set(f.text); };
    return field;
}

SessionPageField Names(std::uint32_t label, YProfileString& value,
                       std::vector<YUnicodeString> names) {
    SessionPageField field = TextField(label, value);
    field.kind = Kind::TextChoice;
    field.names = std::move(names);
    return field;
}

// A number the record keeps as a dword but the page offers as on or off: a stored number other
// than 0 and 1 is kept while the box stays ticked.
SessionPageField Flag(std::uint32_t label, YProfile<std::uint32_t>& value) {
    SessionPageField field;
    field.kind = Kind::Check;
    field.label = LoadMessageString(label);
    field.load = [&value](SessionPageField& f) { f.number = value.Get() != 0 ? 1 : 0; };
    field.store = [&value](const SessionPageField& f) {
        if ((f.number != 0) != (value.Get() != 0)) {
            value.Set(f.number != 0 ? 1 : 0);
        }
    };
    return field;
}

// The terminal's colors as one choice over the three values that make them up: ANSI color off
// is monochrome; on, the wider palettes add to it.
enum ColorMode : std::uint32_t { kMonochrome, kAnsi, k256Colors, kTrueColor };

ColorMode CurrentColorMode(const TerminalConfig& t) {
    if (!t.ansiColor.Get()) {
        return kMonochrome;
    }
    if (t.enableXtermTruecolor.Get()) {
        return kTrueColor;
    }
    return t.enableXterm256Color.Get() ? k256Colors : kAnsi;
}

SessionPageField ColorModeChoice(TerminalConfig& t) {
    SessionPageField field;
    field.kind = Kind::Choice;
    field.label = LoadMessageString(msg::EmulationColorModeLabel);
    for (const auto& [mode, text] :
         {std::pair{kMonochrome, msg::ColorModeMonochrome}, std::pair{kAnsi, msg::ColorModeAnsi},
          std::pair{k256Colors, msg::ColorMode256},
          std::pair{kTrueColor, msg::ColorModeTrueColor}}) {
        field.choices.emplace_back(mode, LoadMessageString(text));
    }
    field.load = [&t](SessionPageField& f) { f.number = CurrentColorMode(t); };
    // An unchanged mode leaves the three values as they were: a session may hold combinations
    // (256 colors off under true color) that the choice does not tell apart.
    field.store = [&t](const SessionPageField& f) {
        if (f.number == CurrentColorMode(t)) {
            return;
        }
        t.ansiColor.Set(f.number != kMonochrome);
        if (f.number != kMonochrome) {
            t.enableXterm256Color.Set(f.number >= k256Colors);
            t.enableXtermTruecolor.Set(f.number == kTrueColor);
        }
    };
    return field;
}

// The models a TN3270 terminal can be; the rows and columns follow the model when it loads.
std::vector<YUnicodeString> Tn3270Models() {
    return {u"IBM-3278-2", u"IBM-3278-3", u"IBM-3278-4", u"IBM-3278-5"};
}

// "Operating System" of the remote side as the file-transfer client reads it: 0 lets the client
// find out from the server's replies, every other number names the system whose listing format
// and path rules it assumes.
std::vector<std::pair<std::uint32_t, std::uint32_t>> OperatingSystems() {
    return {{0, msg::OperatingSystemAutomatic},
            {1, msg::OperatingSystemUnix},
            {2, msg::OperatingSystemWindows},
            {3, msg::OperatingSystemVms},
            {4, msg::OperatingSystemMvs}};
}

// "Resize Mode": what a terminal window does when the user resizes it.
std::vector<std::pair<std::uint32_t, std::uint32_t>> ResizeModes() {
    return {{0, msg::ResizeModeRowsColumns}, {1, msg::ResizeModeFont}, {2, msg::ResizeModeKeep}};
}

// A signed distance kept by the record, offered from 0: a stored negative number shows as 0 and
// is kept unless the user changes it.
SessionPageField Distance(std::uint32_t label, YProfile<int>& value) {
    SessionPageField field;
    field.kind = Kind::Number;
    field.label = LoadMessageString(label);
    field.maximum = kLargeNumber;
    const auto shown = [&value] { return static_cast<std::uint32_t>(std::max(value.Get(), 0)); };
    field.load = [shown](SessionPageField& f) { f.number = shown(); };
    field.store = [&value, shown](const SessionPageField& f) {
        if (f.number != shown()) {
            value.Set(static_cast<int>(f.number));
        }
    };
    return field;
}

// A switch offered as a choice of its two meanings.
SessionPageField Either(std::uint32_t label, YProfile<bool>& value, std::uint32_t onText,
                        std::uint32_t offText) {
    SessionPageField field;
    field.kind = Kind::Choice;
    field.label = LoadMessageString(label);
    field.choices = {{1, LoadMessageString(onText)}, {0, LoadMessageString(offText)}};
    field.load = [&value](SessionPageField& f) { f.number = value.Get() ? 1 : 0; };
    field.store = [&value](const SessionPageField& f) { value.Set(f.number != 0); };
    return field;
}

// A sensitive text, shown deciphered. Stored again only when edited; while sensitive data is
// disabled the value cannot be enciphered and keeps what it holds.
SessionPageField SecretText(std::uint32_t label, YProfileEncryptedString& value) {
    SessionPageField field;
    field.kind = Kind::Text;
    field.label = LoadMessageString(label);
    field.load = [&value](SessionPageField& f) {
        f.text = GetProfileEncryptedPlaintextString(value);
    };
    field.store = [&value](const SessionPageField& f) {
        if (f.text != GetProfileEncryptedPlaintextString(value)) {
            (void)UpdateProfileEncryptedString(value, f.text);
        }
    };
    return field;
}

// The color schemes a session can name: the application's list, or the built-in schemes when
// the dialog has no application-wide configuration.
std::vector<YUnicodeString> ColorSchemeNames(const SessionValuesPage& page) {
    const GlobalConfig* global = page.GetOwner().GetGlobalConfig();
    if (global != nullptr && global->guiConfig != nullptr) {
        return global->guiConfig->colorSchemes.GetNames();
    }
    std::vector<YUnicodeString> names;
    for (const YUnicodeString& line : GetBuiltInColorSchemeLines()) {
        ColorSchemeEntry scheme;
        ParseColorSchemeLine(line, scheme);
        names.push_back(scheme.name);
    }
    return names;
}

// "Color Scheme" names a scheme of the application's list; an empty name stands for the default
// scheme, which the choice shows by its name without storing it unless another is chosen.
SessionPageField ColorSchemeChoice(const SessionValuesPage& page, YProfileString& value) {
    SessionPageField field = Names(msg::AppearanceSchemeLabel, value, ColorSchemeNames(page));
    const auto shown = [&value] {
        return value.Get().empty() ? GetDefaultColorSchemeName() : value.Get();
    };
    field.load = [shown](SessionPageField& f) { f.text = shown(); };
    field.store = [&value, shown](const SessionPageField& f) {
        if (f.text != shown()) {
            value.Set(f.text);
        }
    };
    return field;
}

// The match style and letter case of the keyword list the session names: the list's own values,
// shared by every session that names it, so they are written to the list on OK (writeOutside).
void FillKeywordMatchFields(SessionValuesPage& page) {
    struct Edited {
        YRefPtr<HighlightConfig> list;
        bool changed = false;
    };
    auto edited = std::make_shared<Edited>();
    SessionPageField style;
    style.kind = Kind::Choice;
    style.label = LoadMessageString(msg::KeywordMatchStyleLabel);
    style.choices = {{1, LoadMessageString(msg::MatchPhrasesAndSubstrings)},
                     {0, LoadMessageString(msg::MatchWholeWords)}};
    style.load = [&page, edited](SessionPageField& f) {
        edited->list = OpenSessionKeywordList(page.GetSession());
        edited->changed = false;
        f.number = !edited->list || edited->list->GetRegexLineMode() ? 1 : 0;
    };
    style.store = [edited](const SessionPageField& f) {
        if (edited->list && (f.number != 0) != edited->list->GetRegexLineMode()) {
            edited->list->SetRegexLineMode(f.number != 0);
            edited->changed = true;
        }
    };
    SessionPageField matchCase;
    matchCase.kind = Kind::Check;
    matchCase.label = LoadMessageString(msg::KeywordMatchCaseLabel);
    matchCase.load = [edited](SessionPageField& f) {
        f.number = edited->list && edited->list->GetMatchCase() ? 1 : 0;
    };
    matchCase.store = [edited](const SessionPageField& f) {
        if (edited->list && (f.number != 0) != edited->list->GetMatchCase()) {
            edited->list->SetMatchCase(f.number != 0);
            edited->changed = true;
        }
    };
    page.fields.push_back(std::move(style));
    page.fields.push_back(std::move(matchCase));
    page.writeOutside = [&page, edited](bool& written, YReportMessageParams& report) {
        written = false;
        if (!edited->changed) {
            return true;
        }
        YUnicodeString name;
        YReportMessageParams ignored;
        // Saved under the spelling of the list's key, as the session named it on opening.
        if (!OpenKeywordList(page.GetSession().keywordSet.Get(), ignored, &name)) {
            name = page.GetSession().keywordSet.Get();
        }
        if (!SaveKeywordList(name, *edited->list, report)) {
            return false;
        }
        edited->changed = false;
        written = true;
        return true;
    };
}

// A font as its face and size in points; the rest of the description (weight, pitch and the
// like) is kept. Heights are stored in pixels at 96 per inch, negative for the character height.
SessionPageField FontField(std::uint32_t label, YProfileLogFont& value) {
    constexpr int kPixelsPerInch = 96;
    constexpr int kPointsPerInch = 72;
    SessionPageField field;
    field.kind = Kind::Font;
    field.label = LoadMessageString(label);
    const auto points = [](const YLogFont& font) {
        const int pixels = font.height < 0 ? -font.height : font.height;
        return static_cast<std::uint32_t>((pixels * kPointsPerInch + kPixelsPerInch / 2) /
                                          kPixelsPerInch);
    };
    field.load = [&value, points](SessionPageField& f) {
        f.text = YUnicodeString(value.Get().GetFaceName());
        f.number = points(value.Get());
    };
    field.store = [&value, points](const SessionPageField& f) {
        const YLogFont& font = value.Get();
        if (f.text == font.GetFaceName() && f.number == points(font)) {
            return;
        }
        YLogFont changed = font;
        changed.SetFaceName(f.text);
        changed.height = -static_cast<std::int32_t>(
            (f.number * kPixelsPerInch + kPointsPerInch / 2) / kPointsPerInch);
        value.Set(changed);
    };
    return field;
}

SessionPageField ColorField(std::uint32_t label, YProfile<std::uint32_t>& value) {
    SessionPageField field = Number(label, value, 0, 0xFFFFFF);
    field.kind = Kind::Color;
    return field;
}

// The palette a session starts from when it stops using the application's colors: the
// application's current palette, or the standard one when the dialog has no application-wide
// configuration.
std::array<YColor, kAnsiColorCount> ApplicationAnsiColors(const SessionValuesPage& page) {
    AnsiPalette palette;
    ParseAnsiPaletteLine(GetBuiltInAnsiPaletteLines().front(), palette);
    const GlobalConfig* global = page.GetOwner().GetGlobalConfig();
    if (global != nullptr && !global->ansiColorPalettes.Get().empty()) {
        ProfileAnsiPaletteList palettes = global->ansiColorPalettes;
        palettes.Select(global->currentAnsiPalette.Get());
        palette = palettes.current;
    }
    return palette.colors;
}

// "ANSI Color RGB": the session's 16 colors, four bytes each (red, green, blue, zero), the eight
// normal colors first, then the same eight bold. A block of another length is none.
constexpr std::size_t kAnsiColorBytes = 4;

std::array<YColor, kAnsiColorCount> SessionAnsiColors(
    const YProfileBlob& value, const std::array<YColor, kAnsiColorCount>& fallback) {
    const YProfileBlob::Bytes& bytes = value.Get();
    if (bytes.size() != kAnsiColorCount * kAnsiColorBytes) {
        return fallback;
    }
    std::array<YColor, kAnsiColorCount> colors{};
    for (std::size_t i = 0; i < kAnsiColorCount; ++i) {
        const std::uint8_t* color = bytes.data() + i * kAnsiColorBytes;
        colors[i] = MakeColor(color[0], color[1], color[2]);
    }
    return colors;
}

// One color of the session's palette. Storing an unchanged color writes nothing, so a session
// whose user only looked keeps having no palette of its own.
SessionPageField AnsiColorField(std::size_t index, YProfileBlob& value,
                                const std::array<YColor, kAnsiColorCount>& fallback) {
    constexpr std::size_t kNormalColors = kAnsiColorCount / 2;
    // The labels name each bold color right after its normal one.
    const std::uint32_t label =
        msg::AnsiBlack +
        static_cast<std::uint32_t>(2 * (index % kNormalColors) + index / kNormalColors);
    SessionPageField field;
    field.kind = Kind::Color;
    field.label = LoadMessageString(label);
    field.maximum = 0xFFFFFF;
    field.load = [&value, index, fallback](SessionPageField& f) {
        f.number = SessionAnsiColors(value, fallback)[index];
    };
    field.store = [&value, index, fallback](const SessionPageField& f) {
        std::array<YColor, kAnsiColorCount> colors = SessionAnsiColors(value, fallback);
        if (colors[index] == f.number) {
            return;
        }
        colors[index] = f.number;
        YProfileBlob::Bytes bytes;
        for (const YColor color : colors) {
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(color & 0xFF),
                                       static_cast<std::uint8_t>((color >> 8) & 0xFF),
                                       static_cast<std::uint8_t>((color >> 16) & 0xFF), 0});
        }
        value.Set(std::move(bytes));
    };
    return field;
}

std::vector<SessionPageField> AnsiColorFields(const SessionValuesPage& page, TerminalConfig& t) {
    std::vector<SessionPageField> fields{Check(msg::AnsiUseGlobalLabel, t.useGlobalAnsiColors)};
    const std::array<YColor, kAnsiColorCount> fallback = ApplicationAnsiColors(page);
    for (std::size_t i = 0; i < kAnsiColorCount; ++i) {
        fields.push_back(AnsiColorField(i, t.ansiColorRgb, fallback));
    }
    return fields;
}

// "Page Margins": four distances in inches, edited to the thousandth as the printer rounds
// them. A margin beyond the largest paper is no margin.
enum class MarginSide { Left, Right, Top, Bottom };

SessionPageField MarginField(std::uint32_t label, YProfileMarginData& value, MarginSide side) {
    constexpr double kThousandths = 1000.0;
    constexpr std::uint32_t kLargestMargin = 20000;  // 20 inches
    SessionPageField field;
    field.kind = Kind::Decimal;
    field.label = LoadMessageString(label);
    field.maximum = kLargestMargin;
    const auto part = [side](YMarginData& margins) -> double& {
        switch (side) {
            case MarginSide::Left:
                return margins.left;
            case MarginSide::Right:
                return margins.right;
            case MarginSide::Top:
                return margins.top;
            case MarginSide::Bottom:
                break;
        }
        return margins.bottom;
    };
    field.load = [&value, part](SessionPageField& f) {
        YMarginData margins = value.Get();
        const double inches = std::clamp(part(margins), 0.0, kLargestMargin / kThousandths);
        f.number = static_cast<std::uint32_t>(std::lround(inches * kThousandths));
    };
    field.store = [&value, part](const SessionPageField& f) {
        YMarginData margins = value.Get();
        const double inches = PrinterBase::RoundMargin(f.number / kThousandths);
        if (std::lround(part(margins) * kThousandths) == static_cast<long>(f.number)) {
            return;  // unchanged: a stored value with more decimals stays as it is
        }
        part(margins) = inches;
        value.Set(margins);
    };
    return field;
}

// "Cursor Style": the shape the terminal draws its cursor in.
std::vector<std::pair<std::uint32_t, std::uint32_t>> CursorStyles() {
    return {{0, msg::CursorStyleBlock},
            {1, msg::CursorStyleUnderline},
            {2, msg::CursorStyleVerticalBar}};
}

// The caller's application-wide limit bounds the scrollback; without one, the largest buffer a
// terminal keeps.
std::uint32_t ScrollbackLimit(const SessionValuesPage& page) {
    constexpr std::uint32_t kLargestScrollback = 128000;
    const int limit = page.GetOwner().GetScrollbackLimit();
    return limit > 0 ? static_cast<std::uint32_t>(limit) : kLargestScrollback;
}

// What a transfer protocol does with the FTP/SFTP page's values.
struct TransferTraits {
    std::u16string_view prefix;  // the protocols whose names begin so
    // Directory listings come as text in the server's own format and local time, so the
    // server's operating system and time zone are needed to read them (SFTP and HTTP carry
    // structured entries in universal time).
    bool listsAsText;
    // Files are created with permissions the client gives (the creation mask applies).
    bool setsModes;
    // A transferred file's modification time can be set on the other side.
    bool setsTimes;
};
constexpr std::array<TransferTraits, 4> kTransferTraits = {{
    {u"FTP", true, false, true},  // FTP and FTP/SSL; a file's time is set with MFMT
    {u"SFTP", false, true, true},
    {u"SCP", true, true, true},  // listings come from the remote shell's ls
    {u"HTTP", false, false, false},
}};

// The field applies only while the session's transfer protocol, as chosen now on the
// Connection page, has trait; a protocol none of the rows names keeps every field.
void ApplyToTransfers(SessionConfig& session, SessionPageField& field,
                      bool TransferTraits::*trait) {
    field.applies = [&session, trait] {
        const YUnicodeString name = session.GetTransferProtocolName();
        for (const TransferTraits& traits : kTransferTraits) {
            if (name.size() >= traits.prefix.size() &&
                rivode::EqualsNoCase(std::u16string_view(name).substr(0, traits.prefix.size()),
                                     traits.prefix)) {
                return traits.*trait;
            }
        }
        return true;
    };
}

}  // namespace

YUnicodeString SessionOptionsDialogBase::GetChosenEmulation() const {
    for (const std::unique_ptr<SessionValuesPage>& page : valuesPages_) {
        if (page->GetTemplateId() == kEmulationTemplate && !page->fields.empty()) {
            return page->fields.front().text;
        }
    }
    return session_->terminalConfig.emulation.Get();
}

SessionValuesPage::SessionValuesPage(SessionOptionsDialogBase& dialog, unsigned templateId,
                                     std::uint32_t titleId)
    : SessionOptionsPage(dialog, templateId, titleId) {}

SessionValuesPage::SessionValuesPage(SessionOptionsDialogBase& dialog, unsigned templateId,
                                     const YUnicodeString& title)
    : SessionOptionsPage(dialog, templateId, title) {}

void SessionValuesPage::Reload() {
    for (SessionPageField& field : fields) {
        if (field.load) {
            field.load(field);
        }
    }
}

bool SessionValuesPage::OnOK() {
    if (IsReadOnly()) {
        return true;
    }
    for (const SessionPageField& field : fields) {
        if (field.store) {
            field.store(field);
        }
    }
    return true;
}

bool FillSessionValuesPage(SessionValuesPage& page) {
    SessionConfig& s = page.GetSession();
    TerminalConfig& t = s.terminalConfig;
    std::vector<SessionPageField>& f = page.fields;
    switch (page.GetTemplateId()) {
        case 4453:  // Terminal
            f = {Check(msg::TerminalAudioBellLabel, t.audioBell),
                 Check(msg::TerminalVisualBellLabel, t.visualBell),
                 Check(msg::TerminalCloseOnDisconnectLabel, t.closeOnDisconnect),
                 Check(msg::TerminalClearOnDisconnectLabel, t.clearOnDisconnect),
                 Check(msg::TerminalJumpScrollLabel, t.jumpScroll),
                 Check(msg::TerminalScrollToClearLabel, t.scrollToClear),
                 Check(msg::TerminalScrollOnOutputLabel, t.scrollToBottomOnOutput),
                 Check(msg::TerminalScrollOnKeypressLabel, t.scrollToBottomOnKeypress),
                 TriState(msg::TerminalAutoReconnectLabel, s.autoReconnect),
                 Check(msg::TerminalIdleCheckLabel, s.idleCheck),
                 TextField(msg::TerminalIdleStringLabel, s.idleString),
                 Number(msg::TerminalIdleTimeoutLabel, s.idleTimeout, 1, kLargeNumber),
                 Check(msg::TerminalNoOpCheckLabel, s.idleNoOpCheck),
                 Number(msg::TerminalNoOpTimeoutLabel, s.idleNoOpTimeout, 1, kLargeNumber),
                 Check(msg::TerminalWordDelimitersCheckLabel, s.useWordDelimiterChars),
                 TextField(msg::TerminalWordDelimitersLabel, s.wordDelimiterChars),
                 Check(msg::TerminalWheelToRemoteLabel, s.sendScrollWheelEventsToRemote),
                 Check(msg::TerminalShiftLocalMouseLabel, t.shiftForcesLocalMouseOperations),
                 Flag(msg::TerminalCursorOnClickLabel, s.positionCursorOnLeftClick)};
            break;
        case kEmulationTemplate:
            // The emulation's name first: GetChosenEmulation reads it there.
            f = {Names(msg::EmulationTerminalLabel, t.emulation, GetEmulationNames()),
                 ColorModeChoice(t),
                 Check(msg::EmulationAlternateKeyboardLabel, t.useAlternateKeyboard),
                 Number(msg::EmulationRowsLabel, t.rows, 1, 1024),
                 Number(msg::EmulationColumnsLabel, t.cols, 1, 1024),
                 Number(msg::EmulationScrollbackLabel, t.scrollback, 0, ScrollbackLimit(page)),
                 Check(msg::EmulationUseTerminalTypeLabel, t.useTerminalType),
                 TextField(msg::EmulationTerminalTypeLabel, t.terminalType),
                 Names(msg::EmulationTn3270ModelLabel, t.tn3270TerminalType, Tn3270Models()),
                 Choice(msg::EmulationResizeModeLabel, t.resizeMode, ResizeModes())};
            break;
        case 4343:  // Modes
            f = {Check(msg::ModesKeypadLabel, t.keypadMode),
                 Check(msg::ModesLineWrapLabel, t.lineWrap),
                 Check(msg::ModesCursorKeyLabel, t.cursorKeyMode),
                 Check(msg::ModesNewlineLabel, t.newlineMode),
                 Check(msg::ModesCursorSwitchLabel, t.enableCursorKeyModeSwitching),
                 Check(msg::ModesKeypadSwitchLabel, t.enableKeypadModeSwitching),
                 Check(msg::ModesLineWrapSwitchLabel, t.enableLineWrapModeSwitching),
                 Check(msg::ModesAlternateScreenLabel, t.enableAlternateScreenSwitching)};
            break;
        case 4321:  // Emacs
            f = {Check(msg::EmacsModeLabel, t.emacsMode),
                 Check(msg::EmacsAltGrLabel, t.preserveAltGr),
                 Check(msg::Emacs8BitLabel, t.emacsMode8Bit)};
            break;
        case 4329:  // Emulation\Advanced
            f = {
                TextField(msg::AdvancedAnswerbackLabel, s.identString),
                Check(msg::AdvancedDisplayTabLabel, t.displayTab),
                Number(msg::AdvancedLineDelayLabel, s.lineSendDelay, 0, kLargeNumber),
                Number(msg::AdvancedCharacterDelayLabel, s.characterSendDelay, 0, kLargeNumber),
                Check(msg::AdvancedWaitForPromptLabel, s.waitForPrompt),
                TextField(msg::AdvancedPromptTextLabel, s.waitForPromptText),
                Number(msg::AdvancedPromptTimeoutLabel, s.waitForPromptTimeout, 0, kLargeNumber),
                Check(msg::AdvancedLocalEchoLabel, t.localEcho),
                Check(msg::AdvancedStrip8thBitLabel, t.strip8thBit),
                Check(msg::AdvancedIgnoreTitleLabel, t.ignoreWindowTitleChangeRequests),
                Check(msg::AdvancedOsc52Label, t.allowOsc52EscapeSequence),
                Check(msg::AdvancedCopyLineDrawingLabel, t.copyTranslatesAnsiLineDrawingCharacters),
                Check(msg::AdvancedCopyRtfLabel, t.copyToClipboardAsRtfAndPlainText),
                Check(msg::AdvancedCrToCrlfLabel, t.translateIncomingCrToCrlf)};
            break;
        case 4301:  // Appearance
            f = {ColorSchemeChoice(page, t.colorScheme),
                 TextField(msg::AppearanceTransformerLabel, t.outputTransformerName),
                 Check(msg::AppearanceNarrowFontLabel, t.useNarrowFont),
                 Check(msg::AppearanceLineDrawingLabel, t.useUnicodeLineDrawing),
                 Choice(msg::AppearanceCursorStyleLabel, t.cursorStyle, CursorStyles()),
                 Check(msg::AppearanceBlinkingCursorLabel, t.blinkingCursor),
                 Check(msg::AppearanceUseCursorColorLabel, t.useCursorColor),
                 ColorField(msg::AppearanceCursorColorLabel, t.cursorColor),
                 FontField(msg::AppearanceNormalFontLabel, t.normalFont),
                 FontField(msg::AppearanceNarrowFontFaceLabel, t.narrowFont)};
            break;
        case 11477:  // ANSI Color
            f = AnsiColorFields(page, t);
            break;
        case 4473:  // Window
            f = {Check(msg::WindowAlwaysOnTopLabel, s.alwaysOnTop),
                 TriState(msg::WindowDisableResizeLabel, s.disableResize),
                 TriState(msg::WindowHorizontalScrollbarLabel, t.horizontalScrollbar),
                 TriState(msg::WindowVerticalScrollbarLabel, t.verticalScrollbar),
                 TriState(msg::WindowCommandWindowLabel, t.showChatWindow),
                 TriState(msg::WindowButtonBarLabel, t.userButtonBar),
                 TextField(msg::WindowButtonBarNameLabel, t.userButtonBarName),
                 Check(msg::WindowUseLabelLabel, s.useTitleBar),
                 TextField(msg::WindowLabelLabel, s.titleBar),
                 Check(msg::WindowUsePositionLabel, t.usePosition),
                 Distance(msg::WindowXPositionLabel, t.xPosition),
                 Either(msg::WindowXFromLabel, t.xPositionRelativeLeft, msg::EdgeLeft,
                        msg::EdgeRight),
                 Distance(msg::WindowYPositionLabel, t.yPosition),
                 Either(msg::WindowYFromLabel, t.yPositionRelativeTop, msg::EdgeTop,
                        msg::EdgeBottom)};
            break;
        case 5057:  // Keyword Highlighting
            f = {Names(msg::KeywordSetLabel, s.keywordSet, GetKeywordListNames())};
            break;
        case 5060:  // Keyword Highlighting\Advanced
            f = {Check(msg::KeywordReverseLabel, s.highlightReverseVideo),
                 Check(msg::KeywordBoldLabel, s.highlightBold),
                 Check(msg::KeywordColorLabel, s.highlightColor)};
            FillKeywordMatchFields(page);
            break;
        case 4448:  // Printing
            f = {Check(msg::PrintingUseGlobalLabel, s.useGlobalPrintSettings),
                 TextField(msg::PrintingPrinterLabel, s.printerConfig.printerName),
                 Choice(msg::PrintingOrientationLabel, s.printerConfig.pageOrientation,
                        {{1, msg::OrientationPortrait}, {2, msg::OrientationLandscape}}),
                 // The platform's paper-size codes of the sizes offered.
                 Choice(msg::PrintingPaperSizeLabel, s.printerConfig.paperSize,
                        {{1, msg::PaperLetter},
                         {5, msg::PaperLegal},
                         {8, msg::PaperA3},
                         {9, msg::PaperA4},
                         {11, msg::PaperA5}}),
                 FontField(msg::PrintingFontLabel, s.printerConfig.printerFont),
                 Check(msg::PrintingBlackOnWhiteLabel, s.printerConfig.forceBlackOnWhite),
                 Check(msg::PrintingNoPassThroughLabel, s.printerConfig.disablePassThroughPrinting),
                 Check(msg::PrintingBufferPassThroughLabel,
                       s.printerConfig.bufferPassThroughPrinting),
                 Check(msg::PrintingRawModeLabel, s.printerConfig.useRawMode),
                 Check(msg::PrintingUsePortLabel, s.printerConfig.usePrinterPort),
                 TextField(msg::PrintingPortLabel, s.printerConfig.printerComPort),
                 Number(msg::PrintingBaudRateLabel, s.printerConfig.printerBaudRate, 1,
                        kLargeNumber),
                 MarginField(msg::PrintingLeftMarginLabel, s.printerConfig.pageMargins,
                             MarginSide::Left),
                 MarginField(msg::PrintingRightMarginLabel, s.printerConfig.pageMargins,
                             MarginSide::Right),
                 MarginField(msg::PrintingTopMarginLabel, s.printerConfig.pageMargins,
                             MarginSide::Top),
                 MarginField(msg::PrintingBottomMarginLabel, s.printerConfig.pageMargins,
                             MarginSide::Bottom)};
            break;
        case 4482:  // X/Y/Zmodem
            f = {TextField(msg::ZmodemUploadLabel, s.uploadDirectory),
                 TextField(msg::ZmodemDownloadLabel, s.downloadDirectory),
                 Choice(msg::ZmodemPacketSizeLabel, s.xmodemSendPacketSize,
                        {{0, msg::PacketSize128}, {1024, msg::PacketSize1024}}),
                 Check(msg::ZmodemDisableLabel, s.disableZmodem)};
            break;
        case 4375:  // File Transfer
            f = {TextField(msg::TransferLocalFolderLabel, s.initialLocalDirectory),
                 // The record keeps one remote folder: the last one visited, where a session
                 // opens again when the application restores session directories.
                 TextField(msg::TransferRemoteFolderLabel, s.lastDirectory),
                 TextField(msg::TransferDownloadFolderLabel, s.defaultDownloadDirectory),
                 TriState(msg::TransferTreeDetectionLabel, s.disableDirectoryTreeDetection),
                 TriState(msg::TransferVerifyStatusLabel, s.verifyRetrieveFileStatus),
                 TriState(msg::TransferSymbolicLinksLabel, s.resolveSymbolicLinks),
                 Check(msg::TransferUtf8Label, s.filenamesAlwaysUseUtf8)};
            break;
        case 4381:  // FTP/SFTP
            f = {Choice(msg::FtpOperatingSystemLabel, s.operatingSystem, OperatingSystems()),
                 TextField(msg::FtpTimeZoneLabel, s.timeZone),
                 Check(msg::FtpFileSystemCaseLabel, s.fileSystemCase),
                 TextField(msg::FtpCreationMaskLabel, s.fileCreationMask),
                 Check(msg::FtpPreserveTimestampLabel, s.preserveTimestamp)};
            ApplyToTransfers(s, f[0], &TransferTraits::listsAsText);
            ApplyToTransfers(s, f[1], &TransferTraits::listsAsText);
            ApplyToTransfers(s, f[3], &TransferTraits::setsModes);
            ApplyToTransfers(s, f[4], &TransferTraits::setsTimes);
            break;
        case 11478:  // File Transfer\Advanced
            f = {Check(msg::TransferPgpLabel, s.usePgpForAllTransfers),
                 Number(msg::TransferTraceLevelLabel, s.quillfileTraceLevel, 0, 8),
                 Check(msg::TransferSeparateTransportLabel, s.separateTransportPerConnection),
                 Check(msg::TransferMultipleChannelsLabel, s.useMultipleSftpChannels),
                 SecretText(msg::TransferPgpUploadLabel, s.pgpUploadCommand),
                 SecretText(msg::TransferPgpDownloadLabel, s.pgpDownloadCommand),
                 Check(msg::TransferNoStatLabel, s.disableStatForSftpDirectoryValidation),
                 Check(msg::TransferStatLabel, s.useStatForSftpDirectoryValidation),
                 Check(msg::TransferNoMlsxLabel, s.disableMlsx),
                 Check(msg::TransferNoWatchesLabel, s.disableRemoteFileSystemWatches)};
            break;
        default:
            return false;
    }
    page.Reload();
    return true;
}
