#pragma once
// Turns a product folder into a published release below the site folder: one
// cabinet per file and the release's file lists. The release appears whole or not at
// all: everything is written into a staging folder beside it and swapped in at the end.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "cabwriter.h"

namespace publish {

struct PublishOptions {
  std::filesystem::path from;
  std::filesystem::path site;
  std::string productLine;
  std::string release;
  std::filesystem::path layoutFile;  // empty: every file keeps its own sub-folder
  Compression compression = Compression::Mszip;
  std::filesystem::path signKeyFile;  // PEM RSA private key; empty: the lists go unsigned
};

struct PublishSummary {
  size_t items = 0;
  uint64_t bytes = 0;
  uint64_t cabinetBytes = 0;
  double seconds = 0;
  std::filesystem::path releaseFolder;
  std::string error;  // why nothing was published
  bool ok() const { return error.empty(); }
};

// Called after each item with the count done, the count in all and the bytes read.
using PublishProgress = std::function<void(size_t done, size_t total, uint64_t bytes)>;

PublishSummary Publish(const PublishOptions& options, const PublishProgress& progress = {});

// The site's assortment code for a product line (QS2003SE shares QS2003E's).
std::string AssortmentFor(const std::string& productLine);

}  // namespace publish
