#include "monitor/monitor_state.h"

#include <cstring>

#include "common/memory.h"

namespace {
const DWORD kFirstTextSize = 1024;
}

bool GrowBuffer(char** buffer, DWORD* bufferSize, DWORD size) {
    if (*buffer && *bufferSize >= size) return true;
    if (size > MaxMonitorBuffer) return false;
    long error = 0;
    char* grown = static_cast<char*>(AllocBlock(size, &error));
    if (!grown) return false;
    if (*buffer) FreeBlock(*buffer);
    *buffer = grown;
    *bufferSize = size;
    return true;
}

MonitorState* CreateMonitorState(HINSTANCE instance) {
    long error = 0;
    MonitorState* state = static_cast<MonitorState*>(AllocBlock(sizeof(MonitorState), &error));
    if (!state) return nullptr;
    state->instance = instance;
    if (!GrowBuffer(&state->text, &state->textSize, kFirstTextSize) ||
        !GrowBuffer(&state->scratch, &state->scratchSize, kFirstTextSize) || state->textSize == 0) {
        DestroyMonitorState(state);
        return nullptr;
    }
    return state;
}

void DestroyMonitorState(MonitorState* state) {
    if (!state) return;
    if (state->text) FreeBlock(state->text);
    if (state->scratch) FreeBlock(state->scratch);
    FreeBlock(state);
}
