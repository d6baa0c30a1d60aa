#pragma once
// The digest the file list carries for an item, made by libcrypto.
#include <string>
#include <vector>

namespace publish {

// SHA-256 of the bytes as 64 lower-case hexadecimal digits; empty when libcrypto fails.
std::string Sha256Hex(const std::vector<unsigned char>& bytes);

}  // namespace publish
