#include "platform/FileSystem.h"
#include "tests/storage/IniFileTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

namespace {

using rivode::platform::FileInfo;
using rivode::platform::FileSystem;
using rivode::test::kBom;
using rivode::test::ReadFileBytes;

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// Where values go when a key is saved: main and personal files, and what each one holds.
class IniFileSaveTest : public rivode::test::IniStoreTest {};

TEST_F(IniFileSaveTest, PersonalValueGoesOnlyToThePersonalFile) {
    {
        auto store = OpenStore(true);
        YProfileKey key(store->GetRootKey(), u"Sessions\\S", true);
        ASSERT_TRUE(key.SetString(u"Password", u"secret"));
    }
    EXPECT_EQ(ReadFileBytes(Personal("Sessions/S.ini")), kBom + "S:\"Password\"=secret\r\n");
    EXPECT_FALSE(std::filesystem::exists(Main("Sessions/S.ini")));
    auto store = OpenStore(true);
    YProfileKey key(store->GetRootKey(), u"Sessions\\S");
    YUnicodeString text;
    ASSERT_TRUE(key.GetString(u"Password", text));
    EXPECT_EQ(text, u"secret");
}

TEST_F(IniFileSaveTest, WithoutPersonalFolderEverythingGoesToTheMainFile) {
    {
        auto store = OpenStore();
        YProfileKey key(store->GetRootKey(), u"S");
        ASSERT_TRUE(key.SetString(u"Hostname", u"h"));
        ASSERT_TRUE(key.SetString(u"Password", u"p"));
    }
    EXPECT_EQ(ReadFileBytes(Main("S.ini")), kBom + "S:\"Password\"=p\r\nS:\"Hostname\"=h\r\n");
}

TEST_F(IniFileSaveTest, MixedChangeSplitsBetweenTheTwoFiles) {
    {
        auto store = OpenStore(true);
        YProfileKey key(store->GetRootKey(), u"S");
        ASSERT_TRUE(key.SetStringArray(u"Keywords", {u"k"}));
        ASSERT_TRUE(key.SetString(u"Username", u"u"));
        ASSERT_TRUE(key.SetString(u"Hostname", u"h"));
    }
    EXPECT_EQ(ReadFileBytes(Main("S.ini")), kBom + "S:\"Hostname\"=h\r\nZ:\"Keywords\"=00000001\r\n k\r\n");
    EXPECT_EQ(ReadFileBytes(Personal("S.ini")), kBom + "S:\"Username\"=u\r\n");
}

TEST_F(IniFileSaveTest, PersonalFileOverridesTheMainFileWhenReading) {
    WriteValueFile(Main("S.ini"), "S:\"Username\"=old\r\nS:\"Hostname\"=h\r\n");
    WriteValueFile(Personal("S.ini"), "S:\"Username\"=new\r\n");
    auto store = OpenStore(true);
    YProfileKey key(store->GetRootKey(), u"S");
    YUnicodeString text;
    ASSERT_TRUE(key.GetString(u"Username", text));
    EXPECT_EQ(text, u"new");
}

TEST_F(IniFileSaveTest, GeneralOnlyChangeRewritesMainWithHeldPersonalValues) {
    WriteValueFile(Main("S.ini"), "S:\"Hostname\"=h\r\n");
    WriteValueFile(Personal("S.ini"), "S:\"Password\"=p\r\n");
    {
        auto store = OpenStore(true);
        YProfileKey key(store->GetRootKey(), u"S");
        ASSERT_TRUE(key.SetDword(u"Port", 22));
    }
    EXPECT_EQ(ReadFileBytes(Main("S.ini")),
              kBom + "S:\"Password\"=p\r\nS:\"Hostname\"=h\r\nD:\"Port\"=00000016\r\n");
    EXPECT_EQ(ReadFileBytes(Personal("S.ini")), kBom + "S:\"Password\"=p\r\n");
}

TEST_F(IniFileSaveTest, DeletingEveryValueLeavesJustTheMark) {
    WriteValueFile(Main("S.ini"), "S:\"Hostname\"=h\r\nD:\"Port\"=00000016\r\n");
    {
        auto store = OpenStore();
        YProfileKey key(store->GetRootKey(), u"S");
        ASSERT_TRUE(key.DeleteValue(u"Hostname"));
        ASSERT_TRUE(key.DeleteValue(u"Port"));
    }
    EXPECT_EQ(ReadFileBytes(Main("S.ini")), kBom);
}

TEST_F(IniFileSaveTest, DeletingTheLastPersonalValueIsStored) {
    WriteValueFile(Personal("S.ini"), "S:\"Password\"=p\r\n");
    {
        auto store = OpenStore(true);
        YProfileKey key(store->GetRootKey(), u"S");
        ASSERT_TRUE(key.DeleteValue(u"Password"));
        ASSERT_TRUE(key.Flush());
    }
    EXPECT_EQ(ReadFileBytes(Personal("S.ini")), kBom);
}

TEST_F(IniFileSaveTest, UnchangedKeyWritesNothing) {
    WriteValueFile(Main("S.ini"), "S:\"a\"=1\r\n\r\ngarbage");
    {
        auto store = OpenStore();
        YProfileKey key(store->GetRootKey(), u"S");
        YUnicodeString text;
        ASSERT_TRUE(key.GetString(u"a", text));
    }
    EXPECT_EQ(ReadFileBytes(Main("S.ini")), kBom + "S:\"a\"=1\r\n\r\ngarbage");
}

TEST_F(IniFileSaveTest, LegacyFileIsRewrittenAsUtf8WithMark) {
    rivode::test::WriteFileBytes(MainRoot() + ".ini", "S:\"T\"=\xe9\r\n");
    {
        auto store = OpenStore();
        ASSERT_TRUE(store->GetRootKey().SetDword(u"n", 1));
    }
    EXPECT_EQ(ReadFileBytes(MainRoot() + ".ini"), kBom + "S:\"T\"=\xc3\xa9\r\nD:\"n\"=00000001\r\n");
}

TEST_F(IniFileSaveTest, RewriteMovesPersonalValuesIntoTheNewPersonalFolder) {
    WriteValueFile(Main("S.ini"), "S:\"Password\"=p\r\nS:\"Hostname\"=h\r\n");
    {
        auto store = OpenStore();
        YProfileKey key(store->GetRootKey(), u"S");
        key.SetPersonalPath(rivode::FromUtf8(Personal("S")));
        key.Rewrite();
    }
    EXPECT_EQ(ReadFileBytes(Main("S.ini")), kBom + "S:\"Hostname\"=h\r\n");
    EXPECT_EQ(ReadFileBytes(Personal("S.ini")), kBom + "S:\"Password\"=p\r\n");
}

TEST_F(IniFileSaveTest, CreatedFoldersAndFilesAreOwnerOnly) {
    {
        auto store = OpenStore(true);
        YProfileKey key(store->GetRootKey(), u"A\\B", true);
        ASSERT_TRUE(key.GetStatus().IsSuccess());
        ASSERT_TRUE(key.SetDword(u"v", 1));
        ASSERT_TRUE(key.SetString(u"Password", u"p"));
    }
    for (const std::string& folder : {MainRoot(), Main("A"), Main("A/B"), Personal("A/B")}) {
        EXPECT_EQ(ModeOf(folder), 0700u) << folder;
    }
    EXPECT_EQ(ModeOf(Main("A/B.ini")), 0600u);
    EXPECT_EQ(ModeOf(Personal("A/B.ini")), 0600u);
}

TEST_F(IniFileSaveTest, AccessControlAllowingOthersOpensTheFolderMode) {
    YAccessControl access;
    ASSERT_TRUE(access.FromStrings({u"Everyone,allow,0x80000000"}));
    auto store = OpenStore();
    auto key = store->GetRootKey().GetPrivateKey().OpenPrivateSubKey(u"Shared", &access, true);
    EXPECT_EQ(ModeOf(Main("Shared")), 0755u);
}

// A file system that refuses what a test names, forwarding everything else.
class FaultyFileSystem : public rivode::platform::ForwardingFileSystem {
public:
    FaultyFileSystem() : ForwardingFileSystem(FileSystem::Current()) {}
    std::string readOnlyPath;    // reported read-only; opening it for writing fails
    int reserveError = 0;        // every reservation fails with this

    int OpenFile(const std::string& path, unsigned access, rivode::platform::OpenDisposition disposition,
                 unsigned mode, std::unique_ptr<rivode::platform::File>& file, bool* created) override {
        if (path == readOnlyPath && (access & rivode::platform::FileAccessWrite) != 0) {
            return EACCES;
        }
        const int error = target_.OpenFile(path, access, disposition, mode, file, created);
        if (error == 0 && reserveError != 0) {
            file = std::make_unique<FailingReserve>(std::move(file), reserveError);
        }
        return error;
    }
    int GetFileInfo(const std::string& path, FileInfo& info) override {
        const int error = target_.GetFileInfo(path, info);
        info.readOnly = info.readOnly || path == readOnlyPath;
        return error;
    }

private:
    class FailingReserve : public rivode::platform::File {
    public:
        FailingReserve(std::unique_ptr<File> file, int error) : file_(std::move(file)), error_(error) {}
        int ReadAt(std::uint64_t o, void* b, std::size_t l, std::size_t& t) override {
            return file_->ReadAt(o, b, l, t);
        }
        int WriteAt(std::uint64_t o, const void* b, std::size_t l) override { return file_->WriteAt(o, b, l); }
        int Truncate(std::uint64_t l) override { return file_->Truncate(l); }
        int GetSize(std::uint64_t& s) override { return file_->GetSize(s); }
        int Reserve(std::uint64_t) override { return error_; }
        int Lock(std::uint64_t o, std::uint64_t l, bool e) override { return file_->Lock(o, l, e); }
        int Unlock(std::uint64_t o, std::uint64_t l) override { return file_->Unlock(o, l); }

    private:
        std::unique_ptr<File> file_;
        int error_;
    };
};

class IniFileSaveFailureTest : public rivode::test::IniStoreTest {
protected:
    const std::string lines_ = "S:\"Hostname\"=h\r\nD:\"Port\"=00000016\r\n";
    const std::string original_ = kBom + lines_;
    void SetUp() override { WriteValueFile(Main("S.ini"), lines_); }
};

TEST_F(IniFileSaveFailureTest, FullDiskLeavesThePreviousFileIntact) {
    FaultyFileSystem faulty;
    faulty.reserveError = ENOSPC;
    rivode::platform::ScopedFileSystem installed(faulty);
    auto store = OpenStore();
    YProfileKey key(store->GetRootKey(), u"S");
    ASSERT_TRUE(key.SetString(u"Hostname", u"changed"));
    EXPECT_FALSE(key.Flush());
    EXPECT_EQ(key.GetStatus().GetMessageId(), static_cast<std::uint32_t>(ENOSPC));
    EXPECT_EQ(ReadFileBytes(Main("S.ini")), original_);
}

TEST_F(IniFileSaveFailureTest, ReadOnlyFileFailsTheSaveAndStaysAsItWas) {
    FaultyFileSystem faulty;
    faulty.readOnlyPath = Main("S.ini");
    rivode::platform::ScopedFileSystem installed(faulty);
    auto store = OpenStore();
    {
        YProfileKey key(store->GetRootKey(), u"S");
        EXPECT_FALSE(key.IsWritable());
        ASSERT_TRUE(key.SetDword(u"Port", 23));
        EXPECT_FALSE(key.Flush());
        EXPECT_EQ(key.GetStatus().GetMessageId(), static_cast<std::uint32_t>(EACCES));
    }
    EXPECT_EQ(ReadFileBytes(Main("S.ini")), original_);
}

TEST_F(IniFileSaveFailureTest, UnopenablePersonalFileKeepsTheMainFileToo) {
    WriteValueFile(Personal("S.ini"), "");
    FaultyFileSystem faulty;
    faulty.readOnlyPath = Personal("S.ini");
    rivode::platform::ScopedFileSystem installed(faulty);
    auto store = OpenStore(true);
    YProfileKey key(store->GetRootKey(), u"S");
    ASSERT_TRUE(key.SetDword(u"Port", 23));
    ASSERT_TRUE(key.SetString(u"Password", u"p"));
    EXPECT_FALSE(key.Flush());
    EXPECT_EQ(ReadFileBytes(Main("S.ini")), original_);
}

}  // namespace
