#include "storage/xml/YXmlFileKey.h"

#include "storage/xml/XmlValueText.h"
#include "storage/xml/YXmlFileKeyIterator.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <cstring>
#include <set>

using rivode::storage::XmlNode;

namespace rivode::storage {

void AppendKeyPath(std::u16string_view keyPath, std::vector<YUnicodeString>& path) {
    std::size_t start = 0;
    while (start <= keyPath.size()) {
        std::size_t end = keyPath.find_first_of(u"\\/", start);
        if (end == std::u16string_view::npos) {
            end = keyPath.size();
        }
        if (end > start) {
            path.emplace_back(keyPath.substr(start, end - start));
        }
        start = end + 1;
    }
}

}  // namespace rivode::storage

namespace {

constexpr int kAnyKind = -1;

// The UTF-8 form of a name or text the document can hold and give back unchanged: no NUL (the
// parser ends text there), no line break (printing lays out lines), no broken UTF-16.
bool ToStorableUtf8(std::u16string_view text, std::string& utf8) {
    return text.find_first_of(std::u16string_view(u"\r\n\0", 3)) == std::u16string_view::npos &&
           rivode::ToUtf8Strict(text, utf8);
}

bool AreStorable(const std::vector<YUnicodeString>& names) {
    std::string unused;
    for (const YUnicodeString& name : names) {
        if (!ToStorableUtf8(name, unused)) {
            return false;
        }
    }
    return true;
}

}  // namespace

YXmlFileKey::YXmlFileKey(std::shared_ptr<rivode::storage::XmlSettingsDocument> document,
                         std::vector<YUnicodeString> path, bool create)
    : document_(std::move(document)), path_(std::move(path)) {
    status_ = document_->LoadStatus();
    if (!AreStorable(path_)) {
        refused_ = true;
        Fail(EINVAL);
    } else if (create && !document_->LoadFailed()) {
        (void)Element(true);
    }
}

bool YXmlFileKey::Fail(int error) {
    SetSystemErrorReport(status_, error);
    return false;
}

XmlNode* YXmlFileKey::Element(bool create) {
    if (refused_) {
        return nullptr;
    }
    if (element_ != nullptr && generation_ == document_->Generation()) {
        return element_;
    }
    element_ = nullptr;
    XmlNode* node = document_->Root();
    for (const YUnicodeString& name : path_) {
        XmlNode* child = document_->FindKey(*node, name);
        if (child == nullptr) {
            if (!create) {
                return nullptr;
            }
            child = document_->AddKey(*node, name);
        }
        node = child;
    }
    element_ = node;
    generation_ = document_->Generation();
    return node;
}

XmlNode* YXmlFileKey::FindValue(int kind, std::u16string_view name) {
    XmlNode* key = Element(false);
    std::string utf8;
    if (key == nullptr || !ToStorableUtf8(name, utf8)) {
        return nullptr;
    }
    return document_->FindValue(*key, kind, utf8);
}

XmlNode* YXmlFileKey::ValueToSet(int kind, std::u16string_view name) {
    if (refused_) {
        Fail(EINVAL);
        return nullptr;
    }
    if (document_->LoadFailed()) {
        status_ = document_->LoadStatus();
        return nullptr;
    }
    std::string utf8;
    if (!ToStorableUtf8(name, utf8)) {
        Fail(EINVAL);
        return nullptr;
    }
    XmlNode* key = Element(true);
    if (XmlNode* existing = document_->FindValue(*key, kind, utf8)) {
        return existing;
    }
    return document_->AddValue(*key, kind, utf8);
}

bool YXmlFileKey::GetSecurityValue(std::u16string_view name, YAccessControl& access) {
    YStringArray texts;
    return GetStringArray(name, texts) && access.FromStrings(texts);
}

bool YXmlFileKey::GetStringArray(std::u16string_view name, YStringArray& value) {
    const XmlNode* array = FindValue(ValueKindMultiString, name);
    if (array == nullptr) {
        return false;
    }
    value.clear();
    for (const XmlNode* item = array->first_node(rivode::storage::kXmlItemElement.data(),
                                                 rivode::storage::kXmlItemElement.size());
         item != nullptr; item = item->next_sibling(rivode::storage::kXmlItemElement.data(),
                                                    rivode::storage::kXmlItemElement.size())) {
        value.push_back(rivode::FromUtf8(rivode::storage::TextOf(*item)));
    }
    return true;
}

bool YXmlFileKey::GetBinary(std::u16string_view name, void* buffer, std::uint64_t& size) {
    const XmlNode* element = FindValue(ValueKindBinary, name);
    std::vector<std::uint8_t> bytes;
    if (element == nullptr ||
        !rivode::storage::ParseXmlBinaryText(rivode::storage::TextOf(*element), bytes)) {
        return false;
    }
    if (buffer != nullptr) {
        if (size < bytes.size()) {
            return false;
        }
        std::memcpy(buffer, bytes.data(), bytes.size());
    }
    size = bytes.size();
    return true;
}

bool YXmlFileKey::GetString(std::u16string_view name, YUnicodeString& value) {
    const XmlNode* element = FindValue(ValueKindString, name);
    if (element == nullptr) {
        return false;
    }
    value = rivode::FromUtf8(rivode::storage::TextOf(*element));
    return true;
}

bool YXmlFileKey::GetDword(std::u16string_view name, std::uint32_t& value) {
    const XmlNode* element = FindValue(ValueKindDword, name);
    return element != nullptr &&
           rivode::storage::ParseXmlDwordText(rivode::storage::TextOf(*element), value);
}

void YXmlFileKey::SetSecurityValue(std::u16string_view name, const YAccessControl& access) {
    (void)SetStringArray(name, access.ToStrings());
}

bool YXmlFileKey::SetStringArray(std::u16string_view name, const YStringArray& value) {
    std::vector<std::string> items(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (!ToStorableUtf8(value[i], items[i])) {
            return Fail(EINVAL);
        }
    }
    XmlNode* element = ValueToSet(ValueKindMultiString, name);
    if (element == nullptr) {
        return false;
    }
    document_->SetItems(*element, items);
    return true;
}

bool YXmlFileKey::SetBinary(std::u16string_view name, const void* bytes, std::uint64_t length) {
    if (length > 0xffffffffu || (bytes == nullptr && length != 0)) {
        return Fail(length > 0xffffffffu ? E2BIG : EINVAL);
    }
    XmlNode* element = ValueToSet(ValueKindBinary, name);
    if (element == nullptr) {
        return false;
    }
    document_->SetText(*element,
                       rivode::storage::XmlBinaryText(static_cast<const std::uint8_t*>(bytes),
                                                      static_cast<std::size_t>(length)));
    return true;
}

bool YXmlFileKey::SetString(std::u16string_view name, std::u16string_view value) {
    std::string text;
    if (!ToStorableUtf8(value, text)) {
        return Fail(EINVAL);
    }
    XmlNode* element = ValueToSet(ValueKindString, name);
    if (element == nullptr) {
        return false;
    }
    document_->SetText(*element, text);
    return true;
}

bool YXmlFileKey::SetDword(std::u16string_view name, std::uint32_t value) {
    XmlNode* element = ValueToSet(ValueKindDword, name);
    if (element == nullptr) {
        return false;
    }
    document_->SetText(*element, rivode::storage::XmlDwordText(value));
    return true;
}

bool YXmlFileKey::DeleteValue(std::u16string_view name) {
    if (refused_) {
        return Fail(EINVAL);
    }
    XmlNode* value = FindValue(kAnyKind, name);
    if (value != nullptr) {
        document_->RemoveValue(*Element(false), *value);
    }
    return true;
}

bool YXmlFileKey::DeleteSubKey(std::u16string_view name) {
    std::vector<YUnicodeString> names;
    rivode::storage::AppendKeyPath(name, names);
    if (refused_ || names.empty()) {
        return Fail(EINVAL);
    }
    if (document_->LoadFailed()) {
        status_ = document_->LoadStatus();
        return false;
    }
    if (document_->IsReadOnly()) {
        return Fail(EACCES);
    }
    XmlNode* parent = Element(false);
    for (std::size_t i = 0; parent != nullptr && i + 1 < names.size(); ++i) {
        parent = document_->FindKey(*parent, names[i]);
    }
    if (parent != nullptr) {
        (void)document_->RemoveKeys(*parent, names.back());
    }
    return true;  // a key that does not exist counts as removed
}

bool YXmlFileKey::SubKeyExists(std::u16string_view name) {
    std::vector<YUnicodeString> names;
    rivode::storage::AppendKeyPath(name, names);
    XmlNode* node = names.empty() ? nullptr : Element(false);
    for (std::size_t i = 0; node != nullptr && i < names.size(); ++i) {
        node = document_->FindKey(*node, names[i]);
    }
    return node != nullptr;
}

bool YXmlFileKey::CheckSubKeyName(std::u16string_view name,
                                  YRefPtr<YReportMessageParams>* verdict) {
    if (verdict != nullptr) {
        *verdict = MakeYRef<YReportMessageParams>();
    }
    return true;
}

bool YXmlFileKey::IsWritable() {
    if (refused_ || document_->IsReadOnly() || document_->LoadFailed()) {
        return false;
    }
    rivode::platform::FileInfo info;
    return !(rivode::platform::FileSystem::Current().GetFileInfo(document_->GetPath(), info) == 0 &&
             info.exists && info.readOnly);
}

bool YXmlFileKey::SetKeySecurity(const YAccessControl* access) {
    return false;
}

const YReportMessageParams& YXmlFileKey::GetStatus() {
    return status_;
}

void YXmlFileKey::Rewrite() {
    document_->MarkChanged();
}

void YXmlFileKey::SetPersonalPath(std::u16string_view path) {}

std::unique_ptr<YProfilePrivateKey> YXmlFileKey::OpenPrivateSubKey(std::u16string_view name,
                                                                   const YAccessControl* access,
                                                                   bool create) {
    std::vector<YUnicodeString> path = path_;
    rivode::storage::AppendKeyPath(name, path);
    auto key = std::make_unique<YXmlFileKey>(document_, std::move(path), create);
    if (refused_) {
        key->refused_ = true;
        key->Fail(EINVAL);
    }
    return key;
}

std::unique_ptr<YProfilePrivateKeyIterator> YXmlFileKey::CreatePrivateKeyIterator(bool values) {
    std::vector<std::pair<YUnicodeString, int>> entries;
    const XmlNode* key = Element(false);
    std::set<YUnicodeString> listedKeys;  // upper-cased
    for (const XmlNode* child = key != nullptr ? key->first_node() : nullptr; child != nullptr;
         child = child->next_sibling()) {
        std::string_view name;
        if (!rivode::storage::NameAttributeOf(*child, name)) {
            continue;
        }
        const std::string_view element = rivode::storage::NameOf(*child);
        int kind = ValueKindUnknown;
        if (values) {
            static constexpr std::string_view kElements[] = {"dword", "string", "binary", "array"};
            for (int candidate = 0; candidate < 4; ++candidate) {
                kind = element == kElements[candidate] ? candidate : kind;
            }
        } else if (element == rivode::storage::kXmlKeyElement) {
            kind = ValueKindSubKey;
        }
        if (kind == ValueKindUnknown) {
            continue;
        }
        YUnicodeString text = rivode::FromUtf8(name);
        if (kind == ValueKindSubKey && !listedKeys.insert(rivode::ToUpperSimple(text)).second) {
            continue;
        }
        entries.emplace_back(std::move(text), kind);
    }
    return std::make_unique<rivode::storage::YXmlFileKeyIterator>(std::move(entries));
}

bool YXmlFileKey::Flush() {
    return document_->Save(status_);
}
