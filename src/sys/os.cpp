#include "sys/os.h"

namespace sys {

namespace {
Os installed;
}

Os& os() { return installed; }

void InstallOs(const Os& implementation) { installed = implementation; }

}  // namespace sys
