#pragma once
// Where a published release lives below the site folder, shared by the publisher
// (which writes it) and the server (which answers from it):
//
//   SITEDIR/<assortment>/<release>/filelist.lst   records every request gets
//                                  help.lst       records added when help is asked for
//                                  demo.lst       records added when the demo company is asked for
//                                  items/<item code>   the transferred bytes (a cabinet)
//                                  filelist[-help][-demo].sig   the signature of each list reply,
//                                                 when the release is signed
//
// Names that come from outside (query values, options) must pass IsSiteToken before
// they become part of a path.
#include <string>
#include <string_view>

namespace site {

enum class Group { Base, Help, Demo };

constexpr const char* kItemsFolder = "items";

const char* ListFileName(Group group);
// The signature of the list reply with the groups asked for.
std::string SignatureFileName(bool help, bool demo);

// 1..maxLength characters of letters, digits, '_', '-', '+' and '.', not starting
// with '.': no separators, no "..", no drive letters.
bool IsSiteToken(std::string_view text, size_t maxLength);

}  // namespace site
