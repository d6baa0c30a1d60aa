#include "app/stages.h"

StartupStages& Stages() {
  static StartupStages stages;
  return stages;
}
