#include <RivodeRavudaVU/Keymap.h>

#include <RivodeRavudaVU/YProfilePath.h>

#include <algorithm>

Keymap::Keymap() = default;

Keymap::Keymap(const Keymap& other)
    : version_(other.version_),
      heads_(other.heads_),
      nodes_(other.nodes_),
      bucketCount_(other.bucketCount_),
      changes_(other.changes_) {}

Keymap& Keymap::operator=(const Keymap& other) {
    if (this != &other) {
        version_ = other.version_;
        heads_ = other.heads_;
        nodes_ = other.nodes_;
        bucketCount_ = other.bucketCount_;
        ++changes_;
        fallback_.reset();
    }
    return *this;
}

Keymap::~Keymap() = default;

std::uint32_t Keymap::FindNode(std::uint32_t key) const {
    if (heads_.empty()) {
        return kNoEntry;
    }
    std::uint32_t index = heads_[BucketOf(key)];
    while (index != kNoEntry && nodes_[index].entry.key != key) {
        index = nodes_[index].next;
    }
    return index;
}

const KeyMapEntry* Keymap::Find(std::uint32_t key) const {
    const std::uint32_t index = FindNode(key);
    return index != kNoEntry ? &nodes_[index].entry : nullptr;
}

KeyMapEntry* Keymap::FindMutable(std::uint32_t key) {
    const std::uint32_t index = FindNode(key);
    return index != kNoEntry ? &nodes_[index].entry : nullptr;
}

const KeyMapEntry* Keymap::Lookup(std::uint32_t key) const {
    for (const Keymap* map = this; map != nullptr; map = map->fallback_.get()) {
        if (const KeyMapEntry* entry = map->Find(key)) {
            return entry;
        }
    }
    return nullptr;
}

std::uint32_t Keymap::GetFunctionCode(std::uint32_t key) const {
    const KeyMapEntry* entry = Lookup(key);
    return entry != nullptr ? entry->functionCode : kFunctionNone;
}

YUnicodeString Keymap::GetValue(std::uint32_t key) const {
    const KeyMapEntry* entry = Lookup(key);
    return entry != nullptr ? entry->value : YUnicodeString();
}

YUnicodeString Keymap::GetArguments(std::uint32_t key) const {
    const KeyMapEntry* entry = Lookup(key);
    return entry != nullptr ? entry->arguments : YUnicodeString();
}

// Unlinks the node, then moves the last node into its place so that nodes_ stays dense.
void Keymap::RemoveNode(std::uint32_t index) {
    const auto unlink = [this](std::uint32_t target) {
        std::uint32_t* link = &heads_[BucketOf(nodes_[target].entry.key)];
        while (*link != target) {
            link = &nodes_[*link].next;
        }
        *link = nodes_[target].next;
    };
    unlink(index);
    const auto last = static_cast<std::uint32_t>(nodes_.size() - 1);
    if (index != last) {
        std::uint32_t* link = &heads_[BucketOf(nodes_[last].entry.key)];
        while (*link != last) {
            link = &nodes_[*link].next;
        }
        *link = index;
        nodes_[index] = std::move(nodes_[last]);
    }
    nodes_.pop_back();
}

void Keymap::Set(KeyMapEntry entry) {
    const std::uint32_t found = FindNode(entry.key);
    if (entry.functionCode == kFunctionNone) {
        if (found != kNoEntry) {
            RemoveNode(found);
            ++changes_;
        }
        return;
    }
    ++changes_;
    if (found != kNoEntry) {
        nodes_[found].entry = std::move(entry);
        return;
    }
    if (heads_.empty()) {
        heads_.assign(bucketCount_, kNoEntry);
    }
    std::uint32_t& head = heads_[BucketOf(entry.key)];
    nodes_.push_back({std::move(entry), head});
    head = static_cast<std::uint32_t>(nodes_.size() - 1);
}

void Keymap::SetFunctionCode(std::uint32_t key, std::uint32_t code) {
    if (KeyMapEntry* entry = FindMutable(key); entry != nullptr && code != kFunctionNone) {
        entry->functionCode = code;
        ++changes_;
        return;
    }
    Set({key, code, {}, {}});
}

void Keymap::SetValue(std::uint32_t key, std::u16string_view text) {
    if (KeyMapEntry* entry = FindMutable(key)) {
        entry->value = YUnicodeString(text);
        ++changes_;
    }
}

void Keymap::SetArguments(std::uint32_t key, std::u16string_view text) {
    if (KeyMapEntry* entry = FindMutable(key)) {
        entry->arguments = YUnicodeString(text);
        ++changes_;
    }
}

void Keymap::Clear() {
    if (!heads_.empty()) {
        std::fill(heads_.begin(), heads_.end(), kNoEntry);
    }
    nodes_.clear();
    ++changes_;
}

std::vector<KeyMapEntry> Keymap::GetSortedEntries() const {
    std::vector<KeyMapEntry> entries;
    entries.reserve(nodes_.size());
    for (const Node& node : nodes_) {
        entries.push_back(node.entry);
    }
    std::sort(entries.begin(), entries.end(), [](const KeyMapEntry& a, const KeyMapEntry& b) {
        const unsigned modifiersA = GetModifiers(a.key);
        const unsigned modifiersB = GetModifiers(b.key);
        return modifiersA != modifiersB ? modifiersA < modifiersB : a.key < b.key;
    });
    return entries;
}

YStringArray Keymap::GetReferencedScripts() const {
    const ProfilePath paths;
    YStringArray scripts;
    for (const KeyMapEntry& entry : GetSortedEntries()) {
        if (entry.functionCode == kFunctionRun) {
            scripts.push_back(paths.Substitute(entry.value));
        }
    }
    return scripts;
}

bool Keymap::operator==(const Keymap& other) const {
    if (nodes_.size() != other.nodes_.size()) {
        return false;
    }
    for (const Node& node : nodes_) {
        const KeyMapEntry* same = other.Find(node.entry.key);
        if (same == nullptr || !(*same == node.entry)) {
            return false;
        }
    }
    if ((fallback_ == nullptr) != (other.fallback_ == nullptr)) {
        return false;
    }
    return fallback_ == nullptr || *fallback_ == *other.fallback_;
}

bool Keymap::IsUnversioned() const {
    return version_ != u"Version = 1" && version_ != u"Version = 2";
}

bool Keymap::HasCombinedLaunchCommand() const {
    return version_ != u"Version = 2";
}
