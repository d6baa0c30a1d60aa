#pragma once
// `cabexpand --list`: the header, each folder's method and each file.
#include <cstdint>
#include <string>

// Prints the listing to standard output; false (with a reason on standard error) when
// the cabinet cannot be read.
bool ListCabinet(const std::string& path);

// The total of the cabinet's file sizes (the bytes an expansion writes), or false.
bool CabinetOutputBytes(const std::string& path, uint64_t& bytes);
