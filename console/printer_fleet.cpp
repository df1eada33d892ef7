#include "console/printer_fleet.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/cp932_text.h"
#include "link/choice/port_rules.h"
#include "link/choice/printer_readiness.h"
#include "link/lan/lan_rules.h"
#include "panel/core/conversation.h"

namespace {

struct OutcomeRow {
    PrinterOutcome outcome;
    const char* code;
    ConsoleText text;
};

const OutcomeRow kOutcomes[] = {
    {OutcomeOk, "ok", TextResultOk},
    {OutcomeUnknownPrinter, "unknown-printer", TextReasonUnknownPrinter},
    {OutcomeUnsupportedDriver, "unsupported-driver", TextReasonUnsupportedDriver},
    {OutcomeDeleted, "printer-deleted", TextReasonDeleted},
    {OutcomeStateUnreadable, "state-unreadable", TextReasonStateUnreadable},
    {OutcomeOutOfMemory, "out-of-memory", TextReasonOutOfMemory},
    {OutcomeFilePort, "file-port", TextReasonFilePort},
    {OutcomePaused, "paused", TextReasonPaused},
    {OutcomeBidiOff, "bidi-off", TextReasonBidiOff},
    {OutcomeOffline, "offline", TextReasonOffline},
    {OutcomeSeparator, "separator-page", TextReasonSeparator},
    {OutcomeOtherPort, "other-port", TextReasonOtherPort},
    {OutcomeIppPort, "ipp-port", TextReasonIppPort},
    {OutcomeJobsQueued, "jobs-queued", TextReasonJobsQueued},
    {OutcomeNoChannel, "no-channel", TextReasonNoChannel},
    {OutcomeLanLibrary, "lan-library", TextReasonLanLibrary},
    {OutcomeLanNoAnswer, "lan-no-answer", TextReasonLanNoAnswer},
    {OutcomeNoAnswer, "no-answer", TextReasonNoAnswer},
    {OutcomeAnswerUnreadable, "answer-unreadable", TextReasonAnswerUnreadable},
    {OutcomeOtherModel, "other-model", TextReasonOtherModel},
    {OutcomeValueErrors, "value-errors", TextReasonValueErrors},
    {OutcomeFileUnwritable, "file-unwritable", TextReasonFileUnwritable},
    {OutcomeDiffers, "differs", TextReasonDiffers},
};
static_assert(sizeof kOutcomes / sizeof kOutcomes[0] == OutcomeCount, "one row per outcome");

const OutcomeRow& RowOf(PrinterOutcome outcome) {
    for (const OutcomeRow& row : kOutcomes)
        if (row.outcome == outcome) return row;
    return kOutcomes[OutcomeNoAnswer];
}

// printf into a string of the length the text needs: nothing is cut.
std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out;
    if (needed > 0) {
        out.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(&out[0], out.size(), format, again);
        out.resize(static_cast<std::size_t>(needed));
    }
    va_end(again);
    return out;
}

// Item names shown in a line: the first few, then "...".
const int kNamedItems = 8;

std::string ItemName(int item) {
    const char* name = SettingItems[item].name;
    std::size_t n = std::strlen(name);
    if (n > FieldWidth) n = FieldWidth;
    while (n > 0 && name[n - 1] == ' ') --n;
    return std::string(name, n);
}

std::string ItemList(const PrinterReport& report) {
    std::string list;
    const int shown = static_cast<int>(report.items.size()) < kNamedItems ? static_cast<int>(report.items.size())
                                                                           : kNamedItems;
    for (int i = 0; i < shown; ++i) list += (i ? ", " : "") + ItemName(report.items[static_cast<std::size_t>(i)]);
    if (report.itemCount > shown) list += ", ...";
    return list;
}

// The report's text after "NAME: ", without the line end.
std::string ResultText(const PrinterReport& report, FleetCommand command, ConsoleLanguage language) {
    std::string text;
    switch (report.outcome) {
    case OutcomeOk:
        text = command == FleetRead     ? Format(ConsoleFormat(TextResultSaved, language), report.file.c_str())
               : command == FleetVerify ? std::string(ConsoleFormat(TextResultSame, language))
                                        : std::string(ConsoleFormat(TextResultOk, language));
        break;
    case OutcomeValueErrors:
    case OutcomeDiffers:
        text = Format(ConsoleFormat(RowOf(report.outcome).text, language), report.itemCount, ItemList(report).c_str());
        break;
    case OutcomeFileUnwritable:
        text = Format(ConsoleFormat(TextReasonFileUnwritable, language), report.file.c_str());
        break;
    default:
        text = ConsoleFormat(RowOf(report.outcome).text, language);
        break;
    }
    if (report.notRecovered) text += ConsoleFormat(TextNoteNotRecovered, language);
    if (report.lanCloseFailed) text += ConsoleFormat(TextNoteLanClose, language);
    return text;
}

// The channel as the conversation uses it, noting which of its steps
// failed, so that the report can say why in words of its own.
class ObservedChannel : public PrinterChannel {
public:
    explicit ObservedChannel(PrinterChannel& inner) : inner_(inner) {}

    ChannelKind Kind() const override { return inner_.Kind(); }
    bool Prepare() override {
        const bool ready = inner_.Prepare();
        if (!ready) prepareFailed = true;
        return ready;
    }
    bool Begin(const char** errorText) override {
        const char* text = nullptr;
        const bool begun = inner_.Begin(&text);
        if (errorText) *errorText = text;
        if (!begun) {
            beginFailed = true;
            beginText = text;
        }
        return begun;
    }
    ChannelReply Send(const void* bytes, int length) override { return Note(inner_.Send(bytes, length)); }
    ChannelReply Receive(unsigned char* answer, int* length) override { return Note(inner_.Receive(answer, length)); }
    void End() override { inner_.End(); }

    bool prepareFailed = false;
    bool beginFailed = false;
    const char* beginText = nullptr;
    bool requestFailed = false;

private:
    ChannelReply Note(ChannelReply reply) {
        if (reply != ReplyDone) requestFailed = true;
        return reply;
    }
    PrinterChannel& inner_;
};

class ConsoleHost : public ConversationHost {
public:
    explicit ConsoleHost(PrinterSystem& system) : system_(system) {}
    void Wait(unsigned milliseconds) override { system_.Wait(milliseconds); }
    // Nobody to ask: the outcome keeps the items, and the report names them.
    void ValueError(int) override {}
    void LogAnswer(const unsigned char* bytes, int length) override { system_.LogAnswer(bytes, length); }

private:
    PrinterSystem& system_;
};

// One printer's records, as the panel's process-wide ones are for its
// chosen printer: each printer starts with nothing left open.
struct PrinterRecords {
    SettingsRecord current = {};
    SettingsRecord received = {};
    ConsumablesCounters counters = {};
    std::uint32_t detectedModel = 0;
    unsigned char version[12] = {};
    bool cancelPending = false;

    ConversationRecords For(const PrinterTarget& target) {
        return ConversationRecords{&current, &received,      &counters,   &detectedModel,
                                   version,  &cancelPending, target.Model, target.PortName};
    }
};

PrinterOutcome OutcomeOfConversation(const ConversationOutcome& outcome, const ObservedChannel& channel) {
    if (outcome.result == 1) return OutcomeOk;
    if (outcome.result == -1) return OutcomeOtherModel;
    if (channel.prepareFailed) return OutcomeNoChannel;
    if (channel.beginFailed) {
        switch (LanFailureOfText(channel.beginText)) {
        case LanInitFailed:
            return OutcomeLanLibrary;
        case LanNoAnswer:
            return OutcomeLanNoAnswer;
        default:
            return OutcomeNoChannel;
        }
    }
    return channel.requestFailed ? OutcomeNoAnswer : OutcomeAnswerUnreadable;
}

void NoteItems(PrinterReport* report, PrinterOutcome outcome, int count, const int* items) {
    report->outcome = outcome;
    report->itemCount = count;
    const int kept = count < KeptValueErrors ? count : KeptValueErrors;
    report->items.assign(items, items + kept);
}

// The conversation with one printer whose checks passed.
void Converse(const FleetRequest& request, PrinterSystem& system, PrinterTarget& target, PrinterReport* report) {
    PrinterRecords records;
    if (request.command == FleetWrite) records.current = request.record;
    ConversationRecords view = records.For(target);
    ConsoleHost host(system);
    ConversationOutcome outcome = {};
    PrinterOutcome result = OutcomeNoChannel;
    system.TakeLanFailures();  // only this printer's count
    const bool talked = system.Talk(&target, [&](PrinterChannel& channel) {
        ObservedChannel observed(channel);
        if (request.command == FleetWrite)
            RunWrite(WriteSettings, observed, view, host, &outcome);
        else
            RunRead(ReadModelAndSettings, observed, view, host, &outcome);
        result = OutcomeOfConversation(outcome, observed);
        // The tool will not talk to this printer again: a conversation left
        // open is repaired now, as the panel does at its exit.
        if (records.cancelPending) {
            ObservedChannel again(channel);
            ConversationOutcome repair = {};
            RunExitCancel(again, view, &repair);
            report->notRecovered = repair.result != 1;
        }
    });
    report->lanCloseFailed = (system.TakeLanFailures() & (1u << LanCloseFailed)) != 0;
    report->outcome = talked ? result : OutcomeNoChannel;
    if (!report->ok()) return;

    if (request.command != FleetWrite && outcome.valueErrorCount > 0)
        return NoteItems(report, OutcomeValueErrors, outcome.valueErrorCount, outcome.valueErrorItems);
    if (request.command == FleetRead) {
        const std::string bytes(reinterpret_cast<const char*>(records.current.value), SettingCount);
        if (!system.WriteWholeFile(report->file, bytes)) report->outcome = OutcomeFileUnwritable;
        return;
    }
    if (request.command == FleetVerify) {
        int differing[SettingCount];
        int count = 0;
        for (int i = 0; i < SettingCount; ++i)
            if (records.current.value[i] != request.record.value[i]) differing[count++] = i;
        if (count) NoteItems(report, OutcomeDiffers, count, differing);
    }
}

PrinterReport RunOne(const FleetRequest& request, PrinterSystem& system, const std::string& name, int found,
                     PrinterTarget& target, const std::string& file) {
    PrinterReport report;
    report.name = name;
    report.file = file;
    if (found != RecordRead) {
        report.outcome = found == RecordUnreadable ? OutcomeStateUnreadable : OutcomeOutOfMemory;
        return report;
    }
    if (target.Model == ModelUnsupported) {
        report.outcome = OutcomeUnsupportedDriver;
        return report;
    }
    // Read again at its turn: the printers before it took their time.
    const int readiness = system.Check(&target);  // leaves the refusal in ConnectionKind
    report.outcome = OutcomeOfReadiness(readiness, target.ConnectionKind);
    if (report.ok() && IsInternetPrintingPort(target.PortName)) report.outcome = OutcomeIppPort;
    if (report.ok()) Converse(request, system, target, &report);
    return report;
}

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

unsigned char Folded(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c; }

bool IsDeviceName(const std::string& name) {
    // The part before the first dot, without trailing blanks, is what counts.
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = static_cast<char>(Folded(static_cast<unsigned char>(c)));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) && stem[3] >= '1' &&
           stem[3] <= '9';
}

// Code page 932 as UTF-16 by the plain rule: ASCII and half-width
// katakana as they are, every other character U+FFFD.
std::u16string PlainDecode(const std::string& text) {
    std::u16string units;
    std::size_t at = 0;
    while (at < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        std::size_t length = Cp932CharLength(text.c_str() + at);
        if (length == 0) length = 1;  // a lone lead byte at the end
        if (length == 1 && c < 0x80)
            units += static_cast<char16_t>(c);
        else if (length == 1 && c >= 0xA1 && c <= 0xDF)
            units += static_cast<char16_t>(0xFF61 + (c - 0xA1));
        else
            units += static_cast<char16_t>(0xFFFD);
        at += length;
    }
    return units;
}

std::string JsonItems(const PrinterReport& report) {
    std::string out = "[";
    for (std::size_t i = 0; i < report.items.size(); ++i)
        out += (i ? ", " : "") + JsonString(ItemName(report.items[i]), nullptr);
    return out + "]";
}

const char* CommandName(FleetCommand command) {
    return command == FleetRead ? "read" : command == FleetWrite ? "write" : "verify";
}

const char* BadInputCode(BadInput bad) {
    switch (bad) {
    case InputUnknownPrinter:
        return "unknown-printer";
    case InputPrinterTwice:
        return "printer-twice";
    case InputSameFile:
        return "same-file-name";
    case InputNotFolder:
        return "not-a-folder";
    case InputBadFile:
        return "bad-file";
    default:
        return "";
    }
}

}  // namespace

const char* OutcomeCode(PrinterOutcome outcome) { return RowOf(outcome).code; }

PrinterOutcome OutcomeOfReadiness(int readiness, int connectionKind) {
    switch (readiness) {
    case PrinterReady:
        return OutcomeOk;
    case PrinterJobsQueued:
        return OutcomeJobsQueued;
    case PrinterDeleted:
        return OutcomeDeleted;
    case PrinterStateUnreadable:
        return OutcomeStateUnreadable;
    case PrinterCheckOutOfMemory:
        return OutcomeOutOfMemory;
    default:
        break;
    }
    switch (connectionKind) {
    case RefuseFilePort:
        return OutcomeFilePort;
    case RefusePaused:
        return OutcomePaused;
    case RefuseBidiOff:
        return OutcomeBidiOff;
    case RefuseOffline:
        return OutcomeOffline;
    case RefuseSeparator:
        return OutcomeSeparator;
    default:
        return OutcomeOtherPort;
    }
}

int FleetRun::Succeeded() const {
    int n = 0;
    for (const PrinterReport& report : reports) n += report.ok() ? 1 : 0;
    return n;
}

int FleetRun::Failed() const { return static_cast<int>(reports.size()) - Succeeded(); }

std::string SettingsFileNameFor(const std::string& printerName) {
    const std::size_t kMaxBytes = 200;
    std::string name;
    std::size_t at = 0;
    while (at < printerName.size()) {
        const char* here = printerName.c_str() + at;
        const std::size_t length = Cp932CharLength(here);
        if (length == 0 && *here == '\0') {  // a NUL inside the text
            name += '_';
            ++at;
            continue;
        }
        std::string character;
        if (length == 2) {
            character.assign(here, 2);
        } else {
            const unsigned char c = static_cast<unsigned char>(*here);
            // A lone lead byte at the end cannot begin a character either.
            const bool unsafe = length == 0 || c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c) != nullptr;
            character.assign(1, unsafe ? '_' : static_cast<char>(c));
        }
        if (name.size() + character.size() > kMaxBytes) break;
        name += character;
        at += length ? length : 1;
    }
    // Trailing blanks and dots would be dropped by the file system.
    for (std::size_t i = name.size(); i > 0 && (name[i - 1] == ' ' || name[i - 1] == '.'); --i) {
        // Only single-byte characters: the second byte of a double-byte one
        // is never a blank or a dot.
        name[i - 1] = '_';
    }
    if (name.empty()) name = "_";
    if (IsDeviceName(name)) name = "_" + name;
    return name + ".vd6";
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const std::size_t la = Cp932CharLength(a.c_str() + i), lb = Cp932CharLength(b.c_str() + j);
        const std::size_t na = la ? la : 1, nb = lb ? lb : 1;
        if (na != nb) return false;
        if (na == 1) {
            const unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
            if (IsAsciiLetter(ca) ? Folded(ca) != Folded(cb) : ca != cb) return false;
        } else if (a.compare(i, 2, b, j, 2) != 0) {
            return false;
        }
        i += na;
        j += nb;
    }
    return i == a.size() && j == b.size();
}

FleetRun RunFleet(const FleetRequest& request, PrinterSystem& system,
                  const std::function<void(const PrinterReport&)>& done) {
    FleetRun run;
    const std::vector<std::string>& names = request.printers;
    for (std::size_t i = 0; i < names.size(); ++i)
        for (std::size_t j = i + 1; j < names.size(); ++j)
            if (SameNameIgnoringCase(names[i], names[j])) {
                run.badInput = InputPrinterTwice;
                run.detail.assign(1, names[j]);
                return run;
            }

    std::vector<PrinterTarget> targets(names.size());
    std::vector<int> found(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        found[i] = system.Find(names[i], &targets[i]);
        if (found[i] == RecordNoPrinter) run.detail.push_back(names[i]);
    }
    if (!run.detail.empty()) {
        run.badInput = InputUnknownPrinter;
        return run;
    }

    std::vector<std::string> files(names.size());
    if (request.command == FleetRead) {
        if (!system.IsFolder(request.folder)) {
            run.badInput = InputNotFolder;
            run.detail.assign(1, request.folder);
            return run;
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            files[i] = SettingsFileNameFor(names[i]);
            for (std::size_t j = 0; j < i; ++j)
                if (SameNameIgnoringCase(files[i], files[j])) {
                    run.badInput = InputSameFile;
                    run.detail = {names[j], names[i], files[i]};
                    return run;
                }
        }
        for (std::string& file : files) file = system.PathInFolder(request.folder, file);
    }

    for (std::size_t i = 0; i < names.size(); ++i) {
        run.reports.push_back(RunOne(request, system, names[i], found[i], targets[i], files[i]));
        if (done) done(run.reports.back());
    }
    return run;
}

std::string ReportLine(const PrinterReport& report, FleetCommand command, ConsoleLanguage language) {
    return Format(ConsoleFormat(TextPrinterLine, language), report.name.c_str(),
                  ResultText(report, command, language).c_str());
}

std::string SummaryLine(const FleetRun& run, ConsoleLanguage language) {
    return Format(ConsoleFormat(TextSummary, language), static_cast<int>(run.reports.size()), run.Succeeded(),
                  run.Failed());
}

std::string BadInputText(const FleetRun& run, ConsoleLanguage language) {
    std::string text;
    switch (run.badInput) {
    case InputUnknownPrinter:
        for (const std::string& name : run.detail)
            text += Format(ConsoleFormat(TextBadUnknownPrinter, language), name.c_str());
        break;
    case InputPrinterTwice:
        text = Format(ConsoleFormat(TextBadPrinterTwice, language), run.detail.at(0).c_str());
        break;
    case InputSameFile:
        text = Format(ConsoleFormat(TextBadSameFile, language), run.detail.at(0).c_str(), run.detail.at(1).c_str(),
                      run.detail.at(2).c_str());
        break;
    case InputNotFolder:
        text = Format(ConsoleFormat(TextBadNotFolder, language), run.detail.at(0).c_str());
        break;
    case InputBadFile:
        for (const std::string& line : run.detail) text += line;
        break;
    default:
        break;
    }
    return text;
}

std::string JsonString(const std::string& text, Cp932Decoder decode) {
    std::u16string units;
    if (!decode || !decode(text, &units)) units = PlainDecode(text);
    std::string out = "\"";
    for (char16_t unit : units) {
        switch (unit) {
        case u'"':
            out += "\\\"";
            break;
        case u'\\':
            out += "\\\\";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        default:
            if (unit >= 0x20 && unit < 0x7F)
                out += static_cast<char>(unit);
            else
                out += Format("\\u%04x", static_cast<unsigned>(unit));
            break;
        }
    }
    return out + "\"";
}

std::string FleetJson(const FleetRequest& request, const FleetRun& run, ConsoleLanguage language,
                      Cp932Decoder decode) {
    std::string out = "{\"command\": \"" + std::string(CommandName(request.command)) + "\"";
    if (request.command == FleetRead)
        out += ", \"folder\": " + JsonString(request.folder, decode);
    else
        out += ", \"file\": " + JsonString(request.fileName, decode);
    out += std::string(", \"language\": \"") + (language == LanguageJapanese ? "ja" : "en") + "\"";
    if (run.badInput != InputSound) {
        std::string message = BadInputText(run, language);
        while (!message.empty() && message.back() == '\n') message.pop_back();
        out += ", \"ok\": false, \"error\": \"" + std::string(BadInputCode(run.badInput)) + "\", \"message\": " +
               JsonString(message, decode) + ", \"names\": [";
        for (std::size_t i = 0; i < run.detail.size() && run.badInput != InputBadFile; ++i)
            out += (i ? ", " : "") + JsonString(run.detail[i], decode);
        return out + "]}\n";
    }
    out += std::string(", \"ok\": ") + (run.Failed() == 0 ? "true" : "false") + ",\n \"printers\": [";
    for (std::size_t i = 0; i < run.reports.size(); ++i) {
        const PrinterReport& report = run.reports[i];
        out += std::string(i ? ",\n  " : "\n  ") + "{\"name\": " + JsonString(report.name, decode) +
               ", \"ok\": " + (report.ok() ? "true" : "false") + ", \"reason\": \"" + OutcomeCode(report.outcome) +
               "\", \"message\": " + JsonString(ResultText(report, request.command, language), decode);
        if (request.command == FleetRead) out += ", \"file\": " + JsonString(report.file, decode);
        if (report.itemCount > 0)
            out += Format(", \"itemCount\": %d, \"items\": ", report.itemCount) + JsonItems(report);
        out += "}";
    }
    out += Format("],\n \"succeeded\": %d, \"failed\": %d}\n", run.Succeeded(), run.Failed());
    return out;
}
