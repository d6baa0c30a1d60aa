#include "sys/win32/hashing.h"

#include <algorithm>
#include <vector>

#include "sys/win32/winapi.h"
// Needs <windows.h> first.
#include <wincrypt.h>

namespace sys::win32 {

namespace {

constexpr DWORD kChunk = 64 * 1024;
constexpr DWORD kSha256Bytes = 32;

// A provider, a hash object and a key that give themselves back when the work is done.
class CryptoObjects {
 public:
  ~CryptoObjects() {
    if (key_ != 0) CryptDestroyKey(key_);
    if (hash_ != 0) CryptDestroyHash(hash_);
    if (provider_ != 0) CryptReleaseContext(provider_, 0);
  }
  // The AES provider is the one that knows SHA-256; no key container is needed.
  bool Open() {
    return CryptAcquireContextA(&provider_, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) &&
           CryptCreateHash(provider_, CALG_SHA_256, 0, 0, &hash_);
  }
  // Feeds the whole file into the hash; the error when it cannot be read.
  DWORD HashFile(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return GetLastError();
    if (!Open()) return GetLastError();
    std::string buffer(kChunk, '\0');
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(file.get(), buffer.data(), kChunk, &got, nullptr)) return GetLastError();
      if (got == 0) return ERROR_SUCCESS;
      if (!CryptHashData(hash_, reinterpret_cast<const BYTE*>(buffer.data()), got, 0)) return GetLastError();
    }
  }
  // Takes the public key of a PEM "PUBLIC KEY" (a DER SubjectPublicKeyInfo).
  bool ImportPublicKey(const std::string& pem) {
    std::vector<BYTE> der = Decoded(pem, CRYPT_STRING_BASE64HEADER);
    CERT_PUBLIC_KEY_INFO* info = nullptr;
    DWORD infoSize = 0;
    if (der.empty() || !CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, der.data(),
                                            static_cast<DWORD>(der.size()), CRYPT_DECODE_ALLOC_FLAG, nullptr, &info,
                                            &infoSize))
      return false;
    bool imported = CryptImportPublicKeyInfo(provider_, X509_ASN_ENCODING, info, &key_);
    LocalFree(info);
    return imported;
  }
  bool Verify(const std::string& signatureBase64) {
    std::vector<BYTE> signature = Decoded(signatureBase64, CRYPT_STRING_BASE64);
    // The system reads signatures least significant byte first; the publisher writes them most significant first.
    std::reverse(signature.begin(), signature.end());
    return !signature.empty() &&
           CryptVerifySignatureA(hash_, signature.data(), static_cast<DWORD>(signature.size()), key_, nullptr, 0);
  }
  HCRYPTHASH hash() const { return hash_; }

 private:
  static std::vector<BYTE> Decoded(const std::string& text, DWORD format) {
    DWORD size = 0;
    if (text.empty() ||
        !CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()), format, nullptr, &size, nullptr, nullptr))
      return {};
    std::vector<BYTE> bytes(size);
    if (!CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()), format, bytes.data(), &size, nullptr,
                              nullptr))
      return {};
    bytes.resize(size);
    return bytes;
  }

  HCRYPTPROV provider_ = 0;
  HCRYPTHASH hash_ = 0;
  HCRYPTKEY key_ = 0;
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
    CryptoObjects objects;
    if (DWORD error = objects.HashFile(path); error != ERROR_SUCCESS) return Result<std::string>::Fail(error);
    BYTE digest[kSha256Bytes];
    DWORD length = kSha256Bytes;
    if (!CryptGetHashParam(objects.hash(), HP_HASHVAL, digest, &length, 0)) return Result<std::string>::Fail(GetLastError());
    return Result<std::string>::Ok(Hex(digest, length));
  }

  Result<bool> FileSignedBy(const std::string& path, const std::string& publicKeyPem,
                            const std::string& signatureBase64) override {
    CryptoObjects objects;
    if (DWORD error = objects.HashFile(path); error != ERROR_SUCCESS) return Result<bool>::Fail(error);
    return Result<bool>::Ok(objects.ImportPublicKey(publicKeyPem) && objects.Verify(signatureBase64));
  }
};

}  // namespace

Hashing& Win32Hashing() {
  static Win32HashingImpl instance;
  return instance;
}

}  // namespace sys::win32
