#include "bench/SessionTree.h"

#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/SessionDatabase.h>
#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include <unistd.h>

namespace rivode::bench {
namespace {

YUnicodeString Text(const std::string& ascii) {
    return FromAscii(ascii);
}

// About 250 values as a real session holds them: 150 dwords, 80 strings, 12 binaries and
// 8 lists.
void FillSession(const YProfileKey& key, int index) {
    key.SetDword(u"Is Session", 1);
    key.SetString(u"Hostname", Text("host" + std::to_string(index) + ".example.net"));
    for (int i = 0; i < 150; ++i) {
        key.SetDword(Text("Option Number " + std::to_string(i)),
                     static_cast<std::uint32_t>(i * index));
    }
    for (int i = 0; i < 80; ++i) {
        key.SetString(Text("Option Text " + std::to_string(i)),
                      Text("value " + std::to_string(i) + " of session " + std::to_string(index) +
                           " with some more words in it"));
    }
    std::uint8_t bytes[96];
    for (int i = 0; i < 12; ++i) {
        for (std::size_t b = 0; b < sizeof bytes; ++b) {
            bytes[b] = static_cast<std::uint8_t>(b * 7 + i + index);
        }
        key.SetBinary(Text("Option Block " + std::to_string(i)), bytes, 40 + i * 4);
    }
    for (int i = 0; i < 8; ++i) {
        YStringArray list;
        for (int line = 0; line < 4; ++line) {
            list.push_back(Text("list " + std::to_string(i) + " line " + std::to_string(line)));
        }
        key.SetStringArray(Text("Option List " + std::to_string(i)), list);
    }
}

}  // namespace

std::string MakeTemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rivode-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern;
}

namespace {

// Writes sessions "Session 00000" ... spread over folders "F000" ... of "Sessions" in root, each
// filled by fill(key, index).
SessionTree FillTree(const std::string& root, int sessions, int folders,
                     const std::function<void(const YProfileKey&, int)>& fill) {
    SessionTree tree;
    tree.root = root;
    YIniFileStoreFactory factory(FromUtf8(tree.root));
    YProfileStore store(&factory);
    YProfileKey sessionsKey(store.GetRootKey(), u"Sessions", true);
    for (int i = 0; i < sessions; ++i) {
        char folder[16];
        char name[32];
        std::snprintf(folder, sizeof folder, "F%03d", i % folders);
        std::snprintf(name, sizeof name, "Session %05d", i);
        {
            YProfileKey folderKey(sessionsKey, Text(folder), true);
            YProfileKey session(folderKey, Text(name), false);
            fill(session, i);
            if (!session.Flush()) {
                std::fprintf(stderr, "cannot write session %d\n", i);
                std::exit(1);
            }
        }
        tree.keyPaths.push_back(std::string("Sessions\\") + folder + "\\" + name);
        tree.files.push_back(tree.root + "/Sessions/" + folder + "/" + name + ".ini");
        tree.totalBytes += std::filesystem::file_size(tree.files.back());
    }
    // On the disk before anything is timed: writing back a tree just made would otherwise run
    // through the first measured reads, and make them slower by turns.
    ::sync();
    return tree;
}

void FillSessionRecord(const YProfileKey& key, int index) {
    const YRefPtr<SessionConfig> session = CreateSessionConfig();
    session->Load(nullptr);
    session->remoteHostConfig.hostname.Set(Text("host" + std::to_string(index) + ".example.net"));
    session->remoteHostConfig.username.Set(Text("user" + std::to_string(index % 37)));
    if (!session->WriteAllTo(key) || !key.SetDword(u"Is Session", 1)) {
        std::fprintf(stderr, "cannot write session %d\n", index);
        std::exit(1);
    }
}

}  // namespace

SessionTree MakeSessionTree(int sessions, int folders) {
    SessionTree tree = FillTree(MakeTemporaryFolder(), sessions, folders, FillSession);
    // Every session holds the same names: take them, with their kinds, from the first one.
    if (!tree.keyPaths.empty()) {
        YIniFileStoreFactory factory(FromUtf8(tree.root));
        YProfileStore store(&factory);
        YProfileKey first(store.GetRootKey(), FromUtf8(tree.keyPaths.front()), false);
        YProfileKeyIterator values(first, true);
        SessionValue value;
        while (values.Next(value.name, value.kind)) {
            tree.values.push_back(value);
        }
    }
    return tree;
}

SessionTree MakeSessionRecordTree(const std::string& root, int sessions, int folders) {
    return FillTree(root, sessions, folders, FillSessionRecord);
}

void RemoveSessionTree(const SessionTree& tree) {
    std::error_code ignored;
    std::filesystem::remove_all(tree.root, ignored);
}

void ApplyOneDefaultChangeToAll(benchmark::State& state, std::size_t sessions) {
    SessionDatabaseImpl& database = *GetSessionDatabaseImpl();
    std::uint32_t round = 0;
    for (auto _ : state) {
        const YRefPtr<SessionConfig> changes = CreateSessionConfig();
        changes->Load(nullptr);
        changes->terminalConfig.rows = 30 + (++round % 2);
        if (database.ApplyDefaultSessionChangesToAll(*changes).updated != sessions) {
            state.SkipWithError("sessions not updated");
            return;
        }
    }
}

}  // namespace rivode::bench
