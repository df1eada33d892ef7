// The setting page on screen, as a read or a write sees it: a write first
// stores what the page shows, a read of the settings redraws it. The pages
// sit above the exchange, so they hand it these two calls when they come.
#pragma once

struct ShownPageCalls {
    void (*collect)();  // store the page's selections into CurrentSettings
    void (*refresh)();  // redraw the page from CurrentSettings
};

// Null members (or never set) do nothing.
void SetShownPageCalls(const ShownPageCalls& calls);

void CollectShownPage();
void RefreshShownPage();
