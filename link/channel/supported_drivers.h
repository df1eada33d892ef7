// The printer drivers both programs work with, and the model each stands
// for. Portable: no platform headers.
#pragma once

#include "link/channel/model_code.h"

// The model a driver name stands for; the name must equal one of the
// supported drivers exactly (case, blanks and all). Anything else, null
// included, is ModelUnsupported.
ModelCode ModelFromDriver(const char* driverName);

inline bool IsSupportedDriver(const char* driverName) { return ModelFromDriver(driverName) != ModelUnsupported; }
