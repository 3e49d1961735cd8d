#pragma once
// The service's secrets and their handling: fresh random numbers from the
// kernel (tickets and their seeds), the player key's hash (only the hash is
// kept), the admin token compared in constant time, and base64 for replays
// sent inside JSON. The hashing and base64 are OpenSSL's.
#include <cstdint>
#include <optional>
#include <string>

// A nonzero 64-bit number from getrandom(2).
std::uint64_t FreshSeed();
// 128 random bits as 32 lowercase hex digits (a ticket id).
std::string FreshToken();
// A player key is 32 hex digits (128 bits); its hash is SHA-256 of those 16
// bytes in 64 lowercase hex digits. Nothing when the key is not 32 hex digits.
std::optional<std::string> PlayerKeyHash(const std::string& key);
std::string Sha256Hex(const std::string& bytes);
// Equal lengths and bytes, taking the same time whatever the bytes.
bool SameSecret(const std::string& a, const std::string& b);
// Standard base64 (with padding); nothing when the text is not base64.
std::optional<std::string> DecodeBase64(const std::string& text);
