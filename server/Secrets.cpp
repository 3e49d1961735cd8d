#include "server/Secrets.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/sha.h>
#include <sys/random.h>

#include <cctype>
#include <cerrno>
#include <stdexcept>

namespace {
void FillRandom(void* out, std::size_t size) {
  auto* p = static_cast<unsigned char*>(out);
  while (size > 0) {
    const ssize_t n = getrandom(p, size, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("getrandom failed");
    }
    p += n;
    size -= std::size_t(n);
  }
}

std::string Hex(const unsigned char* p, std::size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (std::size_t i = 0; i < size; ++i) {
    out += digits[p[i] >> 4];
    out += digits[p[i] & 15];
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::uint64_t FreshSeed() {
  std::uint64_t s = 0;
  while (s == 0) FillRandom(&s, sizeof s);
  return s;
}

std::string FreshToken() {
  unsigned char bytes[16];
  FillRandom(bytes, sizeof bytes);
  return Hex(bytes, sizeof bytes);
}

std::string Sha256Hex(const std::string& bytes) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
  return Hex(digest, sizeof digest);
}

std::optional<std::string> PlayerKeyHash(const std::string& key) {
  if (key.size() != 32) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < 32; i += 2) {
    const int hi = HexDigit(key[i]), lo = HexDigit(key[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes += char(hi * 16 + lo);
  }
  return Sha256Hex(bytes);
}

bool SameSecret(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

std::optional<std::string> DecodeBase64(const std::string& text) {
  if (text.size() % 4 != 0) return std::nullopt;
  for (char c : text)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/' || c == '=')) return std::nullopt;
  std::string out(text.size() / 4 * 3, '\0');
  const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
  if (n < 0) return std::nullopt;
  // EVP_DecodeBlock counts the padding as zero bytes: take them off again.
  std::size_t size = std::size_t(n);
  if (!text.empty() && text.back() == '=') --size;
  if (text.size() > 1 && text[text.size() - 2] == '=') --size;
  out.resize(size);
  return out;
}
