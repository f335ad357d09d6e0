// Shared pieces of the session database tests: a configuration folder of its own for each test,
// registered as the default store, with helpers that write session and folder files directly.
#pragma once

#include "tests/storage/IniFileTestSupport.h"

#include <RivodeRavudaVU/GlobalConfig.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionDatabase.h>

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
        WriteValueFile(Main(folder + "/__FolderData__.ini"),
                       "S:\"Folder List\"=" + folders + "\r\nS:\"Session List\"=" + sessions +
                           "\r\n");
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
