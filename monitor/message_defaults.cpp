#include "monitor/message_defaults.h"

#include "monitor/registry_values.h"

const MessageDefault MessageDefaults[] = {
    {"RST_DVD", "999", 0},
    {"PRT_NAME", "  ", 0},
    {"ERR_CODE", "0000", 0},
    {"USR_NAME", "  ", 0},
    {"DOC_NAME", "  ", 0},
    {"CAL_MODE", "0", 0},
    {"JOB_ID", "5", 0},
    {"DSP_MODE", "2", 0},
    {"PSV_HOST", "  ", 0},
    {"PSV_PORT", "  ", 0},
    {"PRT_HALT", "1", 0},
    {"LM_JOB_CANCEL", "RQ_NORMAL", 0},
    {"HEAD_SPAN", nullptr, 0},
    {"RIBBON_SPAN", nullptr, 0},
    {"CSF_FRONT", nullptr, 100},
    {"CSF_REAR", nullptr, 100},
    {"RST_DVD", "0", 0},
};
const std::size_t MessageDefaultCount = sizeof MessageDefaults / sizeof MessageDefaults[0];

bool WriteMessageDefaults(HKEY slot) {
    for (const MessageDefault& value : MessageDefaults) {
        const bool written = value.text ? SetStringValue(slot, value.name, value.text)
                                        : SetByteValue(slot, value.name, value.byte);
        if (!written) return false;
    }
    return true;
}
