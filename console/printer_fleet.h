// The console tool's commands that reach printers: read each printer's
// settings into a file, write one file to each printer, verify each printer
// against a file. Printers are taken one after another, each through the
// same checks, conversations and recovery as the remote panel's chosen
// printer; what happened to each is one report. Portable: the spooler,
// channels, waits and files come from a PrinterSystem that the platform
// gives (console_win32.cpp) or a test builds.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "console/console_texts.h"
#include "link/channel/channel.h"
#include "link/choice/printer_target.h"
#include "panel/core/setting_items.h"

// What became of one printer. Everything but OutcomeOk is a failure.
enum PrinterOutcome {
    OutcomeOk,
    OutcomeUnknownPrinter,      // the spooler knows no printer of this name
    OutcomeUnsupportedDriver,
    OutcomeDeleted,             // gone between the look-up and its turn
    OutcomeStateUnreadable,
    OutcomeOutOfMemory,
    OutcomeFilePort,
    OutcomePaused,
    OutcomeBidiOff,
    OutcomeOffline,
    OutcomeSeparator,
    OutcomeOtherPort,
    OutcomeIppPort,
    OutcomeJobsQueued,
    OutcomeNoChannel,           // the language monitor's block cannot be opened
    OutcomeLanLibrary,          // the LAN library cannot be loaded, bound or started
    OutcomeLanNoAnswer,         // nobody answers at the network address
    OutcomeNoAnswer,            // a request of the conversation failed
    OutcomeAnswerUnreadable,    // an answer came but holds no settings
    OutcomeOtherModel,          // another model answered than the driver is for
    OutcomeValueErrors,         // the answer held values outside their lists
    OutcomeFileUnwritable,      // read: the settings file could not be written
    OutcomeDiffers,             // verify: the printer's settings differ from the file
    OutcomeCount
};

// The stable name of an outcome for scripts ("no-answer"); ASCII.
const char* OutcomeCode(PrinterOutcome outcome);

// The outcome that a failed pre-flight check names. `readiness` is a
// PrinterReadiness (link/choice/printer_readiness.h), `connectionKind` the
// printer's kind after the check (the refusal code when refused).
PrinterOutcome OutcomeOfReadiness(int readiness, int connectionKind);

// What the tool needs of the system to reach printers.
class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;

    // Printer `name` as the spooler has it (see ReadPrinterTarget): 0 found
    // and *target filled, 1 no such printer, 2 its record unreadable, 4 no
    // memory for it.
    virtual int Find(const std::string& name, PrinterTarget* target) = 0;

    // The checks before a conversation, with the printer's state read again
    // into *target: a PrinterReadiness.
    virtual int Check(PrinterTarget* target) = 0;

    // Runs `talk` over the channel that target's ConnectionKind names.
    // False, without running it, when no channel serves that kind.
    virtual bool Talk(PrinterTarget* target, const std::function<void(PrinterChannel&)>& talk) = 0;

    // The LAN channel's failures told since the last call, as bits
    // (1 << LanFailure); 0 for none.
    virtual unsigned TakeLanFailures() = 0;

    // The conversation's fixed waits and its answer log.
    virtual void Wait(unsigned milliseconds) = 0;
    virtual void LogAnswer(const unsigned char* bytes, int length) = 0;

    // Whether `path` is a folder; the settings file written whole (a failure
    // leaves an old file as it was).
    virtual bool IsFolder(const std::string& path) = 0;
    virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
    // `file` in `folder`, joined with the system's separator.
    virtual std::string PathInFolder(const std::string& folder, const std::string& file) = 0;
};

enum FleetCommand { FleetRead, FleetWrite, FleetVerify };

struct FleetRequest {
    FleetCommand command = FleetRead;
    std::vector<std::string> printers;  // as given, code page 932
    std::string folder;                 // read: where the files go
    std::string fileName;               // write, verify: the file, as given
    SettingsRecord record = {};         // write, verify: the file's settings, checked sound
};

// One printer's report.
struct PrinterReport {
    std::string name;
    PrinterOutcome outcome = OutcomeOk;
    std::string file;                   // read: the file written (or meant)
    int itemCount = 0;                  // differing items, or values outside their lists
    std::vector<int> items;             // their record indexes (the first KeptValueErrors)
    bool notRecovered = false;          // a conversation left open could not be repaired
    bool lanCloseFailed = false;        // the LAN library could not be let go afterwards
    bool ok() const { return outcome == OutcomeOk; }
};

// Why a command did nothing at all.
enum BadInput {
    InputSound,
    InputUnknownPrinter,   // detail: the names
    InputPrinterTwice,     // detail: the name
    InputSameFile,         // detail: both names and the file
    InputNotFolder,        // detail: the folder
    InputBadFile,          // detail: the file (its problems are told by the caller)
};

struct FleetRun {
    BadInput badInput = InputSound;
    std::vector<std::string> detail;
    std::vector<PrinterReport> reports;
    int Succeeded() const;
    int Failed() const;
};

// The file name (without folder) that `printerName`'s settings are read
// into: the name with ".vd6", made safe for a file system. Characters that
// no file name may hold (\ / : * ? " < > |, control bytes) become '_',
// trailing blanks and dots become '_', a device name (CON, PRN, AUX, NUL,
// COM1-9, LPT1-9, with or without an extension) gets a leading '_', the
// name is cut at a character boundary to at most 200 bytes, and an empty
// name becomes "_". Double-byte characters stay whole, whatever their
// second byte (0x5C, the backslash, included).
std::string SettingsFileNameFor(const std::string& printerName);

// Whether two names are the same to a file system that ignores the case of
// ASCII letters (the second byte of a double-byte character is never
// folded).
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

// Runs the command printer by printer. `done` (when given) is called with
// each report as soon as that printer is finished. Nothing reaches a
// printer unless every name is known, none is given twice and (read) the
// folder and file names are sound; otherwise *run says why.
FleetRun RunFleet(const FleetRequest& request, PrinterSystem& system,
                  const std::function<void(const PrinterReport&)>& done = nullptr);

// The line of one report: "NAME: OK" or "NAME: reason", ended by LF.
std::string ReportLine(const PrinterReport& report, FleetCommand command, ConsoleLanguage language);
// "N printers: S succeeded, F failed", ended by LF.
std::string SummaryLine(const FleetRun& run, ConsoleLanguage language);
// The lines that say why nothing was done (empty for InputSound and
// InputBadFile, whose problems the caller tells).
std::string BadInputText(const FleetRun& run, ConsoleLanguage language);

// Code page 932 text as UTF-16 code units; false when the platform cannot
// convert it (then a plain rule is used: ASCII and half-width katakana
// kept, every other character U+FFFD).
typedef bool (*Cp932Decoder)(const std::string& text, std::u16string* units);

// `text` (code page 932) as a JSON string, quotes included, in ASCII only:
// quote, backslash and control characters escaped, everything beyond ASCII
// as \uXXXX from `decode`.
std::string JsonString(const std::string& text, Cp932Decoder decode);

// The whole run as one JSON object: command, file or folder, language,
// whether all succeeded, each printer's name, ok, reason code, message (its
// line's text), file (read), items (their names); the counts; or, for a
// command that did nothing, its error code and message.
std::string FleetJson(const FleetRequest& request, const FleetRun& run, ConsoleLanguage language,
                      Cp932Decoder decode);
