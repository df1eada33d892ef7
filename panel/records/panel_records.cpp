#include "panel/records/panel_records.h"

#include <windows.h>

#include "common/memory.h"
#include "link/channel/printer_link.h"

SettingsRecord* CurrentSettings;
SettingsRecord* ReceivedSettings;
ConsumablesCounters* Counters;
std::uint32_t* DetectedModel;
unsigned char* PrinterVersion;
bool CancelPending;
HWND MainWindow;
ConsumablesWindowSet ConsumablesWindows;

namespace {

template <typename T>
bool Allocate(T** record, std::size_t size) {
    long error = 0;
    *record = static_cast<T*>(AllocBlock(size, &error));
    return *record != nullptr;
}

template <typename T>
void Free(T** record) {
    FreeBlock(*record);
    *record = nullptr;
}

}  // namespace

bool AllocateGlobals() {
    const bool ok = Allocate(&CurrentSettings, sizeof(SettingsRecord)) &&
                    Allocate(&ReceivedSettings, sizeof(SettingsRecord)) &&
                    Allocate(&Counters, sizeof(ConsumablesCounters)) && Allocate(&DetectedModel, 4) &&
                    Allocate(&PrinterVersion, 12);
    if (!ok) ReleaseGlobals();
    return ok;
}

void ReleaseGlobals() {
    Free(&CurrentSettings);
    Free(&ReceivedSettings);
    Free(&Counters);
    Free(&DetectedModel);
    Free(&PrinterVersion);
    ClosePrinterLink();
}
