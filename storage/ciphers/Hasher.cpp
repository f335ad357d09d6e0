#include "storage/ciphers/Hasher.h"

#include <cryptopp/sha.h>

namespace CryptUtils {

namespace {

template <class Hash>
std::unique_ptr<CryptoPP::HashTransformation> Make() {
    return std::make_unique<Hash>();
}

struct NamedHash {
    std::string_view name;
    std::unique_ptr<CryptoPP::HashTransformation> (*make)();
};

constexpr NamedHash kHashes[] = {
    {"sha1", Make<CryptoPP::SHA1>},     {"sha224", Make<CryptoPP::SHA224>},
    {"sha256", Make<CryptoPP::SHA256>}, {"sha384", Make<CryptoPP::SHA384>},
    {"sha512", Make<CryptoPP::SHA512>},
};

}  // namespace

YRefPtr<IHasher> Hasher::Create(std::string_view name) {
    for (const NamedHash& hash : kHashes) {
        if (hash.name == name) {
            return YRefPtr<IHasher>::Adopt(new Hasher(hash.make()));
        }
    }
    return nullptr;
}

Hasher::Hasher(std::unique_ptr<CryptoPP::HashTransformation> hash) : hash_(std::move(hash)) {}

Hasher::~Hasher() = default;

std::size_t Hasher::GetDigestSize() const {
    return hash_->DigestSize();
}

void Hasher::Update(const void* bytes, std::size_t count) {
    hash_->Update(static_cast<const CryptoPP::byte*>(bytes), count);
}

void Hasher::Finish(std::uint8_t* digest) {
    hash_->Final(digest);
}

}  // namespace CryptUtils
