// Shared pieces of the session database tests: a configuration folder of its own for each test,
// registered as the default store, with helpers that write session and folder files directly.
#pragma once

#include "tests/storage/IniFileTestSupport.h"

#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionDatabase.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

namespace rivode::test {

class SessionDatabaseTest : public IniStoreTest {
protected:
    SessionDatabaseTest() {
        factory_ = std::make_unique<YIniFileStoreFactory>(FromUtf8(MainRoot()), YUnicodeString());
        current_ = factory_.get();
        SetProfileStoreFactoryFunction([] { return current_; });
    }
    ~SessionDatabaseTest() override {
        FreeSessionDatabaseImpl();
        FreeGlobalConfig();
        SetProfileStoreFactoryFunction(nullptr);
        current_ = nullptr;
    }

    SessionDatabaseImpl& Database() { return *GetSessionDatabaseImpl(); }

    // A session file at relative ("Work/Server") holding "Is Session" and the given lines.
    void WriteSession(const std::string& relative, const std::string& lines = "") {
        WriteValueFile(Main("Sessions/" + relative + ".ini"),
                       "D:\"Is Session\"=00000001\r\n" + lines);
    }
    // The folder data of the folder at relative ("" for the top folder).
    void WriteFolderData(const std::string& relative, const std::string& folders,
                         const std::string& sessions) {
        const std::string folder = relative.empty() ? "Sessions" : "Sessions/" + relative;
        WriteValueFile(
            Main(folder + "/__FolderData__.ini"),
            "S:\"Folder List\"=" + folders + "\r\nS:\"Session List\"=" + sessions + "\r\n");
    }
    // Ten sessions: "S0" to "S4" in the top folder, "S5" to "S9" in "Work"; the files of S0, S1
    // and S2 read-only. Each has "Script Arguments" "own <number>".
    static constexpr int kReadOnlySessions = 3;
    static YUnicodeString SessionPath(int i) {
        return FromUtf8((i < 5 ? "S" : "Work\\S") + std::to_string(i));
    }
    void WriteTenSessions() {
        for (int i = 0; i < 10; ++i) {
            std::string relative = ToUtf8(SessionPath(i));
            std::replace(relative.begin(), relative.end(), '\\', '/');
            WriteSession(relative, "S:\"Script Arguments\"=own " + std::to_string(i) + "\r\n");
            if (i < kReadOnlySessions) {
                std::filesystem::permissions(Main("Sessions/" + relative + ".ini"),
                                             std::filesystem::perms::owner_read);
            }
        }
    }

    bool OnDisk(const std::string& relative) const {
        return std::filesystem::exists(Main("Sessions/" + relative));
    }

    // The folder at path as listed: folders, then sessions, each name followed by ":".
    std::string Listing(const YUnicodeString& path = {}) {
        ProfileFolderData listing;
        EXPECT_TRUE(Database().ListFolder(path, listing));
        return ToUtf8(JoinFolderOrder(listing.GetFolders()) + u"|" +
                      JoinFolderOrder(listing.GetSessions()));
    }

    static SessionConfig& AsRecord(ISessionConfig& session) {
        return static_cast<SessionConfig&>(session);
    }

private:
    static inline YProfileStoreFactory* current_ = nullptr;
    std::unique_ptr<YIniFileStoreFactory> factory_;
};

}  // namespace rivode::test
