// The language monitor's side of the status monitor's registry slot
// HKEY_LOCAL_MACHINE "SOFTWARE\KOA\tzraMonitor-msg\1", played from a script:
//
//   regstand --jobs FILE [--script FILE] [--log FILE] [--parent PID]
//            [--start PROGRAM] [--dummy-ms N] [--cancel-ms N] [--ignore-cancel]
//
// A real language monitor keeps the slot current while it serves the printer;
// this one writes what the script says, when it says it, and answers what
// the status monitor asks of it:
//   - print cancel: LM_JOB_CANCEL "RQ_CANCEL" is answered (after --cancel-ms)
//     by DOC_NAME "  " and LM_JOB_CANCEL "RQ_NORMAL"; --ignore-cancel never
//     answers, so the status monitor waits its full time;
//   - the dummy status job: 15 zero bytes appended to the --jobs file (the
//     test printer's port runs "cat >> FILE") make it write its current
//     state again (after --dummy-ms), over the status monitor's "100";
//   - a start of the status monitor, which writes its defaults over the slot
//     (RST_DVD "999" ... "0", PRT_NAME "  "): once RST_DVD is no longer
//     "999" it writes its current state again.
// Wine's spooler hands a port the bytes of a job but not its document name,
// so jobs are told apart by their bytes: a CAN byte is the remote panel's
// (or the ribbon reset's) connection job, 15 zero bytes in a row the dummy
// status job, anything else print data.
//
// Script lines (blank lines and lines starting with '#' are skipped):
//   [at MS] set NAME TEXT           REG_SZ with its terminating zero; TEXT is
//                                   the rest of the line, or "..." to keep
//                                   blanks ("  " is two blanks, "" empty)
//   [at MS] set NAME byte N         REG_BINARY of one byte, 0..255
//   [at MS] set NAME bytes N N ...  REG_BINARY of any length (0..64 bytes)
//   [at MS] delete NAME             removes the value
//   [at MS] end                     the stand-in ends (exit code 0)
// MS counts from the stand-in's start; lines without "at" apply at once, in
// order, before it reports ready. Timed lines apply in the order of their
// times (lines with equal times in file order).
//
// Every event goes to --log, one line each, "<ms> <event>": "ready",
// "set NAME ...", "delete NAME", "job tzrahWindow-VerodoRared",
// "job tzrahWindow-Dummy", "print data N bytes", "monitor started",
// "state written again", "cancel requested", "cancel answered",
// "cancel ignored", "end". The log is created empty at start; "ready" is its
// first line once the slot holds the script's first state.
//
// --parent PID: ends as soon as that process ends. --start PROGRAM: starts
// that program (no arguments) once ready, and ends when it ends, with its
// exit code. Without either it runs until it is killed or its script ends.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/standin/stand_process.h"

namespace {

const char kSlotPath[] = "SOFTWARE\\KOA\\tzraMonitor-msg\\1";
const DWORD kLookMs = 10;
const std::size_t kMaxBinary = 64;

struct Value {
    std::string name;  // empty: the end of the script's run
    bool binary = false;
    bool deleted = false;
    std::string bytes;  // text without its zero, or the binary bytes
};

struct Step {
    long at = 0;
    Value value;
};

struct Options {
    std::string jobs, script, log, start;
    long parent = 0;
    long dummyMs = 0;
    long cancelMs = 0;
    bool ignoreCancel = false;
};

bool ParseOptions(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        std::string* text = a == "--jobs" ? &o->jobs
                            : a == "--script" ? &o->script
                            : a == "--log" ? &o->log
                            : a == "--start" ? &o->start
                            : nullptr;
        long* number = a == "--parent" ? &o->parent
                       : a == "--dummy-ms" ? &o->dummyMs
                       : a == "--cancel-ms" ? &o->cancelMs
                       : nullptr;
        if (text || number) {
            if (i + 1 >= argc) return false;
            ++i;
            if (text) {
                *text = argv[i];
            } else {
                const long low = number == &o->parent ? 1 : 0;
                const long high = number == &o->parent ? 0x7FFFFFFF : 600000;
                if (!ParseNumber(argv[i], low, high, number)) return false;
            }
        } else if (a == "--ignore-cancel") {
            o->ignoreCancel = true;
        } else {
            return false;
        }
    }
    return !o->jobs.empty();
}

std::string Trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    const std::size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// The next blank-separated word of `line` from *at.
std::string Word(const std::string& line, std::size_t* at) {
    const std::size_t first = line.find_first_not_of(" \t", *at);
    if (first == std::string::npos) {
        *at = line.size();
        return std::string();
    }
    std::size_t end = line.find_first_of(" \t", first);
    if (end == std::string::npos) end = line.size();
    *at = end;
    return line.substr(first, end - first);
}

// One script line into a step; false with a reason.
bool ParseLine(const std::string& raw, Step* step, std::string* why) {
    const std::string line = Trim(raw);
    std::size_t at = 0;
    std::string verb = Word(line, &at);
    step->at = 0;
    if (verb == "at") {
        const std::string ms = Word(line, &at);
        if (!ParseNumber(ms.c_str(), 0, 24L * 3600 * 1000, &step->at)) {
            *why = "a time in ms (0 to one day) must follow \"at\"";
            return false;
        }
        verb = Word(line, &at);
    }
    Value& v = step->value;
    v = Value();
    if (verb == "end") {
        if (!Trim(line.substr(at)).empty()) {
            *why = "nothing may follow \"end\"";
            return false;
        }
        return true;
    }
    v.name = Word(line, &at);
    if (v.name.empty() || v.name.size() > 255) {
        *why = "a value name must follow \"" + verb + "\"";
        return false;
    }
    if (verb == "delete") {
        v.deleted = true;
        if (!Trim(line.substr(at)).empty()) {
            *why = "nothing may follow the name of a deleted value";
            return false;
        }
        return true;
    }
    if (verb != "set") {
        *why = "expected set, delete or end";
        return false;
    }
    const std::string rest = Trim(line.substr(at));
    std::size_t inner = 0;
    const std::string kind = Word(rest, &inner);
    if (kind == "byte" || kind == "bytes") {
        v.binary = true;
        for (std::string n = Word(rest, &inner); !n.empty(); n = Word(rest, &inner)) {
            long b = 0;
            if (!ParseNumber(n.c_str(), 0, 255, &b) || v.bytes.size() >= kMaxBinary) {
                *why = "binary values are numbers 0 to 255, at most 64 of them";
                return false;
            }
            v.bytes.push_back(static_cast<char>(b));
        }
        if (kind == "byte" && v.bytes.size() != 1) {
            *why = "\"byte\" takes exactly one number";
            return false;
        }
        return true;
    }
    if (!rest.empty() && rest[0] == '"') {
        if (rest.size() < 2 || rest.back() != '"') {
            *why = "a quoted text must end with a quote";
            return false;
        }
        v.bytes = rest.substr(1, rest.size() - 2);
    } else {
        v.bytes = rest;
    }
    if (v.bytes.find('\0') != std::string::npos) {
        *why = "a text may not hold a zero byte";
        return false;
    }
    return true;
}

bool LoadScript(const std::string& path, std::vector<Step>* steps) {
    if (path.empty()) return true;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        std::fprintf(stderr, "regstand: cannot read %s\n", path.c_str());
        return false;
    }
    char buffer[1024];
    int number = 0;
    bool ok = true;
    while (ok && std::fgets(buffer, sizeof buffer, file)) {
        ++number;
        std::string line = buffer;
        if (!line.empty() && line.back() != '\n' && !std::feof(file)) {
            std::fprintf(stderr, "regstand: %s:%d: line too long\n", path.c_str(), number);
            ok = false;
            break;
        }
        line = Trim(line.substr(0, line.find('\n')));
        if (line.empty() || line[0] == '#') continue;
        Step step;
        std::string why;
        if (!ParseLine(line, &step, &why)) {
            std::fprintf(stderr, "regstand: %s:%d: %s\n", path.c_str(), number, why.c_str());
            ok = false;
        } else {
            steps->push_back(step);
        }
    }
    std::fclose(file);
    // Equal times keep their file order.
    std::stable_sort(steps->begin(), steps->end(), [](const Step& a, const Step& b) { return a.at < b.at; });
    return ok;
}

class Log {
public:
    explicit Log(const std::string& path) : path_(path), start_(GetTickCount()) {
        if (!path_.empty()) WriteFileBytes(path_, "", 0);
    }
    DWORD Elapsed() const { return GetTickCount() - start_; }
    void Line(const std::string& event) const {
        if (path_.empty()) return;
        const std::string line = std::to_string(Elapsed()) + " " + event + "\n";
        HANDLE file = CreateFileA(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
    }

private:
    std::string path_;
    DWORD start_;
};

std::string Describe(const Value& v) {
    if (v.deleted) return "delete " + v.name;
    std::string text = "set " + v.name + " ";
    if (!v.binary) return text + "\"" + v.bytes + "\"";
    text += v.bytes.size() == 1 ? "byte" : "bytes";
    for (unsigned char b : v.bytes) text += " " + std::to_string(b);
    return text;
}

// The slot, and the state this language monitor last wrote into it.
class Slot {
public:
    Slot() = default;
    ~Slot() {
        if (key_) RegCloseKey(key_);
    }
    bool Open() {
        return RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSlotPath, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                               nullptr) == ERROR_SUCCESS;
    }

    void Apply(const Value& v, const Log& log) {
        Write(v);
        log.Line(Describe(v));
        auto same = [&](const Value& known) { return known.name == v.name; };
        state_.erase(std::remove_if(state_.begin(), state_.end(), same), state_.end());
        state_.push_back(v);
    }

    // Everything the script set so far, again (a fresh status).
    void WriteStateAgain(const Log& log) {
        for (const Value& v : state_) Write(v);
        log.Line("state written again");
    }

    // A string value as it is now; empty when missing or not a string.
    std::string Text(const char* name) const {
        char buffer[1024];
        DWORD type = 0;
        DWORD size = sizeof buffer - 1;
        if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            return std::string();
        if (size > sizeof buffer - 1) size = sizeof buffer - 1;
        buffer[size] = '\0';
        return std::string(buffer);
    }

    // The printer name this monitor wrote, if it wrote one.
    const Value* Known(const char* name) const {
        for (const Value& v : state_)
            if (v.name == name && !v.deleted && !v.binary) return &v;
        return nullptr;
    }

private:
    void Write(const Value& v) {
        if (v.deleted) {
            RegDeleteValueA(key_, v.name.c_str());
        } else if (v.binary) {
            RegSetValueExA(key_, v.name.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(v.bytes.data()),
                           static_cast<DWORD>(v.bytes.size()));
        } else {
            RegSetValueExA(key_, v.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.bytes.c_str()),
                           static_cast<DWORD>(v.bytes.size() + 1));
        }
    }

    HKEY key_ = nullptr;
    std::vector<Value> state_;
};

// The bytes appended to the jobs file since the last look, told apart by
// their content.
class JobWatcher {
public:
    explicit JobWatcher(const std::string& path) : path_(path) { offset_ = Size(); }

    // Counts dummy jobs (runs of 15 zero bytes) and logs the others.
    int Look(const Log& log) {
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 0;
        int dummies = 0;
        long long other = 0;
        LARGE_INTEGER at;
        at.QuadPart = offset_;
        if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) {
            unsigned char buffer[4096];
            DWORD got = 0;
            while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
                offset_ += got;
                for (DWORD i = 0; i < got; ++i) {
                    if (buffer[i] == 0) {
                        if (++zeros_ == 15) {
                            zeros_ = 0;
                            ++dummies;
                            log.Line("job tzrahWindow-Dummy");
                        }
                        continue;
                    }
                    other += zeros_;
                    zeros_ = 0;
                    if (buffer[i] == 0x18)
                        log.Line("job tzrahWindow-VerodoRared");
                    else
                        ++other;
                }
            }
        }
        CloseHandle(file);
        if (other) log.Line("print data " + std::to_string(other) + " bytes");
        return dummies;
    }

private:
    long long Size() const {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &data)) return 0;
        return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    std::string path_;
    long long offset_ = 0;
    int zeros_ = 0;  // zero bytes in a row so far
};

const char kUsage[] =
    "usage: regstand --jobs FILE [--script FILE] [--log FILE] [--parent PID] [--start PROGRAM]"
    " [--dummy-ms N] [--cancel-ms N] [--ignore-cancel]\n";

// A deadline that may be unset (0 means none).
bool Due(DWORD deadline, DWORD now) { return deadline && static_cast<LONG>(now - deadline) >= 0; }
DWORD After(const Log& log, long ms) {
    const DWORD at = log.Elapsed() + static_cast<DWORD>(ms);
    return at ? at : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    HANDLE parent = nullptr;
    if (!OpenParentProcess(options.parent, "regstand", &parent)) return 1;
    std::vector<Step> steps;
    if (!LoadScript(options.script, &steps)) return 1;
    Slot slot;
    if (!slot.Open()) {
        std::fprintf(stderr, "regstand: cannot create HKLM\\%s (error %lu)\n", kSlotPath, GetLastError());
        return 1;
    }
    Log log(options.log);
    JobWatcher jobs(options.jobs);

    std::size_t next = 0;
    bool ended = false;
    // Applies the steps due by `now`; true once an "end" step is reached.
    auto applyDue = [&](DWORD now) {
        while (!ended && next < steps.size() && static_cast<DWORD>(steps[next].at) <= now) {
            const Value& v = steps[next++].value;
            if (v.name.empty()) {
                log.Line("end");
                ended = true;
            } else {
                slot.Apply(v, log);
            }
        }
        return ended;
    };
    if (applyDue(0)) return 0;
    log.Line("ready");
    std::printf("regstand: ready\n");
    std::fflush(stdout);

    PROCESS_INFORMATION child = {};
    if (!options.start.empty()) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string command = "\"" + options.start + "\"";
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child)) {
            std::fprintf(stderr, "regstand: cannot start %s (error %lu)\n", options.start.c_str(), GetLastError());
            return 1;
        }
        CloseHandle(child.hThread);
        parent = child.hProcess;
    }

    DWORD dummyDue = 0;
    DWORD cancelDue = 0;
    bool cancelSeen = false;
    bool monitorStarting = false;
    do {
        if (applyDue(log.Elapsed())) break;

        if (jobs.Look(log) && !dummyDue) dummyDue = After(log, options.dummyMs);
        if (Due(dummyDue, log.Elapsed())) {
            dummyDue = 0;
            slot.WriteStateAgain(log);
        }

        // A starting status monitor overwrites the slot with its defaults.
        const std::string reset = slot.Text("RST_DVD");
        const Value* name = slot.Known("PRT_NAME");
        if (!monitorStarting && (reset == "999" || (name && slot.Text("PRT_NAME") != name->bytes))) {
            monitorStarting = true;
            log.Line("monitor started");
        }
        // Looked at again: the name may have changed after the first look
        // at RST_DVD, while the monitor was still writing its defaults.
        if (monitorStarting && slot.Text("RST_DVD") != "999") {
            monitorStarting = false;
            slot.WriteStateAgain(log);
        }

        const bool cancel = slot.Text("LM_JOB_CANCEL") == "RQ_CANCEL";
        if (cancel && !cancelSeen) {
            log.Line("cancel requested");
            if (options.ignoreCancel)
                log.Line("cancel ignored");
            else
                cancelDue = After(log, options.cancelMs);
        }
        cancelSeen = cancel;
        if (Due(cancelDue, log.Elapsed())) {
            cancelDue = 0;
            Value doc;
            doc.name = "DOC_NAME";
            doc.bytes = "  ";
            slot.Apply(doc, log);
            Value normal;
            normal.name = "LM_JOB_CANCEL";
            normal.bytes = "RQ_NORMAL";
            slot.Apply(normal, log);
            cancelSeen = false;
            log.Line("cancel answered");
        }
    } while (!PauseUnlessParentEnds(parent, kLookMs));

    DWORD exitCode = 0;
    if (child.hProcess && !ended) GetExitCodeProcess(child.hProcess, &exitCode);
    return static_cast<int>(exitCode);
}
