#include "platform/os/release_signature.h"

#include <sodium.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace fw {
namespace {

void Init() {
    static const bool ready = sodium_init() >= 0;
    if (!ready) throw std::runtime_error("libsodium could not start");
}

const unsigned char* Bytes(std::string_view s) { return reinterpret_cast<const unsigned char*>(s.data()); }

}  // namespace

Digest Sha256(std::string_view bytes) {
    Init();
    Digest d{};
    crypto_hash_sha256(d.data(), Bytes(bytes), bytes.size());
    return d;
}

bool Sha256File(const std::string& nativePath, Digest& digest) {
    Init();
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(nativePath.c_str(), "rb"), &std::fclose);
    if (!f) return false;
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    std::string buffer(1 << 16, '\0');
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), f.get())) > 0)
        crypto_hash_sha256_update(&state, Bytes(buffer), n);
    if (std::ferror(f.get())) return false;
    crypto_hash_sha256_final(&state, digest.data());
    return true;
}

bool VerifySignature(std::string_view message, std::string_view signature, std::string_view publicKey) {
    Init();
    if (signature.size() != kSignatureBytes || publicKey.size() != kPublicKeyBytes) return false;
    return crypto_sign_verify_detached(Bytes(signature), Bytes(message), message.size(), Bytes(publicKey)) == 0;
}

void MakeSigningKeys(std::string& publicKey, std::string& secretKey) {
    Init();
    publicKey.assign(kPublicKeyBytes, '\0');
    secretKey.assign(kSecretKeyBytes, '\0');
    crypto_sign_keypair(reinterpret_cast<unsigned char*>(publicKey.data()),
                        reinterpret_cast<unsigned char*>(secretKey.data()));
}

std::string Sign(std::string_view message, std::string_view secretKey) {
    Init();
    if (secretKey.size() != kSecretKeyBytes) throw std::invalid_argument("a signing key has 64 bytes");
    std::string signature(kSignatureBytes, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr, Bytes(message), message.size(),
                         Bytes(secretKey));
    return signature;
}

std::string ToHex(std::string_view bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

bool FromHex(std::string_view hex, std::string& bytes) {
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (hex.size() % 2) return false;
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        int hi = value(hex[i]), lo = value(hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
    }
    bytes = std::move(out);
    return true;
}

}  // namespace fw
