#include "storage/xml/YXmlFileKeyIterator.h"

namespace rivode::storage {

bool YXmlFileKeyIterator::Next(YUnicodeString& name, int& kind) {
    if (next_ >= entries_.size()) {
        return false;
    }
    name = entries_[next_].first;
    kind = entries_[next_].second;
    ++next_;
    return true;
}

bool YXmlFileKeyIterator::Next(YUnicodeString& name) {
    int kind = 0;
    return Next(name, kind);
}

}  // namespace rivode::storage
