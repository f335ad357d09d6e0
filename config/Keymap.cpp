#include <RivodeRavudaVU/Keymap.h>

#include <RivodeRavudaVU/YProfilePath.h>

#include <algorithm>

Keymap::Keymap() = default;

Keymap::Keymap(const Keymap& other)
    : version_(other.version_),
      buckets_(other.buckets_),
      bucketCount_(other.bucketCount_),
      size_(other.size_) {}

Keymap& Keymap::operator=(const Keymap& other) {
    if (this != &other) {
        version_ = other.version_;
        buckets_ = other.buckets_;
        bucketCount_ = other.bucketCount_;
        size_ = other.size_;
        fallback_.reset();
    }
    return *this;
}

Keymap::~Keymap() = default;

const KeyMapEntry* Keymap::Find(std::uint32_t key) const {
    if (buckets_.empty()) {
        return nullptr;
    }
    for (const KeyMapEntry& entry : buckets_[BucketOf(key)]) {
        if (entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}

KeyMapEntry* Keymap::FindMutable(std::uint32_t key) {
    return const_cast<KeyMapEntry*>(Find(key));
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

void Keymap::Set(KeyMapEntry entry) {
    if (buckets_.empty()) {
        if (entry.functionCode == kFunctionNone) {
            return;
        }
        buckets_.resize(bucketCount_);
    }
    std::vector<KeyMapEntry>& bucket = buckets_[BucketOf(entry.key)];
    const auto found = std::find_if(bucket.begin(), bucket.end(),
                                    [&](const KeyMapEntry& e) { return e.key == entry.key; });
    if (entry.functionCode == kFunctionNone) {
        if (found != bucket.end()) {
            bucket.erase(found);
            --size_;
        }
        return;
    }
    if (found != bucket.end()) {
        *found = std::move(entry);
        return;
    }
    bucket.push_back(std::move(entry));
    ++size_;
}

void Keymap::SetFunctionCode(std::uint32_t key, std::uint32_t code) {
    if (KeyMapEntry* entry = FindMutable(key); entry != nullptr && code != kFunctionNone) {
        entry->functionCode = code;
        return;
    }
    Set({key, code, {}, {}});
}

void Keymap::SetValue(std::uint32_t key, std::u16string_view text) {
    if (KeyMapEntry* entry = FindMutable(key)) {
        entry->value = YUnicodeString(text);
    }
}

void Keymap::SetArguments(std::uint32_t key, std::u16string_view text) {
    if (KeyMapEntry* entry = FindMutable(key)) {
        entry->arguments = YUnicodeString(text);
    }
}

void Keymap::Clear() {
    for (std::vector<KeyMapEntry>& bucket : buckets_) {
        bucket.clear();
    }
    size_ = 0;
}

std::vector<KeyMapEntry> Keymap::GetSortedEntries() const {
    std::vector<KeyMapEntry> entries;
    entries.reserve(size_);
    for (const std::vector<KeyMapEntry>& bucket : buckets_) {
        entries.insert(entries.end(), bucket.begin(), bucket.end());
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
    if (size_ != other.size_) {
        return false;
    }
    for (const std::vector<KeyMapEntry>& bucket : buckets_) {
        for (const KeyMapEntry& entry : bucket) {
            const KeyMapEntry* same = other.Find(entry.key);
            if (same == nullptr || !(*same == entry)) {
                return false;
            }
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
