// Storage classes: each reads and writes one stored kind under the value's name. Typed values
// (YProfile<T>, YProfile2<T, Storage>) derive from one of them; a value that stores its text in a
// form of its own (ProfilePath) overrides the read and write of its storage class.
#pragma once

#include <RivodeRavudaVU/YProfileData.h>
#include <RivodeRavudaVU/YProfileStore.h>

#include <cstdint>

#pragma GCC visibility push(default)

// Stored as a dword.
class YProfileDword : public YProfileData {
public:
    using YProfileData::YProfileData;
    virtual bool ReadDword(const YProfileKey& key, std::uint32_t& value) const {
        return key.GetDword(GetName(), value);
    }
    virtual bool WriteDword(const YProfileKey& key, std::uint32_t value) const {
        return key.SetDword(GetName(), value);
    }
};

// Stored as a string.
class YProfileSz : public YProfileData {
public:
    using YProfileData::YProfileData;
    virtual bool ReadSz(const YProfileKey& key, YUnicodeString& value) const {
        return key.GetString(GetName(), value);
    }
    virtual bool WriteSz(const YProfileKey& key, const YUnicodeString& value) const {
        return key.SetString(GetName(), value);
    }
};

// Stored as a multi-string.
class YProfileMultiSz : public YProfileData {
public:
    using YProfileData::YProfileData;
    virtual bool ReadMultiSz(const YProfileKey& key, YStringArray& value) const {
        return key.GetStringArray(GetName(), value);
    }
    virtual bool WriteMultiSz(const YProfileKey& key, const YStringArray& value) const {
        return key.SetStringArray(GetName(), value);
    }
};

// Stored as a binary block.
class YProfileBinary : public YProfileData {
public:
    using YProfileData::YProfileData;
    // Reads at most size bytes into buffer; on success size is the stored length. Fails, leaving
    // the buffer untouched, when the stored block is longer than size.
    virtual bool ReadBinary(const YProfileKey& key, void* buffer, std::uint32_t& size) const {
        return key.GetBinary(GetName(), buffer, size);
    }
    virtual bool WriteBinary(const YProfileKey& key, const void* bytes,
                             std::uint32_t length) const {
        return key.SetBinary(GetName(), bytes, length);
    }
};

// Stored as a string that holds a point in time (YProfileTime).
class YProfileTimeSz : public YProfileSz {
public:
    using YProfileSz::YProfileSz;
};

#pragma GCC visibility pop
