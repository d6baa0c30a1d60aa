#include "sitelayout.h"

namespace site {

const char* ListFileName(Group group) {
  switch (group) {
    case Group::Help: return "help.lst";
    case Group::Demo: return "demo.lst";
    case Group::Base: break;
  }
  return "filelist.lst";
}

std::string SignatureFileName(bool help, bool demo) {
  return std::string("filelist") + (help ? "-help" : "") + (demo ? "-demo" : "") + ".sig";
}

bool IsSiteToken(std::string_view text, size_t maxLength) {
  if (text.empty() || text.size() > maxLength || text.front() == '.') return false;
  for (char c : text) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                 c == '-' || c == '+' || c == '.';
    if (!plain) return false;
  }
  return true;
}

}  // namespace site
