// veldra6c: settings files from the command line, and the printers they
// belong to.
//
//   veldra6c show FILE.vd6            item, title and value text, one line each
//   veldra6c diff A.vd6 B.vd6         the items that differ; exit 1 if any
//   veldra6c export FILE.vd6          CSV on standard output; exit 1 for out-of-list bytes
//   veldra6c import FILE.csv FILE.vd6 back to the 109-byte file
//   veldra6c check FILE.vd6           wrong length and out-of-list bytes; exit 1 if any
//   veldra6c read PRINTER... --out DIR      each printer's settings to DIR/<printer>.vd6
//   veldra6c write FILE.vd6 PRINTER...      the file committed to each printer
//   veldra6c verify FILE.vd6 PRINTER...     each printer read and compared with the file
//   (the last three with --json: one JSON object instead of the lines)
//
// Exit status: 0 done, 1 differences or problems found (for the printer
// commands: a printer that failed or differs), 2 bad input (and nothing
// changed).
#include "console/veldra6c.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "console/console_platform.h"
#include "console/printer_fleet.h"
#include "console/settings_text.h"

namespace {

enum { ExitDone = 0, ExitFound = 1, ExitBadInput = 2 };

struct Run {
    ConsoleLanguage language;
    ConsoleSink& sink;
    void Out(const std::string& text) const { sink.Out(text); }
    void Error(const std::string& text) const { sink.Error(text); }
    template <typename... Args>
    void Error(ConsoleText text, Args... args) const {
        char buffer[1024];
        std::snprintf(buffer, sizeof buffer, ConsoleFormat(text, language), args...);
        Error(std::string(buffer));
    }

    // The settings file at `path` as a record; false (and said) otherwise.
    bool Load(const std::string& path, SettingsRecord* record) const {
        std::string bytes, problem;
        if (!ReadWholeFile(path, &bytes)) {
            Error(TextFileUnreadable, path.c_str());
            return false;
        }
        if (RecordFromFile(path, bytes, record, language, &problem)) return true;
        Error(problem);
        return false;
    }
};

int Show(const Run& run, const std::string& path) {
    SettingsRecord record;
    if (!run.Load(path, &record)) return ExitBadInput;
    run.Out(ShowSettings(record, run.language));
    return ExitDone;
}

int Diff(const Run& run, const std::string& a, const std::string& b) {
    SettingsRecord left, right;
    if (!run.Load(a, &left) || !run.Load(b, &right)) return ExitBadInput;
    int differing = 0;
    run.Out(DiffSettings(left, right, run.language, &differing));
    return differing ? ExitFound : ExitDone;
}

// A byte outside its list is exported with an empty value, which import
// refuses: it is named on the error output and the exit status says so.
int Export(const Run& run, const std::string& path) {
    SettingsRecord record;
    if (!run.Load(path, &record)) return ExitBadInput;
    run.Out(ExportCsv(record));
    const std::vector<std::string> problems =
        CheckSettingsFile(std::string(reinterpret_cast<const char*>(record.value), SettingCount), run.language);
    for (const std::string& problem : problems) run.Error(path + ": " + problem);
    return problems.empty() ? ExitDone : ExitFound;
}

int Import(const Run& run, const std::string& csv, const std::string& path) {
    std::string text, problem;
    if (!ReadWholeFile(csv, &text)) {
        run.Error(TextFileUnreadable, csv.c_str());
        return ExitBadInput;
    }
    SettingsRecord record;
    if (!ImportCsv(text, &record, run.language, &problem)) {
        run.Error(csv + ": " + problem);
        return ExitBadInput;
    }
    if (!ReplaceFileWhole(path, std::string(reinterpret_cast<const char*>(record.value), SettingCount))) {
        run.Error(TextFileUnwritable, path.c_str());
        return ExitBadInput;
    }
    return ExitDone;
}

int Check(const Run& run, const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, &bytes)) {
        run.Error(TextFileUnreadable, path.c_str());
        return ExitBadInput;
    }
    const std::vector<std::string> problems = CheckSettingsFile(bytes, run.language);
    for (const std::string& problem : problems) run.Out(path + ": " + problem);
    if (!problems.empty()) return ExitFound;
    char line[1024];
    std::snprintf(line, sizeof line, ConsoleFormat(TextFileOk, run.language), path.c_str());
    run.Out(line);
    return ExitDone;
}

// The words of a printer command and its options: --json anywhere, --out
// DIR (read only); "--" ends the options, so that a printer named like one
// can still be given.
struct PrinterArgs {
    std::vector<std::string> words;
    bool json = false;
    bool outGiven = false;
    std::string out;
    bool sound = true;
};

PrinterArgs ParsePrinterArgs(const std::vector<std::string>& args) {
    PrinterArgs parsed;
    bool options = true;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (options && word == "--") {
            options = false;
        } else if (options && word == "--json") {
            parsed.json = true;
        } else if (options && word == "--out") {
            if (parsed.outGiven || i + 1 >= args.size()) parsed.sound = false;
            parsed.outGiven = true;
            if (i + 1 < args.size()) parsed.out = args[++i];
        } else if (options && word.compare(0, 2, "--") == 0) {
            parsed.sound = false;
        } else {
            parsed.words.push_back(word);
        }
    }
    return parsed;
}

// The settings file of write and verify, read and checked whole: a file of
// the wrong length or with a byte outside its item's list reaches no
// printer. False (and said) otherwise; *problems gets the lines.
bool LoadSoundFile(const Run& run, const std::string& path, SettingsRecord* record,
                   std::vector<std::string>* problems) {
    std::string bytes, problem;
    if (!ReadWholeFile(path, &bytes)) {
        char line[1024];
        std::snprintf(line, sizeof line, ConsoleFormat(TextFileUnreadable, run.language), path.c_str());
        problems->push_back(line);
        return false;
    }
    for (const std::string& found : CheckSettingsFile(bytes, run.language)) problems->push_back(path + ": " + found);
    if (!problems->empty()) {
        char line[1024];
        std::snprintf(line, sizeof line, ConsoleFormat(TextBadFile, run.language), path.c_str());
        problems->push_back(line);
        return false;
    }
    return RecordFromFile(path, bytes, record, run.language, &problem);
}

int PrinterCommand(const Run& run, FleetCommand command, const std::vector<std::string>& args,
                   PrinterSystem* printers) {
    const PrinterArgs parsed = ParsePrinterArgs(args);
    FleetRequest request;
    request.command = command;
    const std::size_t firstPrinter = command == FleetRead ? 0 : 1;
    const bool sound = parsed.sound && parsed.words.size() > firstPrinter && parsed.outGiven == (command == FleetRead);
    if (!sound) {
        run.Error(ConsoleFormat(TextUsage, run.language));
        return ExitBadInput;
    }
    if (!printers) {
        run.Error(TextNotInThisBuild, args[0].c_str());
        return ExitBadInput;
    }
    request.printers.assign(parsed.words.begin() + static_cast<std::ptrdiff_t>(firstPrinter), parsed.words.end());
    request.folder = parsed.out;
    FleetRun fleet;
    if (command != FleetRead) {
        request.fileName = parsed.words[0];
        if (!LoadSoundFile(run, request.fileName, &request.record, &fleet.detail)) fleet.badInput = InputBadFile;
    }
    if (fleet.badInput == InputSound)
        fleet = RunFleet(request, *printers, [&](const PrinterReport& report) {
            if (!parsed.json) run.Out(ReportLine(report, command, run.language));
        });
    if (parsed.json) {
        run.Out(FleetJson(request, fleet, run.language, Cp932ToUtf16));
    } else if (fleet.badInput != InputSound) {
        run.Error(BadInputText(fleet, run.language));
    } else {
        run.Out(SummaryLine(fleet, run.language));
    }
    if (fleet.badInput != InputSound) return ExitBadInput;
    return fleet.Failed() ? ExitFound : ExitDone;
}

}  // namespace

int RunVeldra6c(const std::vector<std::string>& args, ConsoleLanguage language, PrinterSystem* printers,
                ConsoleSink& sink) {
    const Run run{language, sink};
    const std::string command = args.empty() ? "" : args[0];
    if (command == "show" && args.size() == 2) return Show(run, args[1]);
    if (command == "diff" && args.size() == 3) return Diff(run, args[1], args[2]);
    if (command == "export" && args.size() == 2) return Export(run, args[1]);
    if (command == "import" && args.size() == 3) return Import(run, args[1], args[2]);
    if (command == "check" && args.size() == 2) return Check(run, args[1]);
    if (command == "read") return PrinterCommand(run, FleetRead, args, printers);
    if (command == "write") return PrinterCommand(run, FleetWrite, args, printers);
    if (command == "verify") return PrinterCommand(run, FleetVerify, args, printers);
    run.Error(ConsoleFormat(TextUsage, run.language));
    return ExitBadInput;
}
