#include "panel/settings/current_page.h"

// The setting pages do not exist yet: there is no page on screen to collect
// from or to refresh.
void CollectCurrentPage() {}
void RefreshCurrentPage() {}
