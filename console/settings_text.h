// What the console tool makes of settings files, without the platform: the
// file's bytes checked, the settings shown and compared item by item, and
// the CSV form that administrators keep in version control. All text is
// code page 932 bytes, as the item table holds it. Portable.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "console/console_texts.h"
#include "panel/core/setting_items.h"

// A settings file is exactly the 109 bytes of a record. False (and *problem
// set) for any other length; the record is then left as it was.
bool RecordFromFile(const std::string& name, const std::string& bytes, SettingsRecord* record,
                    ConsoleLanguage language, std::string* problem);

// One line per item: name, title, "=", the value's text (or a note for a
// byte outside the list).
std::string ShowSettings(const SettingsRecord& record, ConsoleLanguage language);

// One line per item whose byte differs: name, title, A's text, "->", B's
// text; then a line with the count (or "no item differs"). *differing
// (when given) receives the count.
std::string DiffSettings(const SettingsRecord& a, const SettingsRecord& b, ConsoleLanguage language,
                         int* differing = nullptr);

// The problems of a file's bytes: its length, and every byte outside its
// item's list, one line each; empty when the file is sound.
std::vector<std::string> CheckSettingsFile(const std::string& bytes, ConsoleLanguage language);

// CSV, one line per item after the header "item,value,title,text": item
// keyword, value keyword (both without their padding), title and value
// text, fields quoted where they hold a comma or a quote, lines ended by
// LF. A byte outside the list is written with an empty value keyword,
// which import refuses.
extern const char CsvHeader[];
std::string ExportCsv(const SettingsRecord& record);

// Reads CSV as ExportCsv writes it (CRLF and a UTF-8 byte-order mark are
// taken too; the title and text columns are not read, so that a file
// re-encoded by an editor still imports). Every item must be given exactly
// once with a value of its list. False on the first problem, with *problem
// naming its line; *record is then left as it was.
bool ImportCsv(const std::string& text, SettingsRecord* record, ConsoleLanguage language, std::string* problem);
