#pragma once
// `cabexpand --bench`: output MB/s of the product's expansion beside the reference
// decoder (cabextract -q -p CABINET > /dev/null) and a plain copy of the cabinet, with
// the peak memory of one expansion. Medians of the CPU time of several runs; one core.
#include <string>
#include <vector>

int RunBenchmark(const std::vector<std::string>& cabinets, int repeat);
