#include "itemcode.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <strings.h>

#include "listrecord.h"

namespace publish {
namespace {

constexpr size_t kHashDigits = 8;

uint32_t TargetHash(const std::string& folder, const std::string& fileName, unsigned salt) {
  uint32_t hash = 2166136261u;  // FNV-1a
  auto mix = [&hash](unsigned char c) {
    hash ^= c;
    hash *= 16777619u;
  };
  for (char c : folder) mix(static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c))));
  mix('\\');
  for (char c : fileName) mix(static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c))));
  for (unsigned s = salt; s != 0; s >>= 8) mix(static_cast<unsigned char>(s & 0xFF));
  return hash;
}

}  // namespace

std::string ItemCodePrefix(const std::string& productLine) {
  if (strcasecmp(productLine.c_str(), "FNC") == 0) return "CSFNC_";
  if (strcasecmp(productLine.c_str(), "FNS") == 0) return "CSFNSTU1_";
  return productLine + "_";
}

std::string MakeItemCode(const std::string& prefix, const std::string& folder, const std::string& fileName,
                         const std::string& variant, unsigned salt) {
  std::string suffix = variant.empty() ? std::string{} : "_" + variant;
  size_t fixed = prefix.size() + 1 + kHashDigits + suffix.size();
  if (fixed > listlimit::kItemCode) return {};
  std::string stem;
  size_t dot = fileName.rfind('.');
  for (size_t i = 0; i < (dot == std::string::npos ? fileName.size() : dot); ++i) {
    unsigned char c = static_cast<unsigned char>(fileName[i]);
    if (std::isalnum(c) && c < 0x80) stem += static_cast<char>(c);
  }
  stem.resize(std::min(stem.size(), listlimit::kItemCode - fixed));
  char hash[kHashDigits + 1];
  std::snprintf(hash, sizeof hash, "%08X", TargetHash(folder, fileName, salt));
  return prefix + stem + "_" + hash + suffix;
}

}  // namespace publish
