#include "storage/xml/YXmlFileStore.h"

#include "storage/xml/YXmlFileKey.h"

#include "platform/FileSystem.h"

#include <new>

YXmlFileStoreFactory::YXmlFileStoreFactory(YUnicodeString path, std::uint8_t flags)
    : path_(std::move(path)), flags_(flags) {}

std::unique_ptr<YProfilePrivateStore> YXmlFileStoreFactory::CreatePrivateStore() {
    return std::unique_ptr<YProfilePrivateStore>(new (std::nothrow)
                                                     YXmlFileStore(rivode::ToUtf8(path_), flags_));
}

YXmlFileStore::YXmlFileStore(std::string path, std::uint8_t flags)
    : path_(std::move(path)), flags_(flags) {}

std::unique_ptr<YProfilePrivateKey> YXmlFileStore::OpenPrivateRootKey(bool readOnly) {
    const bool documentReadOnly = readOnly || (flags_ & YXmlFileStoreReadOnly) != 0;
    return std::make_unique<YXmlFileKey>(
        rivode::storage::XmlSettingsDocument::Load(path_, documentReadOnly),
        std::vector<YUnicodeString>{}, false);
}

bool IsXmlSettingsFilePath(const YUnicodeString& path) {
    if (!rivode::EndsWithNoCase(path, u".xml")) {
        return false;
    }
    rivode::platform::FileInfo info;
    return rivode::platform::FileSystem::Current().GetFileInfo(rivode::ToUtf8(path), info) != 0 ||
           !info.exists || !info.isFolder;
}
