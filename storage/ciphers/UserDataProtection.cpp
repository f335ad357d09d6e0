#include "storage/ciphers/UserDataProtection.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/RandomBytes.h"
#include "platform/SecureMemory.h"

#include <cryptopp/aes.h>
#include <cryptopp/gcm.h>

#include <cerrno>

namespace rivode::storage {

namespace {

using platform::FileSystem;

constexpr std::size_t kKeySize = 32;
constexpr std::size_t kNonceSize = 12;
constexpr std::size_t kTagSize = 16;
constexpr unsigned kFolderMode = 0700;
constexpr unsigned kKeyFileMode = 0600;

bool EnsureFolder(const std::string& path) {
    const int error = FileSystem::Current().CreateFolder(path, kFolderMode);
    return error == 0 || error == EEXIST;
}

bool ReadWhole(platform::File& file, std::uint8_t* bytes, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        std::size_t got = 0;
        if (file.ReadAt(done, bytes + done, length - done, got) != 0 || got == 0) {
            return false;
        }
        done += got;
    }
    return true;
}

// Reads the user's key, making it first when create is set and the file is new or empty. A key
// file of any other length is left alone: replacing it would lose every value protected under it.
bool LoadUserKey(bool create, platform::SecureBytes& key) {
    const std::string folder = platform::GetUserConfigFolder();
    const std::string path = folder + "/yarrowby/user.key";
    if (create && !(EnsureFolder(folder) && EnsureFolder(folder + "/yarrowby"))) {
        return false;
    }
    std::unique_ptr<platform::File> file;
    const auto disposition =
        create ? platform::OpenDisposition::OpenAlways : platform::OpenDisposition::OpenExisting;
    if (FileSystem::Current().OpenFile(
            path,
            platform::FileAccessRead | platform::FileAccessWrite | platform::FileAccessRegularOnly,
            disposition, kKeyFileMode, file, nullptr) != 0 ||
        file->Lock(0, 4, true) != 0) {
        return false;
    }
    key.assign(kKeySize, 0);
    std::uint64_t size = 0;
    bool loaded = file->GetSize(size) == 0;
    if (loaded && size == 0 && create) {
        loaded = platform::GetRandomBytes(key.data(), kKeySize) == 0 &&
                 file->WriteAt(0, key.data(), kKeySize) == 0 && file->SyncData() == 0;
    } else {
        loaded = loaded && size == kKeySize && ReadWhole(*file, key.data(), kKeySize);
    }
    file->Unlock(0, 4);
    return loaded;
}

}  // namespace

bool ProtectUserData(std::span<const std::uint8_t> data, std::u16string_view description,
                     std::vector<std::uint8_t>& blob) {
    platform::SecureBytes key;
    std::vector<std::uint8_t> result(kNonceSize + data.size() + kTagSize);
    if (!LoadUserKey(true, key) || platform::GetRandomBytes(result.data(), kNonceSize) != 0) {
        return false;
    }
    const std::string header = ToUtf8(description);
    CryptoPP::GCM<CryptoPP::AES>::Encryption gcm;
    gcm.SetKeyWithIV(key.data(), key.size(), result.data(), kNonceSize);
    gcm.EncryptAndAuthenticate(result.data() + kNonceSize, result.data() + kNonceSize + data.size(),
                               kTagSize, result.data(), kNonceSize,
                               reinterpret_cast<const CryptoPP::byte*>(header.data()),
                               header.size(), data.data(), data.size());
    blob = std::move(result);
    return true;
}

bool UnprotectUserData(std::span<const std::uint8_t> blob, std::u16string_view description,
                       YRefPtr<IBuffer>& data) {
    platform::SecureBytes key;
    if (blob.size() < kNonceSize + kTagSize || !LoadUserKey(false, key)) {
        return false;
    }
    const std::size_t length = blob.size() - kNonceSize - kTagSize;
    const std::string header = ToUtf8(description);
    auto plain = MakeYRef<YBasicBuffer>(length, true);
    CryptoPP::GCM<CryptoPP::AES>::Decryption gcm;
    gcm.SetKeyWithIV(key.data(), key.size(), blob.data(), kNonceSize);
    if (!gcm.DecryptAndVerify(plain->GetBytes(), blob.data() + kNonceSize + length, kTagSize,
                              blob.data(), kNonceSize,
                              reinterpret_cast<const CryptoPP::byte*>(header.data()), header.size(),
                              blob.data() + kNonceSize, length)) {
        return false;
    }
    data = std::move(plain);
    return true;
}

}  // namespace rivode::storage
