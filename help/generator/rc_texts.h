// The texts of the remote panel's resource scripts that the help pages
// repeat: the setting pages' labels and group boxes, the tab captions and
// the tooltips (the description of each setting item). Read from the
// scripts themselves (UTF-8), so that the help says what the windows say.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace helpgen {

struct ResourceTexts {
    // Control id of a label -> its text, code page 932, line breaks removed.
    std::map<int, std::string> labels;
    // Dialog name ("IDD_PAGE_SHEETS") -> its group boxes in script order.
    std::map<std::string, std::vector<std::string>> groups;
    // Tab caption by the name after IDS_TAB_ ("HARDWARE"), code page 932,
    // without its padding blanks.
    std::map<std::string, std::string> tabs;
    // String id -> tooltip text, code page 932.
    std::map<int, std::string> tooltips;
};

// Reads the pages script (labels, group boxes, tab captions) and the
// tooltips script. False with `error` set when a file cannot be read or a
// text cannot be stored in code page 932.
bool ReadResourceTexts(const std::string& pagesScript, const std::string& tooltipsScript, ResourceTexts* texts,
                       std::string* error);

// UTF-8 to code page 932; false for bytes that are not UTF-8 or characters
// that code page 932 lacks.
bool Utf8ToCp932(const std::string& utf8, std::string* cp932);

}  // namespace helpgen
