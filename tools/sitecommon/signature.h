#pragma once
// The file list's signature, made by libcrypto: RSA over SHA-256 with PKCS #1 v1.5
// padding, the kind the program's system verifies. Keys are PEM texts; signatures
// travel as one line of base64.
#include <string>
#include <string_view>

namespace site {

// Empty when `privateKeyPem` is an RSA private key, else why it cannot sign.
std::string CheckSigningKey(const std::string& privateKeyPem);

// The base64 signature of the bytes; empty when the key cannot sign.
std::string SignBase64(std::string_view bytes, const std::string& privateKeyPem);

// Whether `signatureBase64` is the signature of the bytes by the private half of
// `publicKeyPem`; false too when either cannot be read.
bool VerifyBase64(std::string_view bytes, std::string_view signatureBase64, const std::string& publicKeyPem);

}  // namespace site
