// veldra6c: settings files from the command line.
//
//   veldra6c show FILE.vd6            item, title and value text, one line each
//   veldra6c diff A.vd6 B.vd6         the items that differ; exit 1 if any
//   veldra6c export FILE.vd6          CSV on standard output; exit 1 for out-of-list bytes
//   veldra6c import FILE.csv FILE.vd6 back to the 109-byte file
//   veldra6c check FILE.vd6           wrong length and out-of-list bytes; exit 1 if any
//
// Exit status: 0 done, 1 differences or problems found, 2 bad input (and
// nothing changed).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "console/console_platform.h"
#include "console/settings_text.h"

namespace {

enum { ExitDone = 0, ExitFound = 1, ExitBadInput = 2 };

struct Run {
    ConsoleLanguage language;
    void Out(const std::string& text) const { WriteOutput(stdout, text); }
    void Error(const std::string& text) const { WriteOutput(stderr, text); }
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

}  // namespace

int main(int argc, char** argv) {
    const Run run{OutputLanguage()};
    const std::vector<std::string> args(argv + 1, argv + (argc > 1 ? argc : 1));
    const std::string command = args.empty() ? "" : args[0];
    if (command == "show" && args.size() == 2) return Show(run, args[1]);
    if (command == "diff" && args.size() == 3) return Diff(run, args[1], args[2]);
    if (command == "export" && args.size() == 2) return Export(run, args[1]);
    if (command == "import" && args.size() == 3) return Import(run, args[1], args[2]);
    if (command == "check" && args.size() == 2) return Check(run, args[1]);
    if (command == "read" || command == "write" || command == "verify") {
        run.Error(TextNotInThisBuild, command.c_str());
        return ExitBadInput;
    }
    run.Error(ConsoleFormat(TextUsage, run.language));
    return ExitBadInput;
}
