#include "panel/exchange/shown_page.h"

namespace {
ShownPageCalls g_calls = {nullptr, nullptr};
}

void SetShownPageCalls(const ShownPageCalls& calls) { g_calls = calls; }

void CollectShownPage() {
    if (g_calls.collect) g_calls.collect();
}

void RefreshShownPage() {
    if (g_calls.refresh) g_calls.refresh();
}
