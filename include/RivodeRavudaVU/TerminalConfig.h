// TerminalConfig: the terminal part of a session (emulation, screen, appearance, keyboard and
// window values), loaded from and saved to the session's own key beside the session values.
//
// Its values stand one line each in TerminalConfigValues.inc. After the values are read the
// record settles what the store may hold in older or foreign forms (the rows marked Settled, in
// table order, from AfterLoad):
// - "Emulation" must name one of the host's emulations (EmulationNames.h), compared with letter
//   case: "SCO-ANSI" becomes "SCOANSI", anything else unknown becomes "Xterm".
// - "TN3270 Terminal Type", when the emulation is "TN3270", must be one of the four models
//   ("IBM-3278-2" otherwise), and "Rows" and "Cols" follow the model.
// - "Enable Xterm-256color", when it is absent, is on if "Terminal Type" is "Xterm-256color"
//   (letter case ignored; that terminal type is then cleared and "Use Terminal Type" turned
//   off) or if the emulation is "Xterm" with "ANSI Color" on; otherwise off.
// Values settled this way count as loaded (the record is not modified by them) but are written
// on the next save, so the store takes the settled form. The colors sessions had before color
// schemes ("Foreground", "Background", "Bold") are written back only by records that read them,
// so clones of such records (and a record written into a copy key) keep them.
//
// A record is used by one thread at a time; the table is shared and read-only.
#pragma once

#include <RivodeRavudaVU/ProfileKeymap.h>
#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileBlob.h>
#include <RivodeRavudaVU/YProfileLogFont.h>
#include <RivodeRavudaVU/YProfilePath.h>
#include <RivodeRavudaVU/YProfileTable.h>
#include <RivodeRavudaVU/YProfileWindowPlacement.h>

#include <cstdint>

#pragma GCC visibility push(default)

class TerminalConfig : public YProfileTableRecord<TerminalConfig> {
public:
#define RIVODE_TERMINAL_VALUE(Type, member, name, ...) Type member;
#define RIVODE_TERMINAL_MARKED(Type, member, name, marks, ...) Type member;
#include <RivodeRavudaVU/TerminalConfigValues.inc>
#undef RIVODE_TERMINAL_VALUE
#undef RIVODE_TERMINAL_MARKED

    // Every value at its default, as a record loaded without a store.
    TerminalConfig();
    TerminalConfig(const TerminalConfig&) = default;
    TerminalConfig& operator=(const TerminalConfig&) = delete;

    // The values of the session key, in the order they are read.
    static const YProfileTable<TerminalConfig>& Table();

    // The fixed-pitch font a terminal starts with, for the normal and the narrow font alike:
    // the editor's default (GlobalEditorConfig::DefaultFont), so both views of a session's text
    // look alike until the user picks a font.
    static YLogFont DefaultFont();

    void AfterLoad() override;
};

#pragma GCC visibility pop
