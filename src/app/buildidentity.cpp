#include "app/buildidentity.h"

#include <string_view>

#include "session/log.h"
#include "session/textids.h"
#include "sys/paths.h"

namespace {
constexpr std::string_view kGenericDistributionName = "HalomirPlandrix.exe";
}  // namespace

bool IsGenericBuild() { return sys::EqualsNoCase(LoadText(text::kDistributionFileName), kGenericDistributionName); }

std::string BuildLine() { return LoadText(text::kBuildProductLine); }
