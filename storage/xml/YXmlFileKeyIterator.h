// A listing of an XML settings file key: a snapshot of names and kinds taken when it is made.
#pragma once

#include <RivodeRavudaVU/YProfileStore.h>

#include <utility>
#include <vector>

namespace rivode::storage {

class YXmlFileKeyIterator final : public YProfilePrivateKeyIterator {
public:
    YXmlFileKeyIterator() = default;
    explicit YXmlFileKeyIterator(std::vector<std::pair<YUnicodeString, int>> entries)
        : entries_(std::move(entries)) {}

    bool Next(YUnicodeString& name, int& kind) override;
    bool Next(YUnicodeString& name) override;

private:
    std::vector<std::pair<YUnicodeString, int>> entries_;
    std::size_t next_ = 0;
};

}  // namespace rivode::storage
