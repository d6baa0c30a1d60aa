#include "install/prerequisites.h"

namespace {
PrerequisiteProbes probes;
}

PrerequisiteProbes& Prerequisites() { return probes; }
