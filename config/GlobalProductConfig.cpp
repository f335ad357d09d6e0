#include <RivodeRavudaVU/GlobalProductConfig.h>

namespace {

using R = GlobalProductConfig;

// Terminal products (3 and the other family members), the file-transfer product (6), Ferrule.
enum class NameSet { Terminal, Transfer, Ferrule };

NameSet NameSetOf(int product) {
    if (product == kProductFerrule) {
        return NameSet::Ferrule;
    }
    return R::UsesTransferNames(product) ? NameSet::Transfer : NameSet::Terminal;
}

using namespace rivode::rows;

// A configuration from before "Auto Session" existed said the same with the two switches.
std::optional<std::uint32_t> DefaultAutoSession(const R& record, const YProfileKey*) {
    return (record.useAutoSession ? R::AutoSessionNamed : R::AutoSessionNone) |
           (record.useRememberedSessions ? R::AutoSessionRemembered : 0u);
}

// The file-transfer products cannot open both kinds of sessions. Stays pending, so the store is
// corrected on the next save.
void SettleAutoSession(R& record) {
    if (R::UsesTransferNames(record.GetProduct()) && record.autoSession == R::AutoSessionBoth) {
        record.autoSession = R::AutoSessionNone;
        record.autoSession.Commit();
    }
}

YProfileTable<R> MakeTable(NameSet names) {
    const bool transfer = names != NameSet::Terminal;
    const auto named = [transfer](std::u16string_view name) {
        return YUnicodeString(name) + (transfer ? u" QFL" : u"");
    };
    const YUnicodeString prefix = transfer ? u"QFL " : u"QTM ";
    const std::u16string_view offerHelp = names == NameSet::Ferrule    ? u"Offer HelpFR"
                                          : names == NameSet::Transfer ? u"Offer HelpX"
                                                                       : u"Offer Help";
    YProfileTable<R> table;
    table.Add(&R::useDockableSessionManager, named(u"Use Dockable Session Manager"), !transfer)
        .Add(&R::showSessionManager, named(u"Show Session Manager"), true)
        .Add(&R::sessionManagerWindowState, named(u"Session Manager Window State"), {})
        .Add(&R::showToolbar, named(u"Show Toolbar"), true)
        .Add(&R::showMenuBar, named(u"Show Menu Bar"), true)
        .Add(&R::showStatusBar, named(u"Show Status Bar"), true)
        .Add(&R::useAutoSession, named(u"Use Auto Session"), false)
        .Add(&R::useRememberedSessions, named(u"Use Remembered Sessions"), false)
        .Add(&R::autoSession, named(u"Auto Session"),
             Derived(DefaultAutoSession) | Settled(SettleAutoSession), R::AutoSessionNone)
        .Add(&R::autoSessionName, named(u"Auto Session Name"), u"");
    if (transfer) {
        table.Add(&R::rememberedSessionsList, u"Remembered Sessions List QFL", {});
    } else {
        table.Add(&R::rememberedSessionsList, u"Remembered Sessions List V2",
                  Renamed(u"Remembered Sessions List"), {});
    }
    table.Add(&R::offerHelp, offerHelp, 1)
        .Add(&R::neverCheckForUpdates, prefix + u"Never Check For Updates", false)
        .Add(&R::updatePromptDate, prefix + u"Update Prompt Date", {});
    return table;
}

const YProfileTable<R>& TableFor(int product) {
    static const YProfileTable<R> terminal = MakeTable(NameSet::Terminal);
    static const YProfileTable<R> transfer = MakeTable(NameSet::Transfer);
    static const YProfileTable<R> ferrule = MakeTable(NameSet::Ferrule);
    switch (NameSetOf(product)) {
        case NameSet::Transfer:
            return transfer;
        case NameSet::Ferrule:
            return ferrule;
        default:
            return terminal;
    }
}

}  // namespace

GlobalProductConfig::GlobalProductConfig(const YProfileKey* key, int product)
    : product_(product), table_(&TableFor(product)) {
    Init(key);
    Table().ApplyLoadRules(*this, key);
}

void GlobalProductConfig::AfterLoad() {
    Table().Settle(*this);
}
