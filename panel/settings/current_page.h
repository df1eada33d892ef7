#pragma once

// Stores the selections of the setting page on screen into CurrentSettings.
void CollectCurrentPage();

// Makes the setting page on screen show CurrentSettings again.
void RefreshCurrentPage();
