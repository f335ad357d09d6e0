// The parsed XML settings file that all keys of one XML store share (each key holds a
// reference; the root key loads it), and the file on disk.
//
// Loading reads the file under the shared lock of its first 4 bytes (what a killed save left is
// finished first, see ValueFile.h). A missing file is a new document; a file that cannot be
// read or parsed leaves the document empty with the reason in LoadStatus(), and such a
// document is never saved, so a damaged file is not replaced by an empty one.
//
// Saving rewrites the file in place under the exclusive lock, through the journal of
// ValueFile.h: the whole new document goes to a synced journal beside the file before the file
// is overwritten, so a killed process or a full disk leaves either the old document or a
// journal from which the next opener finishes the new one. Rewriting in place rather than
// writing a new file and renaming it keeps the file's inode, owner, mode and the lock readers
// take on it. Files are opened without following symbolic links and must be regular files.
// A save replaces the whole document: of two stores that changed one file, the one saved last
// wins. The lock keeps their saves from mixing.
//
// Lookups are linear in the children of an element until an element has been searched with
// many children; from then on an index of its children answers (settings files hold thousands
// of sessions in one folder). Removing a key element invalidates every key object's cached
// element (see Generation()).
//
// One thread at a time, like the keys that share it.
#pragma once

#include "storage/xml/XmlSettingsText.h"

#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rivode::storage {

// A settings file of 10,000 sessions with every value written is well below this; a larger
// file is refused rather than read into memory.
inline constexpr std::uint64_t kMaxXmlSettingsSize = 512ull << 20;

class XmlSettingsDocument {
public:
    // Loads the document of path (a native path). readOnly documents are never saved.
    static std::shared_ptr<XmlSettingsDocument> Load(std::string path, bool readOnly);
    // Saves when changed, writable and loaded; a failure here cannot be reported (Save first
    // to learn it).
    ~XmlSettingsDocument();
    XmlSettingsDocument(const XmlSettingsDocument&) = delete;
    XmlSettingsDocument& operator=(const XmlSettingsDocument&) = delete;

    // Writes the document now if it changed. false with report filled: the load had failed,
    // the document is read-only, or the file could not be written (it then holds the previous
    // document).
    [[nodiscard]] bool Save(YReportMessageParams& report);

    const std::string& GetPath() const { return path_; }
    bool IsReadOnly() const { return readOnly_; }
    bool LoadFailed() const { return !loadStatus_.IsSuccess(); }
    const YReportMessageParams& LoadStatus() const { return loadStatus_; }
    bool WasCreatedNew() const { return createdNew_; }
    void MarkChanged() { changed_ = true; }

    XmlNode* Root() const { return tree_->root; }
    // Bumped whenever key elements are removed: an element found before may be gone.
    std::uint64_t Generation() const { return generation_; }

    // The first child key element named name (without regard to case), or nullptr.
    XmlNode* FindKey(XmlNode& parent, std::u16string_view name);
    XmlNode* AddKey(XmlNode& parent, std::u16string_view name);
    // Removes every child key element named name; whether there was one.
    bool RemoveKeys(XmlNode& parent, std::u16string_view name);

    // The first value element of kind (0-3; -1 for any) whose name is exactly name (UTF-8).
    XmlNode* FindValue(XmlNode& key, int kind, std::string_view name);
    XmlNode* AddValue(XmlNode& key, int kind, std::string_view name);
    void RemoveValue(XmlNode& key, XmlNode& value);

    // Gives element the text (copied into the document).
    void SetText(XmlNode& element, std::string_view text);
    // Replaces the items (UTF-8 texts) of an "array" element.
    void SetItems(XmlNode& array, const std::vector<std::string>& items);

private:
    struct ChildIndex {
        std::unordered_map<std::string, XmlNode*> keys;  // by upper-cased name
        std::unordered_map<std::string, XmlNode*> values[4];
        std::unordered_map<std::string, XmlNode*> anyValue;
    };

    XmlSettingsDocument(std::string path, bool readOnly);
    void LoadFile();
    ChildIndex* IndexOf(XmlNode& parent);
    const char* Copy(std::string_view text);
    XmlNode* NewElement(std::string_view elementName, std::string_view name);

    std::string path_;
    std::unique_ptr<XmlSettingsTree> tree_;
    YReportMessageParams loadStatus_;
    bool readOnly_ = false;
    bool changed_ = false;
    bool createdNew_ = false;
    std::uint64_t generation_ = 0;
    std::unordered_map<const XmlNode*, ChildIndex> indexes_;
};

}  // namespace rivode::storage
