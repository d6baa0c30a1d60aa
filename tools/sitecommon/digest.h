#pragma once
// The digest a file list carries for an item, made by libcrypto.
#include <cstddef>
#include <string>

namespace site {

// SHA-256 of the bytes as 64 lower-case hexadecimal digits; empty when libcrypto fails.
std::string Sha256Hex(const void* bytes, std::size_t size);

}  // namespace site
