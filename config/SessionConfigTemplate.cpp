// New session records, copied from one record made with every default.
//
// Making a record's defaults runs the Init of each of its few hundred values, and its path
// values each look up the folders behind the path variables; opening every session of a large
// tree would redo all of that for every session. A copy of a record made once gives the same
// record for a fraction of the work.
#include <RivodeRavudaVU/SessionConfig.h>

#include <DavaraZE/YwsPaths.h>

#include <mutex>
#include <utility>

namespace {

// Apart from constants, a new record's defaults depend only on the folders its path values
// take when made: the configuration folder moves when a host switches configurations, the data
// folders follow the environment. The record made once serves while they stay the same.
// Asked for every session opened, so nothing is worked out twice: the install folder does not
// move while the library is loaded, and the SSH data folder is by definition the user data
// folder's "SSH" (YwsPaths.h).
ProfilePath::Folders FoldersInForce() {
    static const YUnicodeString installFolder = GetYwsInstallPathSub();
    YUnicodeString userData = GetYwsUserDataPathSub();
    YUnicodeString sshData = userData + u"/SSH";
    return {GetYwsConfigPathSub(), installFolder, std::move(userData), std::move(sshData)};
}

}  // namespace

YRefPtr<SessionConfig> CreateSessionConfig() {
    static std::mutex guard;
    static ProfilePath::Folders templateFolders;
    static YRefPtr<SessionConfig> made;
    ProfilePath::Folders folders = FoldersInForce();
    YRefPtr<SessionConfig> source;
    {
        const std::lock_guard lock(guard);
        if (!made || folders != templateFolders) {
            made = MakeYRef<SessionConfig>();
            templateFolders = std::move(folders);
        }
        source = made;
    }
    // The record made once is only ever read: copies of it may be made on several threads.
    return MakeYRef<SessionConfig>(static_cast<const SessionConfig&>(*source));
}
