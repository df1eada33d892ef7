#include "link/channel/supported_drivers.h"

#include <cstring>

namespace {

struct SupportedDriver {
    const char* name;
    ModelCode model;
};

// The drivers of the two models, as their installers name them. The "N"
// drivers are the network variants of the same printers.
const SupportedDriver kSupportedDrivers[] = {
    {"KOA koa2600Max-R(0mm)", ModelKoa2600MaxR},   {"KOA koa2600Max-R(8.5mm)", ModelKoa2600MaxR},
    {"KOA koa2600Max-RN", ModelKoa2600MaxR},       {"KOA koa2400Max-R(0mm)", ModelKoa2400MaxR},
    {"KOA koa2400Max-R(8.5mm)", ModelKoa2400MaxR}, {"KOA koa2400Max-RN", ModelKoa2400MaxR},
};

}  // namespace

ModelCode ModelFromDriver(const char* driverName) {
    if (!driverName) return ModelUnsupported;
    for (const SupportedDriver& driver : kSupportedDrivers)
        if (std::strcmp(driverName, driver.name) == 0) return driver.model;
    return ModelUnsupported;
}
