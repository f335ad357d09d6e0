// The desktop's user-dirs.dirs as its own tools write it and as users edit it.
#include "platform/UserFolders.h"

#include <gtest/gtest.h>

namespace rivode::platform {
namespace {

TEST(UserFolders, AssignmentsFollowTheFilesRules) {
    const struct {
        const char* text;
        std::optional<std::string> folder;
    } cases[] = {
        {"XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n", "/home/ann/Downloads"},
        {"  XDG_DOWNLOAD_DIR = \"/srv/in box\"\r\n", "/srv/in box"},
        {"XDG_DOWNLOAD_DIR=\"$HOME/a \\\"b\\\"\"", "/home/ann/a \"b\""},
        {"XDG_DOWNLOAD_DIR=\"/first\"\nXDG_DOWNLOAD_DIR=\"/last\"\n", "/last"},
        {"XDG_DOWNLOAD_DIR=\"/kept\"\nXDG_DOWNLOAD_DIR=\"relative\"\n", "/kept"},
        {"XDG_DOWNLOAD_DIR=\"$HOME\"", "/home/ann"},
        {"# XDG_DOWNLOAD_DIR=\"/commented\"\n", std::nullopt},
        {"XDG_DOWNLOAD_DIR=\"$HOMEWORK/x\"", std::nullopt},
        {"XDG_DOWNLOAD_DIR=\"/unclosed", std::nullopt},
        {"XDG_DOWNLOAD_DIRS=\"/other\"", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"/docs\"", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseUserFolder(c.text, "XDG_DOWNLOAD_DIR", "/home/ann"), c.folder);
    }
}

}  // namespace
}  // namespace rivode::platform
