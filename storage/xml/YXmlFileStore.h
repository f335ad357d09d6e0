// The XML file store's back end: the settings file's native path and the factory's flags.
#pragma once

#include <RivodeRavudaVU/YXmlFileStore.h>

#include <string>

class YXmlFileStore final : public YProfilePrivateStore {
public:
    YXmlFileStore(std::string path, std::uint8_t flags);
    // Loads the document; the root key holds it (and any load failure in its status).
    std::unique_ptr<YProfilePrivateKey> OpenPrivateRootKey(bool readOnly) override;

private:
    std::string path_;
    std::uint8_t flags_ = 0;
};
