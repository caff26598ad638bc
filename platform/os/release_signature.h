#pragma once
// Detached Ed25519 signatures (libsodium) and SHA-256 digests: how a
// release's files are signed by its maker and checked by the program
// against a public key built into it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

inline constexpr std::size_t kSignatureBytes = 64;
inline constexpr std::size_t kPublicKeyBytes = 32;
inline constexpr std::size_t kSecretKeyBytes = 64;
inline constexpr std::size_t kDigestBytes = 32;

using Digest = std::array<std::uint8_t, kDigestBytes>;

// SHA-256 of bytes, or of a whole file (false when it cannot be read).
Digest Sha256(std::string_view bytes);
bool Sha256File(const std::string& nativePath, Digest& digest);

// True when the signature is the key's over the message.
bool VerifySignature(std::string_view message, std::string_view signature, std::string_view publicKey);
// The release tool's side: a new key pair, and a signature with a secret key.
void MakeSigningKeys(std::string& publicKey, std::string& secretKey);
std::string Sign(std::string_view message, std::string_view secretKey);

// Lower-case hexadecimal, and back (false on anything but hex digits in pairs).
std::string ToHex(std::string_view bytes);
bool FromHex(std::string_view hex, std::string& bytes);

}  // namespace fw
