// Operates a running remote panel from outside, one command per line, for
// scripts/run and for whole-program scenarios:
//
//   paneldriver [--desktop NAME] [--pid N] -f SCRIPT   commands from a file (UTF-8)
//   paneldriver [--desktop NAME] [--pid N] COMMAND...  each argument one command line
//
// --desktop: the program runs on that desktop (Wine's `explorer
// /desktop=NAME,WxH program`); windows of other desktops cannot be seen.
// It waits up to 30 s for the desktop to be made.
//
// Every wait polls until a deadline; a wait that times out, an expectation
// that does not hold or a command that cannot be carried out ends the run
// with a message naming the line, and exit code 1 (2 for a script that
// cannot be read). Texts are UTF-8 on both sides; the program's own texts
// are code page 932. The commands are listed in kUsage and tools/README.md.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/paneldriver/panel_driver.h"

namespace {

using paneldriver::PanelDriver;

const char kUsage[] =
    "usage: paneldriver [--desktop NAME] [--pid N] -f SCRIPT | COMMAND...\n"
    "commands (one a line; \"...\" quotes a text, with \\n \\\" \\\\ inside; # starts a comment):\n"
    "  timeout MS                 deadline of the waits that follow (default 30000)\n"
    "  attach                     wait for the main window, then follow only its process\n"
    "  wait-main                  wait until the main window is shown\n"
    "  wait-window CLASS [CAPTION]  wait for a shown top-level window (\"\" for any class)\n"
    "  wait-dialog ID             wait for a shown dialog holding control ID\n"
    "  choice-rows                wait for the printer choice and print its rows\n"
    "  expect-choice NAME PORT    the choice lists printer NAME on port PORT\n"
    "  choose NAME                pick printer NAME in the choice, click OK, wait until it closes\n"
    "  message [TEXT]             wait for a message box and print it; TEXT must be part of it\n"
    "  answer BUTTON [TEXT]       the same, then press BUTTON (ok cancel yes no abort retry ignore)\n"
    "  tab N [TABID]              select tab N of the settings (or of tab control TABID)\n"
    "  expect-tab N [TABID]       tab N is selected\n"
    "  list ID                    print the selected row of drop-down list ID\n"
    "  expect-list ID TEXT        wait until list ID shows TEXT\n"
    "  set-list ID ROW            select ROW of list ID as the drop-down does\n"
    "  text ID                    print the text of control ID of the program's windows\n"
    "  expect-text ID TEXT        wait until control ID shows TEXT\n"
    "  gauge ID                   print the position of progress bar ID\n"
    "  expect-gauge ID N          wait until progress bar ID stands at N\n"
    "  click ID                   click button ID of the program's windows\n"
    "  menu ID                    menu command ID (40001-40020) to the main window\n"
    "  command ID CMD             command CMD to the window that holds control ID\n"
    "  close                      ask the main window to close\n"
    "  wait-exit                  wait until the program has ended\n"
    "  echo TEXT                  print TEXT\n";

const std::size_t kMaxScript = 1 << 20;
const std::size_t kMaxLine = 4096;

std::string Convert(const std::string& text, UINT from, UINT to) {
    if (text.empty()) return text;
    const int wideLength = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wideLength <= 0) return std::string();
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), &wide[0], wideLength);
    const int length = WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLength, &out[0], length, nullptr, nullptr);
    return out;
}

std::string WideToUtf8(const wchar_t* wide) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &out[0], length, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(length - 1));
    return out;
}

// Program text (ANSI) to what the person reads (UTF-8), one line per call;
// line breaks inside are shown as \n so that one message stays one line.
void Say(const std::string& ansi) {
    std::string shown;
    for (char c : Convert(ansi, CP_ACP, CP_UTF8)) {
        if (c == '\n') shown += "\\n";
        else if (c != '\r') shown += c;
    }
    std::printf("%s\n", shown.c_str());
    std::fflush(stdout);
}

// Splits a line into words; "..." keeps blanks and knows \n, \" and \\.
bool Split(const std::string& line, std::vector<std::string>* words, std::string* error) {
    words->clear();
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            std::string word;
            ++i;
            for (;;) {
                if (i >= line.size()) {
                    *error = "a quoted text does not end";
                    return false;
                }
                const char d = line[i++];
                if (d == '"') break;
                if (d == '\\' && i < line.size()) {
                    const char e = line[i++];
                    word += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
                } else {
                    word += d;
                }
            }
            words->push_back(word);
        } else {
            const std::size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
            words->push_back(line.substr(start, i - start));
        }
    }
    return true;
}

bool ParseInt(const std::string& text, long low, long high, long* value) {
    if (text.empty() || text.size() > 11) return false;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (!end || *end != '\0' || parsed < low || parsed > high) return false;
    *value = parsed;
    return true;
}

class Runner {
public:
    explicit Runner(DWORD processId) : driver_(processId) {}

    // Runs one line (UTF-8); false with a message in *error.
    bool Run(const std::string& utf8Line, std::string* error) {
        std::vector<std::string> words;
        if (!Split(Convert(utf8Line, CP_UTF8, CP_ACP), &words, error)) return false;
        if (words.empty()) return true;
        const std::string& verb = words[0];
        const std::size_t n = words.size();
        long a = 0, b = 0;
        auto needs = [&](std::size_t low, std::size_t high) {
            if (n - 1 >= low && n - 1 <= high) return true;
            *error = "wrong number of arguments";
            return false;
        };
        auto id = [&](std::size_t at, long* value) {
            if (ParseInt(words[at], 1, 65535, value)) return true;
            *error = "not a control or command id: " + words[at];
            return false;
        };
        auto failed = [&]() {
            *error = driver_.error();
            return false;
        };

        if (verb == "timeout") {
            if (!needs(1, 1)) return false;
            if (!ParseInt(words[1], 0, 3600000, &a)) return *error = "not a time in ms: " + words[1], false;
            driver_.SetTimeout(static_cast<DWORD>(a));
            return true;
        }
        if (verb == "attach") {
            if (!needs(0, 0)) return false;
            if (!driver_.Attach()) return failed();
            std::printf("attached to process %lu\n", driver_.processId());
            return true;
        }
        if (verb == "wait-main") return needs(0, 0) && (driver_.WaitMainWindow() || failed());
        if (verb == "wait-window") {
            if (!needs(1, 2)) return false;
            return driver_.WaitWindow(words[1], n > 2 ? words[2] : std::string()) || failed();
        }
        if (verb == "wait-dialog") {
            if (!needs(1, 1) || !id(1, &a)) return false;
            return driver_.WaitDialogWithControl(static_cast<int>(a)) || failed();
        }
        if (verb == "choice-rows" || verb == "expect-choice") {
            if (!(verb == "choice-rows" ? needs(0, 0) : needs(2, 2))) return false;
            HWND dialog = driver_.WaitDialogWithControl(paneldriver::ChoiceDialogList);
            std::vector<paneldriver::ChoiceRow> rows;
            if (!dialog || !driver_.ChoiceRows(dialog, &rows)) return failed();
            if (verb == "expect-choice") {
                for (const auto& row : rows) {
                    if (row.printer != words[1]) continue;
                    if (row.port == words[2]) return true;
                    return *error = "\"" + row.printer + "\" is listed on port \"" + row.port + "\"", false;
                }
                return *error = "no printer \"" + words[1] + "\" in the choice", false;
            }
            for (std::size_t i = 0; i < rows.size(); ++i) {
                char head[48];
                std::snprintf(head, sizeof head, "row %u image %d: ", static_cast<unsigned>(i), rows[i].image);
                Say(head + rows[i].printer + " | " + rows[i].port);
            }
            return true;
        }
        if (verb == "choose") {
            if (!needs(1, 1)) return false;
            HWND dialog = driver_.WaitDialogWithControl(paneldriver::ChoiceDialogList);
            if (!dialog || !driver_.ChoosePrinter(dialog, words[1]) || !driver_.WaitGone(dialog)) return failed();
            return true;
        }
        if (verb == "message" || verb == "answer") {
            const bool answer = verb == "answer";
            if (!(answer ? needs(1, 2) : needs(0, 1))) return false;
            int button = 0;
            if (answer && !(button = paneldriver::ButtonIdByName(words[1])))
                return *error = "not a button: " + words[1], false;
            const std::string expected = n > (answer ? 2u : 1u) ? words[answer ? 2 : 1] : std::string();
            paneldriver::MessageBoxSeen box;
            if (!driver_.WaitMessageBox(&box)) return failed();
            Say("message: " + box.text);
            if (!expected.empty() && box.text.find(expected) == std::string::npos)
                return *error = "the message box does not say \"" + expected + "\"", false;
            return !answer || driver_.AnswerMessageBox(box, button) || failed();
        }
        if (verb == "tab" || verb == "expect-tab") {
            if (!needs(1, 2)) return false;
            if (!ParseInt(words[1], 0, 63, &a)) return *error = "not a tab: " + words[1], false;
            long tabId = paneldriver::SettingsTabControl;
            if (n > 2 && !id(2, &tabId)) return false;
            if (verb == "tab") return driver_.SelectTabOf(static_cast<int>(tabId), static_cast<int>(a)) || failed();
            int current = -1;
            if (!driver_.CurrentTabOf(static_cast<int>(tabId), &current)) return failed();
            if (current == a) return true;
            return *error = "tab " + std::to_string(current) + " is selected", false;
        }
        if (verb == "list") {
            if (!needs(1, 1) || !id(1, &a)) return false;
            int row = -1;
            std::string text;
            if (!driver_.ListSelection(static_cast<int>(a), &row, &text)) return failed();
            Say("list " + words[1] + " row " + std::to_string(row) + ": " + text);
            return true;
        }
        if (verb == "expect-list") {
            if (!needs(2, 2) || !id(1, &a)) return false;
            // The page may still be filling its lists: wait for the text.
            const DWORD start = GetTickCount();
            int row = -1;
            std::string text;
            for (;;) {
                if (!driver_.ListSelection(static_cast<int>(a), &row, &text)) return failed();
                if (text == words[2]) break;
                if (GetTickCount() - start >= driver_.timeout())
                    return *error = "list " + words[1] + " shows \"" + text + "\", not \"" + words[2] + "\"", false;
                Sleep(50);
            }
            Say("list " + words[1] + " row " + std::to_string(row) + ": " + text);
            return true;
        }
        if (verb == "set-list") {
            if (!needs(2, 2) || !id(1, &a)) return false;
            if (!ParseInt(words[2], 0, 65535, &b)) return *error = "not a row: " + words[2], false;
            return driver_.SetListSelection(static_cast<int>(a), static_cast<int>(b)) || failed();
        }
        if (verb == "text") {
            if (!needs(1, 1) || !id(1, &a)) return false;
            HWND control = driver_.WaitAnyControl(static_cast<int>(a));
            std::string text;
            if (!control || !driver_.ControlText(control, &text)) return failed();
            Say("text " + words[1] + ": " + text);
            return true;
        }
        if (verb == "expect-text") {
            if (!needs(2, 2) || !id(1, &a)) return false;
            std::string text;
            if (!driver_.WaitControlText(static_cast<int>(a), words[2], &text)) return failed();
            Say("text " + words[1] + ": " + text);
            return true;
        }
        if (verb == "gauge" || verb == "expect-gauge") {
            const bool expect = verb == "expect-gauge";
            if (!(expect ? needs(2, 2) : needs(1, 1)) || !id(1, &a)) return false;
            if (expect && !ParseInt(words[2], 0, 65535, &b)) return *error = "not a position: " + words[2], false;
            int position = -1;
            if (expect ? !driver_.WaitGaugePosition(static_cast<int>(a), static_cast<int>(b), &position)
                       : !driver_.GaugePosition(static_cast<int>(a), &position))
                return failed();
            Say("gauge " + words[1] + ": " + std::to_string(position));
            return true;
        }
        if (verb == "command") {
            if (!needs(2, 2) || !id(1, &a) || !id(2, &b)) return false;
            return driver_.WindowCommand(static_cast<int>(a), static_cast<int>(b)) || failed();
        }
        if (verb == "click") return needs(1, 1) && id(1, &a) && (driver_.ClickButton(static_cast<int>(a)) || failed());
        if (verb == "menu") return needs(1, 1) && id(1, &a) && (driver_.MenuCommand(static_cast<int>(a)) || failed());
        if (verb == "close") return needs(0, 0) && (driver_.CloseMainWindow() || failed());
        if (verb == "wait-exit") return needs(0, 0) && (driver_.WaitExit() || failed());
        if (verb == "echo") {
            std::string text;
            for (std::size_t i = 1; i < n; ++i) text += (i > 1 ? " " : "") + words[i];
            Say(text);
            return true;
        }
        *error = "unknown command";
        return false;
    }

private:
    PanelDriver driver_;
};

// The script's lines: from the file, or one per argument.
bool ReadScript(const std::wstring& path, std::vector<std::string>* lines) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) {
        if (bytes.size() + got > kMaxScript) {
            ok = false;
            break;
        }
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    if (!ok) return false;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        lines->push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return 2;
    DWORD processId = 0;
    std::vector<std::string> lines;
    int i = 1;
    if (i + 1 < argc && lstrcmpW(argv[i], L"--desktop") == 0) {
        // Before this thread owns any window: only then may it change desktops.
        if (!paneldriver::UseDesktop(argv[i + 1], 30000)) {
            std::fprintf(stderr, "paneldriver: cannot use the desktop %s (error %lu)\n", WideToUtf8(argv[i + 1]).c_str(),
                         GetLastError());
            return 2;
        }
        i += 2;
    }
    if (i + 1 < argc && lstrcmpW(argv[i], L"--pid") == 0) {
        long pid = 0;
        if (!ParseInt(WideToUtf8(argv[i + 1]), 1, 0x7FFFFFFF, &pid)) {
            std::fprintf(stderr, "%s", kUsage);
            return 2;
        }
        processId = static_cast<DWORD>(pid);
        i += 2;
    }
    if (i + 2 == argc && lstrcmpW(argv[i], L"-f") == 0) {
        if (!ReadScript(argv[i + 1], &lines)) {
            std::fprintf(stderr, "paneldriver: cannot read the script %s\n", WideToUtf8(argv[i + 1]).c_str());
            return 2;
        }
    } else {
        for (; i < argc; ++i) lines.push_back(WideToUtf8(argv[i]));
    }
    LocalFree(argv);
    if (lines.empty()) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    Runner runner(processId);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string line = lines[n];
        if (line.size() > kMaxLine) line.resize(kMaxLine);
        std::string error;
        if (!runner.Run(line, &error)) {
            std::string shown = Convert(error, CP_ACP, CP_UTF8);
            while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
            std::fprintf(stderr, "paneldriver: line %u (%s): %s\n", static_cast<unsigned>(n + 1), line.c_str(),
                         shown.c_str());
            return 1;
        }
    }
    return 0;
}
