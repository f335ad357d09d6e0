// Message digests chosen by name, for the enciphered-text check and key derivation.
#pragma once

#include <RivodeRavudaVU/YRefPtr.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace CryptoPP {
class HashTransformation;
}

namespace CryptUtils {

class IHasher : public IYUnknown {
public:
    static constexpr YInterfaceId kInterfaceId{"IHasher"};
    virtual std::size_t GetDigestSize() const = 0;
    virtual void Update(const void* bytes, std::size_t count) = 0;
    // Writes GetDigestSize() bytes to digest and starts a new digest.
    virtual void Finish(std::uint8_t* digest) = 0;

protected:
    ~IHasher() = default;
};

class Hasher : public YUnknown<IHasher> {
public:
    // "sha1", "sha224", "sha256", "sha384" or "sha512", exactly; null for any other name.
    static YRefPtr<IHasher> Create(std::string_view name);

    std::size_t GetDigestSize() const override;
    void Update(const void* bytes, std::size_t count) override;
    void Finish(std::uint8_t* digest) override;

private:
    explicit Hasher(std::unique_ptr<CryptoPP::HashTransformation> hash);
    ~Hasher() override;

    std::unique_ptr<CryptoPP::HashTransformation> hash_;
};

}  // namespace CryptUtils
