#include "filelist/clusters.h"

#include <cmath>

int64_t RoundUpToCluster(int64_t bytes, int64_t clusterSize) {
  if (clusterSize <= 0) return bytes;
  const double clusters = std::ceil(static_cast<double>(bytes) / static_cast<double>(clusterSize));
  return static_cast<int64_t>(clusters) * clusterSize;
}
