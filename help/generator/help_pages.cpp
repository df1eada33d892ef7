// Writes the pages of the help file that repeat the programs' own tables, so
// that the help and the programs cannot disagree:
//
//   settings_hardware.htm, settings_sheets.htm, settings_forms.htm,
//   settings_other.htm   every item of each setting page: its label, its
//                        description (the label's tooltip), every value of
//                        its list, the factory value marked
//   factory_values.htm   the factory value of all 109 items
//   monitor_status.htm   every status text of the status monitor, with what
//                        to do
//   veldra6.hhk          the index: the written entries of the template and
//                        one entry per setting item, sorted
//
// and converts the written topics from UTF-8 to code page 932, the code
// page the help viewer reads a Japanese help file in (their "charset=UTF-8"
// becomes "charset=Shift_JIS"). A written topic takes a generated table
// where it says <!--generated:NAME-->: "wear-texts" (the warnings under the
// consumables gauges), "counter-thresholds" (where each count turns red)
// and "alarm-list" (the texts of the alarm history).
//
//   helppages --out DIR --pages-rc FILE --tooltips-rc FILE --index FILE [FILE...]
//
// The files after the options are the written topics, contents and project
// file to convert. Exit 0 when every file is written, 1 otherwise (with the
// reason on stderr). Everything it writes is code page 932, as the tables
// hold their texts (the sources are compiled with -fexec-charset=CP932).
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "help/generator/rc_texts.h"
#include "monitor/core/status_rules.h"
#include "panel/core/consumables_rules.h"
#include "panel/core/consumables_texts.h"
#include "panel/core/page_layout.h"
#include "panel/core/setting_items.h"

namespace {

using helpgen::ResourceTexts;

struct PageInfo {
    const char* file;
    const char* tab;     // IDS_TAB_...
    const char* dialog;  // IDD_PAGE_...
    const char* intro;
};

const PageInfo kPages[PageCount] = {
    {"settings_hardware.htm", "HARDWARE", "IDD_PAGE_HARDWARE",
     "用紙の種類と給紙の方法、オートティアオフとカット、コマンドとメニューのどちらを優先するか、"
     "ブザーなど、プリンター本体の動作を設定します。"},
    {"settings_sheets.htm", "SHEETS", "IDD_PAGE_SHEETS",
     "単票（カット紙）の吸入位置、排出方向、用紙下端（PE）の検出、紙厚と微調整を、"
     "給紙口（前ASF、後ASF、手差し）ごとに設定します。"},
    {"settings_forms.htm", "FORMS", "IDD_PAGE_FORMS",
     "連帳（連続紙）の吸入位置、ページ長、用紙下端（PE）の検出と微調整を、"
     "トラクター（前連帳、後連帳）ごとに設定します。"},
    {"settings_other.htm", "OTHER", "IDD_PAGE_OTHER",
     "オフィスモード、コマンド機能（エミュレーション、文字コード、印字品位など）と、"
     "その他の動作（スタンバイモードなど）を設定します。"},
};

const char kHeadTemplate[] =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
    "<html>\r\n<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\r\n"
    "<title>%TITLE%</title>\r\n"
    "<link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\">\r\n"
    "</head>\r\n<body>\r\n";

const char kTail[] = "</body>\r\n</html>\r\n";

// '<', '>', '&' and '"' lie below 0x40, so they are never the second byte
// of a double-byte character: escaping byte by byte is safe in code page 932.
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Head(const std::string& title) {
    std::string head = kHeadTemplate;
    const std::size_t at = head.find("%TITLE%");
    head.replace(at, 7, Escape(title));
    return head;
}

bool WriteFile(const std::string& path, const std::string& bytes, std::string* error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

bool ReadFile(const std::string& path, std::string* bytes, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    std::ostringstream all;
    all << in.rdbuf();
    *bytes = all.str();
    return true;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ---- setting pages ------------------------------------------------------------

struct ItemText {
    std::string label;        // as the page shows it
    std::string description;  // the label's tooltip
    std::string group;        // the group box around it, or empty
};

bool ItemTexts(const ResourceTexts& texts, int page, const PageRow& row, ItemText* item, std::string* error) {
    const auto label = texts.labels.find(row.labelId);
    if (label == texts.labels.end()) {
        *error = "no label " + std::to_string(row.labelId) + " in the pages script";
        return false;
    }
    const auto tip = texts.tooltips.find(row.labelId);
    if (tip == texts.tooltips.end()) {
        *error = "no tooltip " + std::to_string(row.labelId) + " in the tooltips script";
        return false;
    }
    item->label = label->second;
    item->description = tip->second;
    item->group.clear();
    if (row.group > 0) {
        const auto groups = texts.groups.find(kPages[page].dialog);
        if (groups == texts.groups.end() || row.group > groups->second.size()) {
            *error = std::string("group ") + std::to_string(row.group) + " missing in " + kPages[page].dialog;
            return false;
        }
        item->group = groups->second[row.group - 1];
    }
    return true;
}

std::string PageTitle(const ResourceTexts& texts, int page) {
    const auto tab = texts.tabs.find(kPages[page].tab);
    return tab == texts.tabs.end() ? std::string() : tab->second;
}

// The values of `item`'s list in order, the factory value in bold.
std::string ValueList(int item) {
    std::string html = "<p class=\"values\">設定値：";
    const int count = SettingValueCount(item);
    for (int v = 0; v < count; ++v) {
        if (v > 0) html += "、";
        const std::string text = Escape(SettingDisplayText(item, v));
        if (v == SettingItems[item].factory)
            html += "<b class=\"factory\">" + text + "</b>（工場出荷値）";
        else
            html += "<span class=\"value\">" + text + "</span>";
    }
    return html + "</p>\r\n";
}

// The forms page greys a fine adjustment while its detection is not at the
// first value of its list.
std::string GreyingNote(const ResourceTexts& texts, int page, int recordByte) {
    int count = 0;
    const GreyingRule* rules = PageGreyingRules(page, &count);
    for (int i = 0; i < count; ++i) {
        if (rules[i].adjustmentByte != recordByte) continue;
        const PageRow* detection = FindPageRow(page, rules[i].detectionByte);
        if (!detection) continue;
        const auto label = texts.labels.find(detection->labelId);
        const std::string name = label == texts.labels.end() ? "" : label->second;
        return "<p class=\"note\">同じグループの「" + Escape(name) + "」が「" +
               Escape(SettingDisplayText(rules[i].detectionByte, 0)) +
               "」以外の時は、この項目は灰色になり選べません（設定値はそのまま保たれ、プリンターへも送られます）。</p>\r\n";
    }
    return "";
}

struct IndexEntry {
    std::string name;   // code page 932
    std::string local;  // file#anchor
};

bool WriteSettingPage(const ResourceTexts& texts, int page, const std::string& outDir, std::vector<IndexEntry>* index,
                      std::string* error) {
    const std::string title = PageTitle(texts, page);
    if (title.empty()) {
        *error = std::string("no tab caption IDS_TAB_") + kPages[page].tab;
        return false;
    }
    std::string html = Head(title + "ページ");
    html += "<h1>" + Escape(title) + "ページ</h1>\r\n";
    html += std::string("<p>") + kPages[page].intro + "</p>\r\n";
    html +=
        "<p>各項目の値は一覧から選びます。<b>太字</b>が工場出荷時の値です。"
        "項目名の上にマウスポインターを置くと、同じ説明がツールチップに表示されます。"
        "変更した値は、[確定]ボタン（または「設定(S)」メニューの「設定内容の確定」）で"
        "プリンターに書き込むまで、プリンターには反映されません。</p>\r\n";
    std::string group;
    for (int r = 0; r < PageRowCount(page); ++r) {
        const PageRow& row = PageRows(page)[r];
        ItemText item;
        if (!ItemTexts(texts, page, row, &item, error)) return false;
        if (item.group != group) {
            group = item.group;
            html += "<h2>" + Escape(group) + "</h2>\r\n";
        }
        const std::string anchor = "item-" + std::to_string(row.recordByte);
        html += "<h3><a name=\"" + anchor + "\">" + Escape(item.label) + "</a></h3>\r\n";
        html += "<p>" + Escape(item.description) + "</p>\r\n";
        html += ValueList(row.recordByte);
        html += GreyingNote(texts, page, row.recordByte);
        index->push_back({group.empty() ? item.label : item.label + "（" + group + "）",
                          std::string(kPages[page].file) + "#" + anchor});
    }
    html += "<p class=\"seealso\">関連項目：<a href=\"main_window.htm\">メインウィンドウとメニュー</a>、"
            "<a href=\"factory_values.htm\">工場出荷時の設定値</a>、"
            "<a href=\"settings_files.htm\">設定ファイル</a></p>\r\n";
    html += kTail;
    index->push_back({title + "ページ", kPages[page].file});
    return WriteFile(outDir + "/" + kPages[page].file, html, error);
}

bool WriteFactoryValues(const ResourceTexts& texts, const std::string& outDir, std::vector<IndexEntry>* index,
                        std::string* error) {
    std::string html = Head("工場出荷時の設定値");
    html += "<h1>工場出荷時の設定値</h1>\r\n";
    html +=
        "<p>「ファイル(F)」メニューの「初期値読込み(I)」（Alt+I）は、次の値を四つの設定ページに読み込みます。"
        "プリンターにはまだ書き込まれません。確かめてから[確定]ボタンでプリンターに書き込んでください。"
        "起動時にプリンターから設定を読み込めず[無視]を選んだ時に一時設定ファイルが無い場合も、この値で始まります。</p>\r\n";
    for (int page = 0; page < PageCount; ++page) {
        const std::string title = PageTitle(texts, page);
        html += "<h2><a href=\"" + std::string(kPages[page].file) + "\">" + Escape(title) + "ページ</a></h2>\r\n";
        html += "<table class=\"factory\">\r\n<tr><th>項目</th><th>工場出荷値</th></tr>\r\n";
        for (int r = 0; r < PageRowCount(page); ++r) {
            const PageRow& row = PageRows(page)[r];
            ItemText item;
            if (!ItemTexts(texts, page, row, &item, error)) return false;
            const std::string name = item.group.empty() ? item.label : item.group + "：" + item.label;
            html += "<tr><td><a name=\"item-" + std::to_string(row.recordByte) + "\" href=\"" + kPages[page].file +
                    "#item-" + std::to_string(row.recordByte) + "\">" + Escape(name) + "</a></td><td>" +
                    Escape(SettingDisplayText(row.recordByte, SettingItems[row.recordByte].factory)) +
                    "</td></tr>\r\n";
        }
        html += "</table>\r\n";
    }
    html += kTail;
    index->push_back({"工場出荷時の設定値", "factory_values.htm"});
    index->push_back({"初期値読込み", "factory_values.htm"});
    return WriteFile(outDir + "/factory_values.htm", html, error);
}

// ---- status monitor -----------------------------------------------------------

const char* IconKind(unsigned icon) {
    switch (icon) {
        case StatusIconReady: return "正常";
        case StatusIconInfo: return "情報";
        case StatusIconWarning: return "警告";
        case StatusIconError: return "エラー";
        case StatusIconAlarm: return "アラーム";
    }
    return "";
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return lines;
        start = end + 2;
    }
}

// The code in a formatted text is shown as "nnnn".
std::string WithoutFormat(const std::string& text) {
    std::string out = text;
    for (const char* format : {"%04d", "%4d"}) {
        for (std::size_t at = out.find(format); at != std::string::npos; at = out.find(format))
            out.replace(at, std::strlen(format), "nnnn");
    }
    return out;
}

// The last character of a code page 932 text (one or two bytes), found by
// walking from the start: a second byte may look like anything.
std::string LastCharacter(const std::string& text) {
    std::size_t i = 0, last = 0;
    while (i < text.size()) {
        last = i;
        const unsigned char c = static_cast<unsigned char>(text[i]);
        i += ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && i + 1 < text.size() ? 2 : 1;
    }
    return text.substr(last);
}

bool StartsWith(const std::string& text, const char* prefix) { return text.compare(0, std::strlen(prefix), prefix) == 0; }

// The body of a status text as paragraphs. The monitor wraps its lines at
// 24 characters, indenting the continuation of a step or note by blanks and
// a description's not at all: a line joins the one before unless it starts
// a step ("１．"), a note ("注）"), an item ("・") or the steps' heading, or
// the line before ended its sentence.
std::string StatusBody(const std::vector<std::string>& lines) {
    std::vector<std::string> paragraphs;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t first = line.find_first_not_of(' ');
        if (first == std::string::npos) continue;
        const std::string text = line.substr(first);
        const std::string digit = text.substr(0, 2);
        const bool starts = StartsWith(text, "・") || StartsWith(text, "注）") || StartsWith(text, "《") ||
                            (digit >= "０" && digit <= "９" && StartsWith(text.substr(2), "．"));
        bool join = !paragraphs.empty() && !starts;
        if (join && first == 0) {
            const std::string end = LastCharacter(paragraphs.back());
            join = end != "。" && end != "？" && end != "！" && end != "》";
        }
        if (join)
            paragraphs.back() += text;
        else
            paragraphs.push_back(text);
    }
    std::string html;
    for (const std::string& p : paragraphs) {
        const bool heading = p == "《操作手順》";
        html += heading ? "<p class=\"steps\">" + Escape(p) + "</p>\r\n" : "<p>" + Escape(p) + "</p>\r\n";
    }
    return html;
}

std::string StatusCodeText(int code) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04d", code);
    return digits;
}

bool WriteMonitorStatus(const std::string& outDir, std::vector<IndexEntry>* index, std::string* error) {
    std::string html = Head("ステータスモニターの表示");
    html += "<h1>ステータスモニターの表示と対処</h1>\r\n";
    html +=
        "<p>ステータスモニターの「ﾌﾟﾘﾝﾀｰｽﾃｰﾀｽ」タブには、プリンターの状態が次の文で表示されます。"
        "角かっこ［ ］の中の4桁の数字が状態コードです。"
        "《操作手順》のあるものは、その手順に従ってください。"
        "アイコンの種類は、通知領域（タスクトレイ）のアイコンと同じです。</p>\r\n"
        "<p>ヘッドやリボンの交換時期が近い時は、状態の文の前に「印字ヘッド交換準備をしてください。」などの"
        "注意が付きます（「消耗品情報」タブにも表示されます）。</p>\r\n";
    std::set<std::string> fallbacks;
    std::string fallbackHtml;
    for (int g = 0; g < StatusGroupCount; ++g) {
        const StatusGroup& group = StatusTableGroup(g);
        for (std::size_t r = 0; r < group.count; ++r) {
            const StatusEntry& entry = group.rows[r];
            const std::vector<std::string> lines = SplitLines(WithoutFormat(entry.text));
            if (entry.code == 9999) {
                if (!fallbacks.insert(entry.text).second) continue;
                fallbackHtml += "<h3>" + Escape(lines[0]) + "</h3>\r\n";
                fallbackHtml += std::string("<p class=\"kind\">アイコン：") + IconKind(entry.icon) + "</p>\r\n";
                fallbackHtml += StatusBody(lines);
                continue;
            }
            const std::string anchor = "status-" + StatusCodeText(entry.code);
            if (entry.ignored) {
                html += "<h3><a name=\"" + anchor + "\">" + Escape(lines[0]) + "</a></h3>\r\n";
                html += "<p>予約済みのコードです。表示は変わりません。</p>\r\n";
                continue;
            }
            html += "<h3><a name=\"" + anchor + "\">" + Escape(lines[0]) + "</a></h3>\r\n";
            html += std::string("<p class=\"kind\">アイコン：") + IconKind(entry.icon) +
                    (IsSevereCode(entry.code) ? "（重大なエラー：[OK]ボタンは使えません。）" : "") + "</p>\r\n";
            html += StatusBody(lines);
            std::string title = lines[0];
            const std::size_t open = title.find('[');
            const std::size_t close = title.rfind(']');
            if (open != std::string::npos && close != std::string::npos && close > open) {
                title = title.substr(open + 1, close - open - 1);
                const std::size_t blank = title.find(' ');
                if (blank != std::string::npos && blank == 4) title = title.substr(5) + "（" + title.substr(0, 4) + "）";
            }
            index->push_back({title, "monitor_status.htm#" + anchor});
        }
    }
    html += "<h2>一覧にない状態コード</h2>\r\n"
            "<p>上の一覧にない状態コードは、その範囲によって次のどれかで表示されます（nnnn は状態コード）。</p>\r\n";
    html += fallbackHtml;
    html += "<p class=\"seealso\">関連項目：<a href=\"monitor.htm\">ステータスモニター</a></p>\r\n";
    html += kTail;
    index->push_back({"状態コード", "monitor_status.htm"});
    return WriteFile(outDir + "/monitor_status.htm", html, error);
}

// ---- tables inside written topics ------------------------------------------------

std::string WithoutLineBreaks(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p)
        if (*p != '\n' && *p != '\r') out += *p;
    return out;
}

std::string Number(unsigned long long value) {
    std::string digits = std::to_string(value), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string WearTexts() {
    std::string html = "<table>\r\n<tr><th>レベル</th><th>印字ヘッド</th><th>リボン</th></tr>\r\n";
    const int levels[] = {WearWarningLevel, WearReplaceLevel};
    for (std::size_t i = 0; i < 2; ++i) {
        const int level = levels[i];
        const std::string range = i == 0 ? std::to_string(level) + "～" + std::to_string(levels[1] - 1)
                                         : std::to_string(level) + "以上";
        html += "<tr><td>" + range + "</td><td>" + Escape(WithoutLineBreaks(HeadWearText(level))) + "</td><td>" +
                Escape(WithoutLineBreaks(RibbonWearText(level))) + "</td></tr>\r\n";
    }
    html += "</table>\r\n<p>印字ヘッドのレベルは最も多く打たれたピンの打数÷" + Number(HeadWearDivisor) +
            "、リボンのレベルはリボン寿命カウンター÷" + Number(RibbonWearDivisor) + "です。</p>\r\n";
    return html;
}

const char* CounterName(CounterField field) {
    switch (field) {
        case FieldPrintedLines: return "印字行数（行）";
        case FieldRibbonLife: return "リボン寿命（文字）";
        case FieldPowerOnTime: return "電源オン時間（時間）";
        case FieldThicknessCount: return "紙厚検出回数（回）";
        case FieldPlatenFeeds: return "プラテン改行数（行）";
        case CounterFieldCount: break;
    }
    return "";
}

std::string CounterThresholds() {
    std::string html = "<table>\r\n<tr><th>カウンター</th><th>背景が赤になる値</th></tr>\r\n";
    const CounterFieldRule* rules = CounterFieldRules();
    for (int i = 0; i < CounterFieldCount; ++i) {
        html += std::string("<tr><td>") + CounterName(rules[i].field) + "</td><td>" +
                Number(static_cast<unsigned long long>(rules[i].divisor) * WearWarningLevel) + " 以上</td></tr>\r\n";
    }
    html += "<tr><td>ヘッドピン（打）</td><td>" +
            Number(static_cast<unsigned long long>(HeadWearDivisor) * WearWarningLevel) + " 以上</td></tr>\r\n";
    return html + "</table>\r\n";
}

// Neighbouring codes with the same text are one row ("48～4F"); every code
// past the table reads as the last row says.
std::string AlarmList() {
    std::string html = "<table>\r\n<tr><th>アラームコード（16進）</th><th>表示</th></tr>\r\n";
    auto row = [&](unsigned first, unsigned last) {
        char codes[32];
        if (first == last) std::snprintf(codes, sizeof codes, "%02X", first);
        else std::snprintf(codes, sizeof codes, "%02X～%02X", first, last);
        html += std::string("<tr><td>") + codes + "</td><td>" + Escape(AlarmText(first)) + "</td></tr>\r\n";
    };
    row(0, 0);
    unsigned first = FirstAlarmCode;
    for (unsigned code = FirstAlarmCode + 1; code <= LastAlarmCode + 1u; ++code) {
        if (code > LastAlarmCode || std::strcmp(AlarmText(code), AlarmText(first)) != 0) {
            row(first, code - 1);
            first = code;
        }
    }
    html += std::string("<tr><td>その他</td><td>") + Escape(AlarmText(LastAlarmCode + 1)) + "</td></tr>\r\n";
    return html + "</table>\r\n";
}

std::map<std::string, std::string> Fragments() {
    return {{"wear-texts", WearTexts()}, {"counter-thresholds", CounterThresholds()}, {"alarm-list", AlarmList()}};
}

// ---- written topics -----------------------------------------------------------

// UTF-8 to code page 932; an HTML file (topic, contents, index) declares
// "charset=UTF-8" exactly once, which becomes "charset=Shift_JIS".
bool ConvertWritten(const std::string& source, std::string* converted, std::string* error) {
    std::string text;
    if (!ReadFile(source, &text, error)) return false;
    const std::string name = BaseName(source);
    const std::string extension = name.substr(name.find_last_of('.') + 1);
    const bool html = extension == "htm" || extension == "hhc" || extension == "hhk";
    if (html) {
        const std::string declared = "charset=UTF-8";
        const std::size_t at = text.find(declared);
        if (at == std::string::npos || text.find(declared, at + 1) != std::string::npos) {
            *error = source + ": must declare charset=UTF-8 once";
            return false;
        }
        text.replace(at, declared.size(), "charset=Shift_JIS");
    }
    if (!helpgen::Utf8ToCp932(text, converted)) {
        *error = source + ": not UTF-8, or a character that code page 932 lacks";
        return false;
    }
    static const std::map<std::string, std::string> fragments = Fragments();
    const std::string open = "<!--generated:";
    for (std::size_t at = converted->find(open); at != std::string::npos; at = converted->find(open, at)) {
        const std::size_t end = converted->find("-->", at);
        const std::string name = converted->substr(at + open.size(), end - at - open.size());
        const auto fragment = fragments.find(name);
        if (end == std::string::npos || fragment == fragments.end()) {
            *error = source + ": no generated table \"" + name + "\"";
            return false;
        }
        converted->replace(at, end + 3 - at, fragment->second);
        at += fragment->second.size();
    }
    return true;
}

// The template's entries are its "<LI>" lines; the generated entries join
// them and all are sorted by their names' code page 932 bytes (for kana and
// the common kanji that is the order of their readings).
bool WriteIndex(const std::string& templatePath, const std::vector<IndexEntry>& generated, const std::string& outDir,
                std::string* error) {
    std::string converted;
    if (!ConvertWritten(templatePath, &converted, error)) return false;
    std::vector<std::string> before, after;
    std::vector<std::pair<std::string, std::string>> entries;  // name, line
    std::istringstream lines(converted);
    std::string line;
    bool inList = false, done = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t first = line.find_first_not_of(" \t");
        const std::string trimmed = first == std::string::npos ? "" : line.substr(first);
        if (!done && trimmed.compare(0, 4, "<LI>") == 0) {
            inList = true;
            const std::string key = "name=\"Name\" value=\"";
            const std::size_t at = trimmed.find(key);
            if (at == std::string::npos) {
                *error = templatePath + ": an entry without a name: " + trimmed;
                return false;
            }
            const std::size_t end = trimmed.find('"', at + key.size());
            entries.push_back({trimmed.substr(at + key.size(), end - at - key.size()), trimmed});
            continue;
        }
        if (inList) done = true;
        (done ? after : before).push_back(line);
    }
    if (entries.empty()) {
        *error = templatePath + ": no entries";
        return false;
    }
    for (const IndexEntry& entry : generated) {
        entries.push_back({Escape(entry.name), "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" +
                                                   Escape(entry.name) + "\"><param name=\"Local\" value=\"" +
                                                   entry.local + "\"></OBJECT>"});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) {
                         return std::lexicographical_compare(
                             a.first.begin(), a.first.end(), b.first.begin(), b.first.end(),
                             [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
                     });
    std::string out;
    for (const std::string& l : before) out += l + "\r\n";
    for (const auto& entry : entries) out += "  " + entry.second + "\r\n";
    for (const std::string& l : after) out += l + "\r\n";
    return WriteFile(outDir + "/" + BaseName(templatePath), out, error);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: helppages --out DIR --pages-rc FILE --tooltips-rc FILE --index FILE [FILE...]\n");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string outDir, pagesRc, tooltipsRc, indexTemplate;
    std::vector<std::string> written;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--out" || arg == "--pages-rc" || arg == "--tooltips-rc" || arg == "--index") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (arg == "--out") outDir = value;
            else if (arg == "--pages-rc") pagesRc = value;
            else if (arg == "--tooltips-rc") tooltipsRc = value;
            else indexTemplate = value;
        } else if (arg.compare(0, 2, "--") == 0) {
            return Usage();
        } else {
            written.push_back(arg);
        }
    }
    if (outDir.empty() || pagesRc.empty() || tooltipsRc.empty() || indexTemplate.empty()) return Usage();

    std::string error;
    ResourceTexts texts;
    std::vector<IndexEntry> index;
    bool ok = helpgen::ReadResourceTexts(pagesRc, tooltipsRc, &texts, &error);
    for (int page = 0; ok && page < PageCount; ++page) ok = WriteSettingPage(texts, page, outDir, &index, &error);
    ok = ok && WriteFactoryValues(texts, outDir, &index, &error);
    ok = ok && WriteMonitorStatus(outDir, &index, &error);
    for (std::size_t i = 0; ok && i < written.size(); ++i) {
        std::string converted;
        ok = ConvertWritten(written[i], &converted, &error) &&
             WriteFile(outDir + "/" + BaseName(written[i]), converted, &error);
    }
    ok = ok && WriteIndex(indexTemplate, index, outDir, &error);
    if (!ok) {
        std::fprintf(stderr, "helppages: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
