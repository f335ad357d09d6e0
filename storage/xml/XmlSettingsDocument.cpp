#include "storage/xml/XmlSettingsDocument.h"

#include "storage/ini/ValueFile.h"

#include <RivodeRavudaVU/RivodeMessages.h>

#include "platform/FileSystem.h"

#include <cerrno>

namespace rivode::storage {
namespace {

constexpr std::string_view kValueElements[] = {"dword", "string", "binary", "array"};

// Below this many children a linear search is as fast as building an index.
constexpr std::size_t kIndexThreshold = 16;

// Folders made for a new file and the file itself: owner only, they may hold secrets.
constexpr unsigned kFolderMode = 0700;
constexpr unsigned kFileMode = 0600;

int ValueKindOfElement(std::string_view elementName) {
    for (int kind = 0; kind < 4; ++kind) {
        if (kValueElements[kind] == elementName) {
            return kind;
        }
    }
    return -1;
}

std::string FoldedKeyName(std::u16string_view name) {
    return ToUtf8(ToUpperSimple(name));
}

ValueFileError WriteDocument(const std::string& path, std::string_view bytes) {
    if (bytes.size() > kMaxXmlSettingsSize) {
        return {EFBIG, path};  // it could not be read back
    }
    platform::FileInfo info;
    if (platform::FileSystem::Current().GetFileInfo(path, info) == 0 && info.exists &&
        info.readOnly) {
        return {EACCES, path};
    }
    ValueFileWriter writer;
    writer.SetMaxSize(kMaxXmlSettingsSize);
    ValueFileError error = writer.Open(path, kFileMode, kFolderMode, true);
    if (!error) {
        error = ValueFileWriter::Recover(&writer, nullptr);
    }
    if (!error) {
        error = writer.Replace(bytes);
    }
    if (error) {
        writer.DiscardCreated();
    }
    return error;
}

}  // namespace

XmlSettingsDocument::XmlSettingsDocument(std::string path, bool readOnly)
    : path_(std::move(path)), readOnly_(readOnly) {}

std::shared_ptr<XmlSettingsDocument> XmlSettingsDocument::Load(std::string path, bool readOnly) {
    std::shared_ptr<XmlSettingsDocument> document(
        new XmlSettingsDocument(std::move(path), readOnly));
    document->LoadFile();
    return document;
}

XmlSettingsDocument::~XmlSettingsDocument() {
    if (changed_ && !readOnly_ && !LoadFailed()) {
        YReportMessageParams unreported;
        (void)Save(unreported);
    }
}

void XmlSettingsDocument::LoadFile() {
    FileBytes bytes;
    bool exists = false;
    const ValueFileError error =
        ReadValueFile(path_, bytes, exists, nullptr, false, kMaxXmlSettingsSize);
    if (error) {
        YReportMessageParams cause;
        if (error.error == EFBIG) {
            cause.SetMessage(msg::XmlSettingsTooLarge);
            cause.AddString(path_);
            cause.AddFormatted(u"%1!u!", static_cast<std::uint32_t>(kMaxXmlSettingsSize >> 20));
        } else {
            SetFileErrorReport(cause, error.error, error.path);
        }
        WrapReport(loadStatus_, msg::XmlSettingsLoadFailed, {}, cause);
    } else if (!exists) {
        createdNew_ = true;
    } else if (ParseXmlSettings(bytes, tree_, loadStatus_)) {
        return;
    }
    tree_ = MakeXmlSettingsTree();
}

bool XmlSettingsDocument::Save(YReportMessageParams& report) {
    if (!changed_) {
        return true;
    }
    if (LoadFailed()) {
        report = loadStatus_;
        return false;
    }
    if (readOnly_) {
        report.SetMessage(msg::XmlSettingsReadOnly);
        report.AddString(path_);
        return false;
    }
    if (const ValueFileError error = WriteDocument(path_, PrintXmlSettings(*tree_))) {
        YReportMessageParams cause;
        SetFileErrorReport(cause, error.error, error.path);
        WrapReport(report, msg::XmlSettingsSaveFailed, {FromUtf8(path_)}, cause);
        return false;
    }
    changed_ = false;
    createdNew_ = false;
    return true;
}

XmlSettingsDocument::ChildIndex* XmlSettingsDocument::IndexOf(XmlNode& parent) {
    if (const auto found = indexes_.find(&parent); found != indexes_.end()) {
        return &found->second;
    }
    std::size_t count = 0;
    for (XmlNode* child = parent.first_node(); child != nullptr && count <= kIndexThreshold;
         child = child->next_sibling()) {
        ++count;
    }
    if (count <= kIndexThreshold) {
        return nullptr;
    }
    ChildIndex& index = indexes_[&parent];
    for (XmlNode* child = parent.first_node(); child != nullptr; child = child->next_sibling()) {
        std::string_view name;
        if (!NameAttributeOf(*child, name)) {
            continue;
        }
        const std::string_view element = NameOf(*child);
        if (element == kXmlKeyElement) {
            index.keys.emplace(FoldedKeyName(FromUtf8(name)), child);
        } else if (const int kind = ValueKindOfElement(element); kind >= 0) {
            index.values[kind].emplace(name, child);
            index.anyValue.emplace(name, child);
        }
    }
    return &index;
}

XmlNode* XmlSettingsDocument::FindKey(XmlNode& parent, std::u16string_view name) {
    if (ChildIndex* index = IndexOf(parent)) {
        const auto found = index->keys.find(FoldedKeyName(name));
        return found != index->keys.end() ? found->second : nullptr;
    }
    const std::string exact = ToUtf8(name);
    for (XmlNode* child = parent.first_node(kXmlKeyElement.data(), kXmlKeyElement.size());
         child != nullptr;
         child = child->next_sibling(kXmlKeyElement.data(), kXmlKeyElement.size())) {
        std::string_view attribute;
        if (NameAttributeOf(*child, attribute) &&
            (attribute == exact || EqualsNoCase(FromUtf8(attribute), name))) {
            return child;
        }
    }
    return nullptr;
}

XmlNode* XmlSettingsDocument::AddKey(XmlNode& parent, std::u16string_view name) {
    const std::string utf8 = ToUtf8(name);
    XmlNode* key = NewElement(kXmlKeyElement, utf8);
    parent.append_node(key);
    if (const auto found = indexes_.find(&parent); found != indexes_.end()) {
        found->second.keys.emplace(FoldedKeyName(name), key);
    }
    changed_ = true;
    return key;
}

bool XmlSettingsDocument::RemoveKeys(XmlNode& parent, std::u16string_view name) {
    bool removed = false;
    while (XmlNode* key = FindKey(parent, name)) {
        parent.remove_node(key);
        // Key objects below it, and the indexes, may point into what was removed.
        ++generation_;
        indexes_.clear();
        removed = true;
    }
    changed_ = changed_ || removed;
    return removed;
}

XmlNode* XmlSettingsDocument::FindValue(XmlNode& key, int kind, std::string_view name) {
    if (ChildIndex* index = IndexOf(key)) {
        auto& byName = kind >= 0 ? index->values[kind] : index->anyValue;
        const auto found = byName.find(std::string(name));
        return found != byName.end() ? found->second : nullptr;
    }
    for (XmlNode* child = key.first_node(); child != nullptr; child = child->next_sibling()) {
        const int childKind = ValueKindOfElement(NameOf(*child));
        std::string_view attribute;
        if (childKind >= 0 && (kind < 0 || childKind == kind) &&
            NameAttributeOf(*child, attribute) && attribute == name) {
            return child;
        }
    }
    return nullptr;
}

XmlNode* XmlSettingsDocument::AddValue(XmlNode& key, int kind, std::string_view name) {
    XmlNode* value = NewElement(kValueElements[kind], name);
    key.append_node(value);
    if (const auto found = indexes_.find(&key); found != indexes_.end()) {
        found->second.values[kind].emplace(name, value);
        found->second.anyValue.emplace(name, value);
    }
    changed_ = true;
    return value;
}

void XmlSettingsDocument::RemoveValue(XmlNode& key, XmlNode& value) {
    key.remove_node(&value);
    // Another element of the name may now come first: the index is built again when needed.
    indexes_.erase(&key);
    changed_ = true;
}

void XmlSettingsDocument::SetText(XmlNode& element, std::string_view text) {
    SetLeafText(tree_->document, element, Copy(text), text.size());
    changed_ = true;
}

void XmlSettingsDocument::SetItems(XmlNode& array, const std::vector<std::string>& items) {
    array.remove_all_nodes();
    for (const std::string& text : items) {
        XmlNode* item = tree_->document.allocate_node(
            rapidxml::node_element, kXmlItemElement.data(), nullptr, kXmlItemElement.size(), 0);
        SetLeafText(tree_->document, *item, Copy(text), text.size());
        array.append_node(item);
    }
    changed_ = true;
}

const char* XmlSettingsDocument::Copy(std::string_view text) {
    // A size of 0 would make the pool measure the text as a C string.
    return text.empty() ? "" : tree_->document.allocate_string(text.data(), text.size());
}

XmlNode* XmlSettingsDocument::NewElement(std::string_view elementName, std::string_view name) {
    rapidxml::xml_document<char>& document = tree_->document;
    XmlNode* element = document.allocate_node(rapidxml::node_element, elementName.data(), nullptr,
                                              elementName.size(), 0);
    element->append_attribute(document.allocate_attribute(kXmlNameAttribute.data(), Copy(name),
                                                          kXmlNameAttribute.size(), name.size()));
    return element;
}

}  // namespace rivode::storage
