#include "productline/folderkey.h"

#include <algorithm>

std::string FolderKey(std::string_view folder) {
  std::string key(folder);
  std::replace(key.begin(), key.end(), '\\', '-');
  return key;
}
