#include "sys/win32/hashing.h"

#include "sys/win32/winapi.h"
// Needs <windows.h> first.
#include <wincrypt.h>

namespace sys::win32 {

namespace {

constexpr DWORD kChunk = 64 * 1024;
constexpr DWORD kSha256Bytes = 32;

// A provider and a hash object that give themselves back when the digest is done.
class HashObjects {
 public:
  ~HashObjects() {
    if (hash_ != 0) CryptDestroyHash(hash_);
    if (provider_ != 0) CryptReleaseContext(provider_, 0);
  }
  // The AES provider is the one that knows SHA-256; no key container is needed.
  bool Open() {
    return CryptAcquireContextA(&provider_, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) &&
           CryptCreateHash(provider_, CALG_SHA_256, 0, 0, &hash_);
  }
  HCRYPTHASH hash() const { return hash_; }

 private:
  HCRYPTPROV provider_ = 0;
  HCRYPTHASH hash_ = 0;
};

std::string Hex(const BYTE* bytes, DWORD count) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (DWORD i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

class Win32HashingImpl final : public Hashing {
 public:
  Result<std::string> FileSha256(const std::string& path) override {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return Result<std::string>::Fail(GetLastError());
    HashObjects objects;
    if (!objects.Open()) return Result<std::string>::Fail(GetLastError());
    std::string buffer(kChunk, '\0');
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(file.get(), buffer.data(), kChunk, &got, nullptr)) return Result<std::string>::Fail(GetLastError());
      if (got == 0) break;
      if (!CryptHashData(objects.hash(), reinterpret_cast<const BYTE*>(buffer.data()), got, 0))
        return Result<std::string>::Fail(GetLastError());
    }
    BYTE digest[kSha256Bytes];
    DWORD length = kSha256Bytes;
    if (!CryptGetHashParam(objects.hash(), HP_HASHVAL, digest, &length, 0)) return Result<std::string>::Fail(GetLastError());
    return Result<std::string>::Ok(Hex(digest, length));
  }
};

}  // namespace

Hashing& Win32Hashing() {
  static Win32HashingImpl instance;
  return instance;
}

}  // namespace sys::win32
