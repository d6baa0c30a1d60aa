#include "updaterun/runrecords.h"

#include "install/createdfolders.h"
#include "install/placementstate.h"
#include "install/prerequisites.h"
#include "install/registeratlogon.h"
#include "platform/services.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/progressstate.h"
#include "session/session.h"
#include "transfer/sitesession.h"
#include "transfer/transferstatistics.h"
#include "updaterun/runstate.h"

void ResetRunRecords() {
  ResetSessionState();
  StartNewLog();
  ResetProgressState();
  Places() = KnownPlaces{};
  ResetSiteState();
  ResetTransferStatistics();
  Placement() = PlacementState{};  // the volume facts too, unlike between two runs
  StartInUseList();
  ResetCreatedFolderCounter();
  ResetRunOnceCounter();
  Prerequisites() = PrerequisiteProbes{};
  StartedServices() = ServiceGuards{};
  UpdateRun().reregistrationList.Release();
  UpdateRun() = UpdateRunState{};
}
