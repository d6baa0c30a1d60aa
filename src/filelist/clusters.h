#pragma once
// Sizes as the disk spends them: whole clusters.
#include <cstdint>

// The smallest multiple of `clusterSize` not below `bytes` (0 stays 0). A cluster size
// of 0 or less, which no volume reports, leaves `bytes` as it is.
int64_t RoundUpToCluster(int64_t bytes, int64_t clusterSize);
