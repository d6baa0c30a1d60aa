#pragma once
// Asking for the rest of a body, and knowing the site's reply to be exactly that rest.
#include <cstdint>
#include <string>

// The request line that asks for the bytes from `from` to the end, CR LF included.
std::string RangeRequestLine(uint64_t from);

// True when a Content-Range text says the reply holds the bytes from `from` to the
// last one of a body of `total` bytes: "bytes from-(total-1)/total". Anything else (a
// range that starts elsewhere, stops short, or belongs to another length) is not the
// rest of the body already on disk.
bool IsRestOfBody(const std::string& contentRange, uint64_t from, uint64_t total);
