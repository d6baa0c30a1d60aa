#pragma once
// The texts the site requests report their failures with.
#include <cstdint>
#include <string>

// "Failed to download: 'URL' (0xRESULT)" and two line ends.
std::string FailedDownloadText(const std::string& url, int32_t result);
// "Failed to open file: 'PATH'".
std::string FailedToOpenText(const std::string& path);
