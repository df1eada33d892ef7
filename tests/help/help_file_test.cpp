// The help file as it was built: listed and unpacked with chmls, and read
// against the tables the programs are built from. Texts are code page 932
// on both sides (the help file stores them so, and this file is compiled
// with -fexec-charset=CP932 like the tables).
#include <gtest/gtest.h>

#include <iconv.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "monitor/core/status_rules.h"
#include "panel/core/page_layout.h"
#include "panel/core/setting_items.h"

namespace {

namespace fs = std::filesystem;

const char* const kSettingPages[PageCount] = {"settings_hardware.htm", "settings_sheets.htm", "settings_forms.htm",
                                              "settings_other.htm"};

// Every topic of the help file: one for each window of the two programs.
const char* const kTopics[] = {
    "index.htm",         "choice.htm",           "main_window.htm",       "settings_hardware.htm",
    "settings_sheets.htm", "settings_forms.htm", "settings_other.htm",    "settings_files.htm",
    "factory_values.htm", "consumables.htm",     "consumables_detail.htm", "monitor.htm",
    "monitor_status.htm", "lan.htm",             "install.htm",
};

std::string Output(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
    return output;
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

// The values of one sitemap parameter ("Local", "Name") in a contents or
// index file, in order.
std::vector<std::string> Params(const std::string& sitemap, const std::string& name) {
    std::vector<std::string> values;
    const std::string key = "<param name=\"" + name + "\" value=\"";
    for (std::size_t at = sitemap.find(key); at != std::string::npos; at = sitemap.find(key, at + 1)) {
        const std::size_t start = at + key.size();
        values.push_back(sitemap.substr(start, sitemap.find('"', start) - start));
    }
    return values;
}

class HelpFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::error_code ignored;
        fs::remove_all(KOA_HELP_EXTRACT, ignored);
        fs::create_directories(KOA_HELP_EXTRACT);
        Output(std::string(KOA_CHMLS) + " extractall " + Quoted(KOA_HELP_FILE) + " " + Quoted(KOA_HELP_EXTRACT) +
            " >/dev/null 2>&1");
    }

    static std::string Topic(const std::string& name) { return ReadAll(fs::path(KOA_HELP_EXTRACT) / name); }

    // The part of a setting page from the item's anchor to the next item.
    static std::string ItemSection(const std::string& page, int item) {
        const std::string anchor = "<a name=\"item-" + std::to_string(item) + "\">";
        const std::size_t start = page.find(anchor);
        if (start == std::string::npos) return "";
        const std::size_t end = page.find("<a name=\"item-", start + anchor.size());
        return page.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
};

TEST_F(HelpFile, ListsEveryTopicWithItsContentsIndexAndStyle) {
    const std::string listing = Output(std::string(KOA_CHMLS) + " -n -p list " + Quoted(KOA_HELP_FILE));
    std::set<std::string> files;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line))
        if (!line.empty() && line[0] == '/' && line.find('#') == std::string::npos) files.insert(line.substr(1));
    for (const char* topic : kTopics) EXPECT_TRUE(files.count(topic)) << topic << " is not in the help file";
    for (const char* other : {"veldra6.hhc", "veldra6.hhk", "style.css"})
        EXPECT_TRUE(files.count(other)) << other << " is not in the help file";
    std::size_t pages = 0;
    for (const std::string& file : files) pages += file.size() > 4 && file.substr(file.size() - 4) == ".htm";
    EXPECT_EQ(pages, std::size(kTopics)) << "a topic that this test does not know";
}

TEST_F(HelpFile, OpensAtItsDefaultTopicUnderItsJapaneseTitle) {
    const std::string system = Output(std::string(KOA_CHMLS) + " -p printsystem " + Quoted(KOA_HELP_FILE));
    EXPECT_NE(system.find("Default topic from [options]  :index.htm"), std::string::npos) << system;
    EXPECT_NE(system.find("Title from [options]          :KOA koa2400Max-R/koa2600Max-R リモートパネル ヘルプ"),
              std::string::npos);
    EXPECT_NE(system.find("LCID from HHP file                : 1041"), std::string::npos);
    const std::string windows = Output(std::string(KOA_CHMLS) + " -p printwindows " + Quoted(KOA_HELP_FILE));
    EXPECT_NE(windows.find("Title Bar Text                            : KOA koa2400Max-R/koa2600Max-R リモートパネル ヘルプ"),
              std::string::npos)
        << windows;
    EXPECT_NE(windows.find("Default File                              : index.htm"), std::string::npos);
    // The viewer shows its contents pane: it has a width.
    EXPECT_EQ(windows.find("Width of the navigation pane in pixels    : 00000000"), std::string::npos);
}

TEST_F(HelpFile, ContentsAndIndexLeadToTopicsAndAnchorsThatExist) {
    const std::string contents = Topic("veldra6.hhc");
    const std::string index = Topic("veldra6.hhk");
    std::set<std::string> inContents;
    for (const std::string* sitemap : {&contents, &index}) {
        const std::vector<std::string> locals = Params(*sitemap, "Local");
        EXPECT_EQ(locals.size(), Params(*sitemap, "Name").size());
        for (const std::string& local : locals) {
            const std::string file = local.substr(0, local.find('#'));
            const std::string topic = Topic(file);
            ASSERT_FALSE(topic.empty()) << local << ": no such topic";
            if (local.find('#') != std::string::npos) {
                EXPECT_NE(topic.find("<a name=\"" + local.substr(local.find('#') + 1) + "\""), std::string::npos)
                    << local << ": no such anchor";
            }
            if (sitemap == &contents) inContents.insert(file);
        }
    }
    for (const char* topic : kTopics) EXPECT_TRUE(inContents.count(topic)) << topic << " is not in the contents";
    EXPECT_EQ(Params(contents, "Name").front(), "はじめに");
}

TEST_F(HelpFile, SettingPagesShowEveryItemWithEveryValueAndTheFactoryValue) {
    int items = 0;
    for (int page = 0; page < PageCount; ++page) {
        const std::string html = Topic(kSettingPages[page]);
        ASSERT_FALSE(html.empty()) << kSettingPages[page];
        for (int r = 0; r < PageRowCount(page); ++r) {
            const int item = PageRows(page)[r].recordByte;
            const std::string section = ItemSection(html, item);
            ASSERT_FALSE(section.empty()) << kSettingPages[page] << ": item " << item << " (" << SettingTitle(item)
                                          << ") missing";
            // The values in list order, the factory one in bold.
            std::size_t at = 0;
            for (int v = 0; v < SettingValueCount(item); ++v) {
                const std::string text = Escape(SettingDisplayText(item, v));
                const std::string shown = v == SettingItems[item].factory
                                              ? "<b class=\"factory\">" + text + "</b>"
                                              : "<span class=\"value\">" + text + "</span>";
                const std::size_t found = section.find(shown, at);
                ASSERT_NE(found, std::string::npos)
                    << SettingTitle(item) << ": value " << v << " \"" << text << "\" missing or out of order";
                at = found + shown.size();
            }
            const std::string valueMark = "class=\"value\">";
            std::size_t shownValues = 0;
            for (std::size_t p = section.find(valueMark); p != std::string::npos; p = section.find(valueMark, p + 1))
                ++shownValues;
            EXPECT_EQ(shownValues + 1, static_cast<std::size_t>(SettingValueCount(item))) << SettingTitle(item);
            ++items;
        }
    }
    EXPECT_EQ(items, SettingCount);
}

TEST_F(HelpFile, TheFormsPageSaysWhichAdjustmentsAreGreyed) {
    const std::string html = Topic(kSettingPages[PageForms]);
    int count = 0;
    const GreyingRule* rules = PageGreyingRules(PageForms, &count);
    ASSERT_GT(count, 0);
    for (int i = 0; i < count; ++i) {
        const std::string section = ItemSection(html, rules[i].adjustmentByte);
        EXPECT_NE(section.find("灰色"), std::string::npos) << SettingTitle(rules[i].adjustmentByte);
        EXPECT_NE(section.find(Escape(SettingDisplayText(rules[i].detectionByte, 0))), std::string::npos);
    }
}

TEST_F(HelpFile, FactoryValuesTopicGivesEveryItemsFactoryValue) {
    const std::string html = Topic("factory_values.htm");
    for (int item = 0; item < SettingCount; ++item) {
        const std::string anchor = "<a name=\"item-" + std::to_string(item) + "\"";
        const std::size_t row = html.find(anchor);
        ASSERT_NE(row, std::string::npos) << SettingTitle(item);
        const std::string cell =
            "</a></td><td>" + Escape(SettingDisplayText(item, SettingItems[item].factory)) + "</td></tr>";
        EXPECT_EQ(html.find(cell, row), html.find("</a></td><td>", row)) << SettingTitle(item);
    }
}

TEST_F(HelpFile, StatusTopicShowsEveryStatusTextOfTheMonitor) {
    const std::string html = Topic("monitor_status.htm");
    std::size_t anchors = 0;
    for (int g = 0; g < StatusGroupCount; ++g) {
        const StatusGroup& group = StatusTableGroup(g);
        for (std::size_t r = 0; r < group.count; ++r) {
            const StatusEntry& entry = group.rows[r];
            std::string title = entry.text;
            title = title.substr(0, title.find("\r\n"));
            for (const char* format : {"%04d", "%4d"}) {
                const std::size_t at = title.find(format);
                if (at != std::string::npos) title.replace(at, std::strlen(format), "nnnn");
            }
            if (entry.code == 9999) {
                // The texts of the codes without a row, each once.
                EXPECT_NE(html.find("<h3>" + Escape(title) + "</h3>"), std::string::npos) << title;
                continue;
            }
            char anchor[32];
            std::snprintf(anchor, sizeof anchor, "<a name=\"status-%04d\">", entry.code);
            const std::size_t start = html.find(anchor);
            ASSERT_NE(start, std::string::npos) << title;
            EXPECT_EQ(html.find(Escape(title) + "</a></h3>", start), start + std::strlen(anchor)) << title;
            ++anchors;
            if (entry.ignored) continue;
            // Every line of the text is there, the wrapped ones joined up.
            std::string text = entry.text;
            for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n")) {
                text.erase(at, 2);
                while (at < text.size() && text[at] == ' ') text.erase(at, 1);
            }
            const std::string body = html.substr(start, html.find("<h3>", start + 1) - start);
            std::string bodyText;
            bool inTag = false;
            for (char c : body) {
                if (c == '<') inTag = true;
                else if (c == '>') inTag = false;
                else if (!inTag && c != '\r' && c != '\n') bodyText += c;
            }
            EXPECT_NE(bodyText.find(Escape(text.substr(title.size()))), std::string::npos) << title;
        }
    }
    // No other status is described.
    std::size_t described = 0;
    for (std::size_t at = html.find("<a name=\"status-"); at != std::string::npos;
         at = html.find("<a name=\"status-", at + 1))
        ++described;
    EXPECT_EQ(described, anchors);
}

TEST_F(HelpFile, EverySettingItemIsInTheIndex) {
    const std::string index = Topic("veldra6.hhk");
    const std::vector<std::string> locals = Params(index, "Local");
    const std::set<std::string> targets(locals.begin(), locals.end());
    for (int page = 0; page < PageCount; ++page)
        for (int r = 0; r < PageRowCount(page); ++r)
            EXPECT_TRUE(targets.count(std::string(kSettingPages[page]) + "#item-" +
                                      std::to_string(PageRows(page)[r].recordByte)))
                << SettingTitle(PageRows(page)[r].recordByte);
}

TEST_F(HelpFile, EveryTopicIsShiftJisAndSaysSo) {
    iconv_t conversion = iconv_open("UTF-16LE", "CP932");
    ASSERT_NE(conversion, reinterpret_cast<iconv_t>(-1));
    std::vector<std::string> files(std::begin(kTopics), std::end(kTopics));
    files.push_back("veldra6.hhc");
    files.push_back("veldra6.hhk");
    for (const std::string& name : files) {
        std::string bytes = Topic(name);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_NE(bytes.find("charset=Shift_JIS"), std::string::npos) << name;
        EXPECT_EQ(bytes.find("charset=UTF-8"), std::string::npos) << name;
        std::string out(bytes.size() * 2 + 2, '\0');
        char* in = &bytes[0];
        std::size_t inLeft = bytes.size();
        char* outNext = &out[0];
        std::size_t outLeft = out.size();
        iconv(conversion, nullptr, nullptr, nullptr, nullptr);
        EXPECT_NE(iconv(conversion, &in, &inLeft, &outNext, &outLeft), static_cast<std::size_t>(-1))
            << name << ": not code page 932 at byte " << (bytes.size() - inLeft);
        EXPECT_EQ(bytes.find("<!--generated:"), std::string::npos) << name;
    }
    iconv_close(conversion);
}

}  // namespace
