#pragma once
// The uninstall as the installed-programs entry starts it (/UNINSTALL:): the
// confirmation, the run behind the progress window, the closing message.
#include <string>
#include <string_view>

struct UninstallNames {
  std::string product;  // the confirmation's and the closing message's caption
  std::string title;    // the progress window's caption
};
// The generic build names the web products by their own names; every other build uses
// its string table. `distributionName` is the build's program file name.
UninstallNames ChooseUninstallNames(std::string_view productLine, std::string_view distributionName);

// The whole interactive uninstall; a silent one asks nothing and says nothing.
void RunUninstallEntry();
