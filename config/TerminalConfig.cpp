#include <RivodeRavudaVU/TerminalConfig.h>

#include <RivodeRavudaVU/EmulationNames.h>
#include <RivodeRavudaVU/GlobalEditorConfig.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct Tn3270Model {
    std::u16string_view terminalType;
    std::uint32_t rows;
    std::uint32_t cols;
};

// The first model is the one an unknown terminal type falls back to.
constexpr std::array<Tn3270Model, 4> kTn3270Models = {{
    {u"IBM-3278-2", 24, 80},
    {u"IBM-3278-3", 32, 80},
    {u"IBM-3278-4", 43, 80},
    {u"IBM-3278-5", 27, 132},
}};

// A value corrected after loading counts as loaded, so the record does not look edited, and is
// pending, so the next save stores the corrected form.
template <class Value, class T>
void Settle(Value& value, const T& settled) {
    value.Set(settled);
    value.Commit();
}

}  // namespace

TerminalConfig::TerminalConfig() {
    Init(nullptr);
}

const YProfileTable<TerminalConfig>& TerminalConfig::Table() {
    static const YProfileTable<TerminalConfig> table = [] {
        YProfileTable<TerminalConfig> rows;
#define RIVODE_TERMINAL_VALUE(Type, member, name, ...) \
    rows.Add(&TerminalConfig::member, name, __VA_ARGS__);
#define RIVODE_TERMINAL_RENAMED(Type, member, name, olderName, ...) \
    rows.AddRenamed(&TerminalConfig::member, name, olderName, __VA_ARGS__);
#include <RivodeRavudaVU/TerminalConfigValues.inc>
#undef RIVODE_TERMINAL_VALUE
#undef RIVODE_TERMINAL_RENAMED
        return rows;
    }();
    return table;
}

YLogFont TerminalConfig::DefaultFont() {
    return GlobalEditorConfig::DefaultFont();
}

// The emulation comes first: the TN3270 screen size and the 256-color default both depend on
// the emulation the session ends up with.
void TerminalConfig::AfterLoad() {
    if (emulation.Get() == u"SCO-ANSI") {
        Settle(emulation, YUnicodeString(u"SCOANSI"));
    } else if (!IsEmulationName(emulation.Get())) {
        Settle(emulation, YUnicodeString(u"Xterm"));
    }

    if (emulation.Get() == u"TN3270") {
        auto model = std::find_if(kTn3270Models.begin(), kTn3270Models.end(),
                                  [this](const Tn3270Model& candidate) {
                                      return candidate.terminalType == tn3270TerminalType.Get();
                                  });
        if (model == kTn3270Models.end()) {
            model = kTn3270Models.begin();
            Settle(tn3270TerminalType, YUnicodeString(model->terminalType));
        }
        Settle(rows, model->rows);
        Settle(cols, model->cols);
    }

    // Sessions from before the switch existed asked for 256 colors through the terminal type;
    // the switch now says so, and the terminal type goes back to following the emulation.
    if (!enableXterm256Color.IsFromStore()) {
        if (rivode::EqualsNoCase(terminalType.Get(), u"Xterm-256color")) {
            Settle(enableXterm256Color, true);
            Settle(terminalType, YUnicodeString());
            Settle(useTerminalType, false);
        } else {
            Settle(enableXterm256Color, emulation.Get() == u"Xterm" && ansiColor);
        }
    }
}
