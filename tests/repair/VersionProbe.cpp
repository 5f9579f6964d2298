// Exits with 1 when CRepairTask::IsSupportedSystem accepts the system it runs on, else 0.
#include "repair/CRepairTask.h"

int wmain() { return CRepairTask().IsSupportedSystem() ? 1 : 0; }
