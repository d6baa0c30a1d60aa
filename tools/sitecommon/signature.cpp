#include "signature.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <memory>
#include <vector>

namespace site {
namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

// Only RSA keys: the program's system verifies nothing else.
Key ReadKey(const std::string& pem, bool isPrivate) {
  std::unique_ptr<BIO, decltype(&BIO_free)> in(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), &BIO_free);
  Key key(nullptr, &EVP_PKEY_free);
  if (!in) return key;
  key.reset(isPrivate ? PEM_read_bio_PrivateKey(in.get(), nullptr, nullptr, nullptr)
                      : PEM_read_bio_PUBKEY(in.get(), nullptr, nullptr, nullptr));
  if (key && EVP_PKEY_base_id(key.get()) != EVP_PKEY_RSA) key.reset();
  return key;
}

std::string Base64(const std::vector<unsigned char>& bytes) {
  std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes.data(), static_cast<int>(bytes.size()));
  text.resize(length < 0 ? 0 : static_cast<size_t>(length));
  return text;
}

std::vector<unsigned char> FromBase64(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  if (text.empty() || text.size() % 4 != 0) return {};
  std::vector<unsigned char> bytes(text.size() / 4 * 3);
  int length = EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(text.data()),
                               static_cast<int>(text.size()));
  if (length < 0) return {};
  // The decoder counts the padding as bytes.
  size_t padding = (text.ends_with("==") ? 2 : text.ends_with("=") ? 1 : 0);
  bytes.resize(static_cast<size_t>(length) - padding);
  return bytes;
}

}  // namespace

std::string CheckSigningKey(const std::string& privateKeyPem) {
  return ReadKey(privateKeyPem, true) ? std::string{} : "not an RSA private key in PEM form";
}

std::string SignBase64(std::string_view bytes, const std::string& privateKeyPem) {
  Key key = ReadKey(privateKeyPem, true);
  DigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  size_t length = 0;
  if (!key || !context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1 ||
      EVP_DigestSign(context.get(), nullptr, &length, reinterpret_cast<const unsigned char*>(bytes.data()),
                     bytes.size()) != 1)
    return {};
  std::vector<unsigned char> signature(length);
  if (EVP_DigestSign(context.get(), signature.data(), &length, reinterpret_cast<const unsigned char*>(bytes.data()),
                     bytes.size()) != 1)
    return {};
  signature.resize(length);
  return Base64(signature);
}

bool VerifyBase64(std::string_view bytes, std::string_view signatureBase64, const std::string& publicKeyPem) {
  Key key = ReadKey(publicKeyPem, false);
  std::vector<unsigned char> signature = FromBase64(signatureBase64);
  DigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  return key && !signature.empty() && context &&
         EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) == 1 &&
         EVP_DigestVerify(context.get(), signature.data(), signature.size(),
                          reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) == 1;
}

}  // namespace site
