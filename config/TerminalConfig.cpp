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

// The model of a TN3270 session's terminal type; nullptr for other emulations.
const Tn3270Model* FindTn3270Model(const TerminalConfig& config) {
    if (config.emulation.Get() != u"TN3270") {
        return nullptr;
    }
    const auto model = std::find_if(
        kTn3270Models.begin(), kTn3270Models.end(), [&config](const Tn3270Model& candidate) {
            return candidate.terminalType == config.tn3270TerminalType.Get();
        });
    return model == kTn3270Models.end() ? nullptr : &*model;
}

// The rows are settled in table order: the emulation comes first, as the 256-color default and
// the TN3270 screen both depend on the emulation the session ends up with.
void SettleEmulation(TerminalConfig& config) {
    if (config.emulation.Get() == u"SCO-ANSI") {
        Settle(config.emulation, YUnicodeString(u"SCOANSI"));
    } else if (!IsEmulationName(config.emulation.Get())) {
        Settle(config.emulation, YUnicodeString(u"Xterm"));
    }
}

// Sessions from before the switch existed asked for 256 colors through the terminal type; the
// switch now says so, and the terminal type goes back to following the emulation.
void Settle256Colors(TerminalConfig& config) {
    if (config.enableXterm256Color.IsFromStore()) {
        return;
    }
    if (rivode::EqualsNoCase(config.terminalType.Get(), u"Xterm-256color")) {
        Settle(config.enableXterm256Color, true);
        Settle(config.terminalType, YUnicodeString());
        Settle(config.useTerminalType, false);
    } else {
        Settle(config.enableXterm256Color, config.emulation.Get() == u"Xterm" && config.ansiColor);
    }
}

void SettleTn3270Model(TerminalConfig& config) {
    if (config.emulation.Get() == u"TN3270" && FindTn3270Model(config) == nullptr) {
        Settle(config.tn3270TerminalType, YUnicodeString(kTn3270Models.front().terminalType));
    }
}

void SettleRowsToModel(TerminalConfig& config) {
    if (const Tn3270Model* model = FindTn3270Model(config)) {
        Settle(config.rows, model->rows);
    }
}

void SettleColsToModel(TerminalConfig& config) {
    if (const Tn3270Model* model = FindTn3270Model(config)) {
        Settle(config.cols, model->cols);
    }
}

using namespace rivode::rows;

}  // namespace

TerminalConfig::TerminalConfig() {
    Init(nullptr);
}

const YProfileTable<TerminalConfig>& TerminalConfig::Table() {
    static const YProfileTable<TerminalConfig> table = [] {
        YProfileTable<TerminalConfig> rows;
#define RIVODE_TERMINAL_VALUE(Type, member, name, ...) \
    rows.Add(&TerminalConfig::member, name, __VA_ARGS__);
#define RIVODE_TERMINAL_MARKED(Type, member, name, marks, ...) \
    rows.Add(&TerminalConfig::member, name, marks, __VA_ARGS__);
#include <RivodeRavudaVU/TerminalConfigValues.inc>
#undef RIVODE_TERMINAL_VALUE
#undef RIVODE_TERMINAL_MARKED
        return rows;
    }();
    return table;
}

YLogFont TerminalConfig::DefaultFont() {
    return GlobalEditorConfig::DefaultFont();
}

void TerminalConfig::AfterLoad() {
    Table().Settle(*this);
}
