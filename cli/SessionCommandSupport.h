// What rivode's session, folder and default-session commands share: session paths as users type
// them, the protocol modules a session record needs, and the library's reports as failures.
#pragma once

#include "CommandOptions.h"
#include "ExitStatus.h"

#include <RivodeRavudaVU/SessionDatabase.h>

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace rivode::cli {

inline constexpr const char* kSessionPathHelp =
    "The session's path: its folders and name separated by \\ (or /)";

// The command "session" of app, made by the first group that adds to it.
CLI::App& SessionCommand(CLI::App& app);

// A path below "Sessions" as typed: names separated by "\" or "/", joined with "\" as the
// database takes them; empty for the top folder. false with a usage failure when the text is not
// UTF-8 or holds "." or "..".
[[nodiscard]] bool ParseSessionPath(std::string_view text, YUnicodeString& path,
                                    CommandFailure& failure);
// The same for a path that must name an item (not the top folder).
[[nodiscard]] bool ParseItemPath(std::string_view text, YUnicodeString& path,
                                 CommandFailure& failure);

// Loads the protocol modules of the product (and of its integrated sibling) into the process's
// protocol table, so that session records keep the protocols their sessions name. A record
// loaded without its protocol's module falls back to another protocol and would store that, so
// commands that write sessions stop when loading failed. false with the failure.
[[nodiscard]] bool LoadSessionProtocols(const CommandOptions& options, CommandFailure& failure);

// The protocol of the loaded table called name (letter case ignored) with its own spelling;
// empty when no loaded module offers it.
YUnicodeString FindLoadedProtocol(const YUnicodeString& name);
// The names the loaded modules offer, for messages: "SSH2, Telnet, SFTP".
std::string LoadedProtocolNames();

// A failure of the library's own, its message in the user's language; exit status 1.
CommandFailure ReportFailure(const YReportMessageParams& report);

// The subcommands rename, move and delete of "session" or "folder", each for items of its own
// kind (an item of the other kind is refused, exit status 2). rename keeps the item in its folder
// and in its place in the folder's order; move appends it to the new folder's order; delete
// removes it with all it holds. The library's own refusals print its message (exit status 1).
enum class ItemKind { Session, Folder };
class ItemCommands {
public:
    explicit ItemCommands(ItemKind kind) : kind_(kind) {}
    void Add(CLI::App& parent, const char* pathHelp);
    // The chosen command's exit status; nullopt when none of them was chosen.
    std::optional<ExitStatus> Run() const;

private:
    ItemKind kind_;
    CLI::App* rename_ = nullptr;
    CLI::App* move_ = nullptr;
    CLI::App* delete_ = nullptr;
    std::string path_;
    std::string target_;
};

// The process's session database; rivode's store is the one the library opens by default.
SessionDatabaseImpl& Sessions();

}  // namespace rivode::cli
