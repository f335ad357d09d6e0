// SessionConfig: the record behind ISessionConfig, holding every value of one stored session.
//
// A session key holds, side by side, the values of several parts, each loading its own:
// - the session's own values (SessionConfigValues.inc), among them the logon script;
// - terminalConfig: emulation, screen, appearance, keyboard and window values;
// - remoteHostConfig: host name, user name, firewall, saved credential, pre-connect command;
// - printerConfig: the session's own printing settings (PrinterConfig.h);
// - two protocol slots, each with its protocol's name ("Protocol Name", "Transfer Protocol
//   Name") and the configuration the protocol's module made (ConnectConfig), which loads and
//   saves its own values in the same key.
//
// Loading (Load) settles the values a store may hold in older forms:
// - "Is Session" is always on afterwards.
// - The logon script: when "Login Script V3" is absent, the older text of "Login Script V2"
//   (enciphered; it wins when both hold text) or "Login Script" (plain or in the "CAPI:" form)
//   becomes the expect/send list and "Send Initial Carriage Return"
//   (ProfileExpectSendList::ParseOlderScript). The list and the flag are written into the key at
//   once and each older value that held text is emptied. Nothing moves while sensitive data is
//   disabled, so no text is lost.
// - "Monitor Password", "PGP Upload Command" and "PGP Download Command" move to their
//   enciphered " V2" values the same way.
// - "Highlighting Style" (0, 1, 2) gives the defaults of the three highlight switches.
// - "Quillfile Trace Level V2" absent: the older "Quillfile Trace Level" raised by one when it is
//   1 to 7, taken as it is otherwise; 2 when neither is stored.
// - "Idle Timeout" 0 becomes 300, anything above 9999999 that number; "Idle Check" absent is on
//   when a stored "Idle Timeout" was above 0. "XModem Send Packet Size" 128 becomes 0.
// - "Line Send Delay" and "Character Send Delay" absent: the global record's values.
// - "Keyword Set" absent: the name of the default keyword list (the host's message 0x6137008C).
// - "Upload Directory" absent: the user's home folder; "Download Directory" absent: the
//   user's downloads folder (XDG_DOWNLOAD_DIR, from the environment or the desktop's
//   user-dirs.dirs). When a folder is unknown, the documents folder (XDG_DOCUMENTS_DIR, found
//   the same way), else the family's user-data folder, with "upload" or "download" appended.
// Settled values count as loaded (the record is not modified by them) and are written on the
// next save.
//
// Protocol slots choose their protocol from the process's protocol table: a name no module of a
// suitable kind offers (kinds 1, 3 and 8 for the terminal side, 6 and 9 for the transfer side)
// is dropped and reported in the load trace; an empty name then takes the table's first
// protocol of that side. A session other than "Default" whose key holds an empty protocol name
// has no protocol on that side ("None").
//
// The session "Default" is the template of new sessions: loaded without a key and not stored
// yet, it is saved under "Sessions\Default" of the registered store; its protocol
// configurations are marked as belonging to it.
//
// Values of the key that no part reads (another product's, a newer version's) stay in the key
// on every save, and are kept with the record so that WriteAllTo, Clone and Assign carry them.
//
// The record is counted (it starts with one reference) and is used by one thread at a time.
#pragma once

#include <RivodeRavudaVU/ISessionConfig.h>
#include <RivodeRavudaVU/PrinterConfig.h>
#include <RivodeRavudaVU/ProfileExpectSendList.h>
#include <RivodeRavudaVU/RemoteHostConfig.h>
#include <RivodeRavudaVU/TerminalConfig.h>
#include <RivodeRavudaVU/YProfile.h>
#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileEncryptedString.h>
#include <RivodeRavudaVU/YProfileExplorerFrameState.h>
#include <RivodeRavudaVU/YProfileListViewState.h>
#include <RivodeRavudaVU/YProfileMultiLineString.h>
#include <RivodeRavudaVU/YProfilePath.h>
#include <RivodeRavudaVU/YProfileTable.h>
#include <RivodeRavudaVU/YProfileWindowPlacement.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#pragma GCC visibility push(default)

inline constexpr std::u16string_view kSessionsKeyName = u"Sessions";

// One protocol side of a session: the protocol's name and the configuration its module made.
class SessionProtocolSlot {
public:
    enum class Side { Terminal, Transfer };

    explicit SessionProtocolSlot(Side side);
    // Copies the name with its loaded state and clones the configuration.
    SessionProtocolSlot(const SessionProtocolSlot& other);
    SessionProtocolSlot& operator=(const SessionProtocolSlot&) = delete;

    // Whether protocols of a module row's product number belong on side.
    static bool Suits(Side side, int kind);

    // Chooses the protocol by the stored name (see SessionConfig) and loads its configuration
    // from key (defaults without one).
    void Load(const YProfileKey* key);
    // Whether the key held the name as an empty text.
    bool WasStoredEmpty() const { return storedEmpty_; }
    // Whether the stored name was one no loaded module offers on this side.
    bool IsUnknown() const { return unknown_; }
    // What the last load had to report: id 0 when nothing; for an unknown protocol the trace
    // message "Unknown protocol ... using default protocol." with the stored name as its insert.
    const YReportMessageParams& GetLoadTrace() const;

    const YUnicodeString& GetName() const { return name_.Get(); }
    // Another protocol gets a new configuration with its defaults; "None", an empty name or a
    // protocol the table does not offer on this side leaves the side without one. The same
    // protocol (letter case ignored) keeps its configuration.
    void SetName(const YUnicodeString& name);
    // The side has no protocol from now on, as if "None" had been loaded.
    void LoadNone();
    ConnectConfig* GetConfig() const { return config_.get(); }
    bool HasProtocol() const;

    YProfileString& NameValue() { return name_; }
    [[nodiscard]] bool Save(const YProfileKey& key);
    bool IsChanged() const;
    void CommitAll();
    // Back to the loaded protocol and its loaded values.
    void RevertAll();
    // Takes source's protocol and values. changesOnly: a changed protocol of source replaces
    // this side's protocol (with a clone of source's configuration); otherwise only the values
    // that changed in source's configuration are taken, when both sides have the same protocol.
    void CopyFrom(const SessionProtocolSlot& source, bool changesOnly);
    // Takes only the values that changed in source's configuration, and only when both sides
    // hold the same protocol: this side's protocol never changes.
    void CopyConfigChangesFrom(const SessionProtocolSlot& source);
    // Becomes a copy of source, loaded state included.
    void AssignFrom(const SessionProtocolSlot& source);

private:
    YProfileString name_;
    ConnectConfigPtr config_;
    // The configuration as loaded, saved or committed: config_ itself unless the protocol was
    // changed since.
    ConnectConfigPtr loadedConfig_;
    // Made only when a load has something to report, which is rare: a host holds thousands of
    // sessions open, each with two sides.
    std::unique_ptr<YReportMessageParams> trace_;
    Side side_;
    bool unknown_ = false;
    bool storedEmpty_ = false;
};

class SessionConfig : public YUnknown<ISessionConfig>, public YProfileTableRecord<SessionConfig> {
public:
#define RIVODE_SESSION_VALUE(Type, member, name, ...) Type member;
#define RIVODE_SESSION_MARKED(Type, member, name, marks, ...) Type member;
#include <RivodeRavudaVU/SessionConfigValues.inc>
#undef RIVODE_SESSION_VALUE
#undef RIVODE_SESSION_MARKED

    TerminalConfig terminalConfig;
    RemoteHostConfig remoteHostConfig;
    // The session's own printing settings, used unless useGlobalPrintSettings is on.
    PrinterConfig printerConfig;

    // Every value at its default and no protocol on either side, as before any load.
    SessionConfig();
    // Every value with its loaded state, the protocol configurations cloned.
    SessionConfig(const SessionConfig& other);
    SessionConfig& operator=(const SessionConfig&) = delete;

    // The session's own values, in the order they are read.
    static const YProfileTable<SessionConfig>& Table();

    // ISessionConfig.
    bool IsModified() const override {
        return IsChanged();
    }
    void CommitAll() override;
    void RevertAll() override;
    [[nodiscard]] bool Save(const YProfileKey& key) override;
    bool Assign(const ISessionConfig& other) override;
    bool Load(const YProfileKey* key) override;
    [[nodiscard]] bool WriteAllTo(const YProfileKey& key) override;
    const YUnicodeString& GetPath() const override {
        return path_;
    }
    void SetPath(const YUnicodeString& path) override;
    const YUnicodeString& GetName() const override {
        return name_;
    }
    void SetName(const YUnicodeString& name) override {
        name_ = name;
    }
    YUnicodeString GetConnectionDescription() const override;
    YRefPtr<ISessionConfig> Clone() const override;
    bool TerminalProtocolOffersSavedCredentials() const override;
    bool TransferProtocolOffersSavedCredentials() const override;
    bool HasTerminalProtocol() const override {
        return terminal_.HasProtocol();
    }
    bool HasTransferProtocol() const override {
        return transfer_.HasProtocol();
    }
    ConnectConfig* GetConnectConfig() const override {
        return terminal_.GetConfig();
    }
    ConnectConfig* GetTerminalConnectConfig() const override {
        return terminal_.GetConfig();
    }
    ConnectConfig* GetTransferConnectConfig() const override {
        return transfer_.GetConfig();
    }
    ConnectConfig* GetFileTransferConnectConfig() const override {
        return transfer_.GetConfig();
    }
    ConnectConfig* GetConnectConfigForKind(int kind) const override;
    bool IsSshFamily() const override;
    bool HasUnknownProtocol() const override;
    YUnicodeString GetProtocolFamilyText(int kind) const override;
    const YUnicodeString& GetTransferProtocolName() const override {
        return transfer_.GetName();
    }
    void SetProtocolName(const YUnicodeString& name) override;
    const YUnicodeString& GetProtocolName() const override {
        return terminal_.GetName();
    }
    void SetTransferProtocolName(const YUnicodeString& name) override;
    bool ApplyChangesFrom(const ISessionConfig& source) override;
    void ForEachValue(const std::function<void(YProfileData&)>& visit) override;

    // The record operations over every part.
    bool IsChanged() const override;
    bool CopyFrom(const YProfileData& other) override;
    bool CopyChangesFrom(const YProfileData& source) override;
    // Hands the remote-host values every protocol configuration also keeps to both slots.
    void BeforeSave() override;

    // The protocol sides; each keeps what its last load had to report (GetLoadTrace).
    SessionProtocolSlot& GetTerminalSlot() {
        return terminal_;
    }
    SessionProtocolSlot& GetTransferSlot() {
        return transfer_;
    }
    const SessionProtocolSlot& GetTerminalSlot() const {
        return terminal_;
    }
    const SessionProtocolSlot& GetTransferSlot() const {
        return transfer_;
    }
    // Takes from source the current values of the values called names (exact names), whatever
    // their state in source: the record's own values and those of its terminal and remote-host
    // parts, and a protocol's own values when this session's side holds the same protocol as
    // source's. The protocol names are never taken. false when a value of the same name did not
    // take source's value (another type).
    bool ApplyValuesFrom(SessionConfig& source, const std::vector<YUnicodeString>& names);
    // How many values of the key no part of the record reads.
    std::size_t GetForeignValueCount() const {
        return foreignValues_.size();
    }

protected:
    ~SessionConfig() override;

private:
    struct ForeignValue {
        YUnicodeString name;
        int kind = ValueKindUnknown;
        std::uint32_t number = 0;
        YUnicodeString text;
        YStringArray texts;
        std::vector<std::uint8_t> bytes;
    };

    void ApplyDefaultSessionRule(const YProfileKey* key);
    // Keeps the values of key no part reads; whether key held any value at all.
    bool ReadForeignValues(const YProfileKey& key);
    [[nodiscard]] bool WriteForeignValues(const YProfileKey& key) const;
    enum class CopyMode { All, Changes, ChangesKeepingProtocols };
    bool CopyParts(const SessionConfig& source, CopyMode mode);
    // Each typed value once, as ForEachValue, with the protocol side it belongs to (nullptr for
    // the record's own parts).
    void VisitValues(const std::function<void(YProfileData&, const SessionProtocolSlot*)>& visit);
    // Marks both protocol configurations as belonging to "Default" or not, by the name.
    void MarkDefaultSession();

    SessionProtocolSlot terminal_{SessionProtocolSlot::Side::Terminal};
    SessionProtocolSlot transfer_{SessionProtocolSlot::Side::Transfer};
    YUnicodeString path_;
    YUnicodeString name_;
    std::vector<ForeignValue> foreignValues_;
};

// A new record with every default, as SessionConfig().
YRefPtr<SessionConfig> CreateSessionConfig();

#pragma GCC visibility pop
