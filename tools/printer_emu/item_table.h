// Loader of the emulator's item data file (printer_items.txt): named keyword
// lists, items with their factory keyword, and the compact forms that expand
// to the long generated lists. The format is described at the top of the
// data file and in tools/README.md.
#pragma once

#include <string>
#include <vector>

#include "tools/printer_emu/printer_emulator.h"

namespace printer_emu {

// Reads the whole table; on success replaces *items. On failure returns
// false and describes the first problem ("file:line: what") in *error.
// Checks: names and keywords 1..8 printable ASCII characters without blanks,
// names unique, keywords unique within an item, the factory keyword in the
// item's list, at most 255 keywords per item.
bool LoadItemTable(const std::string& path, std::vector<EmulatorItem>* items, std::string* error);

// The same for text already in memory; `origin` names it in error messages.
bool ParseItemTable(const std::string& text, const std::string& origin,
                    std::vector<EmulatorItem>* items, std::string* error);

// Expands one keyword token of the data file (plain keyword, {a..b} or
// {a..b:s} range, mm(a..b/d), smm(a..b/d)); named lists (@Name) are resolved
// by the table parser. Returns false with a reason on a malformed token.
bool ExpandKeywordToken(const std::string& token, std::vector<std::string>* out, std::string* error);

}  // namespace printer_emu
