// The console tool's printer commands without the platform: the file names
// made from printer names, the JSON of code page 932 names, the result
// lines, and read, write and verify over several printers whose channels
// lead to printer emulators in this process.
#include "console/printer_fleet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "console/console_platform.h"
#include "console/veldra6c.h"
#include "link/choice/port_rules.h"
#include "link/choice/printer_readiness.h"
#include "link/lan/lan_rules.h"
#include "tests/core/json_reader.h"
#include "tools/printer_emu/emulator_channel.h"

namespace {

const ConsoleLanguage kEnglish = LanguageEnglish;
const ConsoleLanguage kJapanese = LanguageJapanese;

// Code page 932 bytes of a few characters (the sources are UTF-8 and their
// literals become code page 932; these spell the bytes out).
const std::string kHyou = "\x95\x5C";   // 表: its second byte is a backslash
const std::string kSo = "\x83\x5C";     // ソ
const std::string kHalfA = "\xB1";      // ｱ, half-width katakana

int Index(const char* name) {
    std::string field = name;
    field.resize(FieldWidth, ' ');
    return FindSettingItem(field.c_str());
}

// ---- file names -----------------------------------------------------------

TEST(SettingsFileName, APlainNameGetsTheExtension) {
    EXPECT_EQ(SettingsFileNameFor("KOA Test LPT"), "KOA Test LPT.vd6");
    EXPECT_EQ(SettingsFileNameFor("koa-2400.office (2F)"), "koa-2400.office (2F).vd6");
}

TEST(SettingsFileName, CharactersNoFileNameMayHoldBecomeUnderscores) {
    EXPECT_EQ(SettingsFileNameFor("\\\\server\\printer"), "__server_printer.vd6");
    EXPECT_EQ(SettingsFileNameFor("a:b*c?d\"e<f>g|h/i"), "a_b_c_d_e_f_g_h_i.vd6");
    EXPECT_EQ(SettingsFileNameFor(std::string("tab\there\x01\x7F")), "tab_here__.vd6");
    EXPECT_EQ(SettingsFileNameFor(std::string("nul\0inside", 10)), "nul_inside.vd6");
}

TEST(SettingsFileName, DoubleByteCharactersStayWholeWhateverTheirSecondByte) {
    EXPECT_EQ(SettingsFileNameFor("KOA " + kHyou + kSo + " LAN"), "KOA " + kHyou + kSo + " LAN.vd6");
    EXPECT_EQ(SettingsFileNameFor(kHalfA + "\\" + kHyou), kHalfA + "_" + kHyou + ".vd6");
    // A lone lead byte at the end is no character.
    EXPECT_EQ(SettingsFileNameFor("end\x95"), "end_.vd6");
}

TEST(SettingsFileName, TrailingBlanksAndDotsAndDeviceNamesAreMadeSafe) {
    EXPECT_EQ(SettingsFileNameFor("Printer. "), "Printer__.vd6");
    EXPECT_EQ(SettingsFileNameFor("..."), "___.vd6");
    EXPECT_EQ(SettingsFileNameFor(""), "_.vd6");
    EXPECT_EQ(SettingsFileNameFor("LPT1"), "_LPT1.vd6");
    EXPECT_EQ(SettingsFileNameFor("con"), "_con.vd6");
    EXPECT_EQ(SettingsFileNameFor("Nul.old"), "_Nul.old.vd6");
    EXPECT_EQ(SettingsFileNameFor("COM9 "), "COM9_.vd6") << "the blank is made safe first";
    EXPECT_EQ(SettingsFileNameFor("LPT10"), "LPT10.vd6");
    EXPECT_EQ(SettingsFileNameFor("COM0"), "COM0.vd6");
    EXPECT_EQ(SettingsFileNameFor("CONSOLE"), "CONSOLE.vd6");
}

TEST(SettingsFileName, ALongNameIsCutBetweenCharacters) {
    std::string name;
    for (int i = 0; i < 127; ++i) name += kHyou;  // 254 bytes
    const std::string file = SettingsFileNameFor("x" + name);
    ASSERT_LE(file.size(), 200u + 4);
    EXPECT_EQ(file.substr(file.size() - 4), ".vd6");
    const std::string stem = file.substr(0, file.size() - 4);
    EXPECT_EQ(stem.size(), 199u) << "one byte and 99 whole characters";
    EXPECT_EQ(stem.substr(1), name.substr(0, 198));
}

TEST(SettingsFileName, SameNamesIgnoreTheCaseOfAsciiLettersOnly) {
    EXPECT_TRUE(SameNameIgnoringCase("KOA Test.vd6", "koa tEST.VD6"));
    EXPECT_FALSE(SameNameIgnoringCase("KOA Test.vd6", "KOA Test2.vd6"));
    // 0x83 0x41 and 0x83 0x61 are two katakana: their second bytes are not letters.
    EXPECT_FALSE(SameNameIgnoringCase("\x83\x41", "\x83\x61"));
    EXPECT_TRUE(SameNameIgnoringCase(kHyou + "a", kHyou + "A"));
}

// ---- JSON -----------------------------------------------------------------

TEST(FleetJsonText, QuotesBackslashesAndControlsAreEscapedAndTheRestIsAscii) {
    EXPECT_EQ(JsonString("a\"b\\c", Cp932ToUtf16), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("\\\\server\\p", Cp932ToUtf16), "\"\\\\\\\\server\\\\p\"");
    EXPECT_EQ(JsonString(std::string("x\n\ty\x01"), Cp932ToUtf16), "\"x\\n\\ty\\u0001\"");
}

TEST(FleetJsonText, DoubleByteNamesBecomeTheirCharactersNotTheirBytes) {
    // The second byte of 表 is a backslash: it must not be escaped as one.
    EXPECT_EQ(JsonString("KOA " + kHyou + kSo, Cp932ToUtf16), "\"KOA \\u8868\\u30bd\"");
    EXPECT_EQ(JsonString(kHalfA, Cp932ToUtf16), "\"\\uff71\"");
    // Without a converter: ASCII and half-width katakana kept, the rest
    // replaced, and still no stray backslash.
    EXPECT_EQ(JsonString("A" + kHyou + kHalfA, nullptr), "\"A\\ufffd\\uff71\"");
    std::string error;
    JsonValue value;
    ASSERT_TRUE(JsonReader::Parse(JsonString(kHyou + "\\" + kSo, Cp932ToUtf16), &value, &error)) << error;
    EXPECT_EQ(value.text, u8"表\\ソ");
}

TEST(LanFailureTexts, EachFailureIsKnownByItsTextAndNoOtherTextIsOne) {
    for (LanFailure failure : {LanInitFailed, LanNoAnswer, LanReceiveFailed, LanSendFailed, LanCloseFailed}) {
        const std::string copy = LanFailureText(failure);  // another pointer, the same text
        EXPECT_EQ(LanFailureOfText(copy.c_str()), failure);
    }
    EXPECT_STREQ(LanFailureText(LanNoAnswer), LanNoAnswerText);
    EXPECT_EQ(LanFailureOfText(nullptr), -1);
    EXPECT_EQ(LanFailureOfText("the library cannot be loaded"), -1);
}

// ---- lines ----------------------------------------------------------------

PrinterReport Report(const char* name, PrinterOutcome outcome) {
    PrinterReport report;
    report.name = name;
    report.outcome = outcome;
    return report;
}

TEST(FleetLines, OneLinePerPrinterWithItsResultInPlainWords) {
    PrinterReport read = Report("KOA LPT", OutcomeOk);
    read.file = "out/KOA LPT.vd6";
    EXPECT_EQ(ReportLine(read, FleetRead, kEnglish), "KOA LPT: OK, saved as out/KOA LPT.vd6\n");
    EXPECT_EQ(ReportLine(Report("P", OutcomeOk), FleetWrite, kEnglish), "P: OK\n");
    EXPECT_EQ(ReportLine(Report("P", OutcomeOk), FleetVerify, kEnglish), "P: OK, the same as the file\n");
    EXPECT_EQ(ReportLine(Report("P", OutcomeNoAnswer), FleetWrite, kEnglish), "P: no answer from the printer\n");
    EXPECT_EQ(ReportLine(Report("P", OutcomePaused), FleetRead, kEnglish), "P: the printer is paused\n");
    EXPECT_EQ(ReportLine(Report("P", OutcomeNoAnswer), FleetWrite, kJapanese),
              "P: プリンターからの応答がありません\n");
    PrinterReport notes = Report("P", OutcomeNoAnswer);
    notes.notRecovered = true;
    notes.lanCloseFailed = true;
    EXPECT_EQ(ReportLine(notes, FleetWrite, kEnglish),
              "P: no answer from the printer (and it could not be taken out of the unfinished command)"
              " (the network library could not be closed)\n");
}

TEST(FleetLines, DifferencesNameTheFirstItemsAndCountThemAll) {
    PrinterReport differs = Report("P", OutcomeDiffers);
    differs.itemCount = 2;
    differs.items = {0, Index("STANDBY")};
    EXPECT_EQ(ReportLine(differs, FleetVerify, kEnglish), "P: 2 items differ from the file: FRC-LFVA, STANDBY\n");
    differs.itemCount = 12;
    differs.items.assign(12, 0);
    const std::string line = ReportLine(differs, FleetVerify, kEnglish);
    EXPECT_EQ(line.substr(0, 31), "P: 12 items differ from the fil");
    EXPECT_EQ(line.substr(line.size() - 14), "FRC-LFVA, ...\n");
}

TEST(FleetLines, EveryOutcomeHasACodeAndATextInBothLanguages) {
    std::set<std::string> codes;
    for (int i = 0; i < OutcomeCount; ++i) {
        const PrinterOutcome outcome = static_cast<PrinterOutcome>(i);
        EXPECT_TRUE(codes.insert(OutcomeCode(outcome)).second) << OutcomeCode(outcome);
        PrinterReport report = Report("P", outcome);
        report.file = "f.vd6";
        for (ConsoleLanguage language : {kEnglish, kJapanese}) {
            const std::string line = ReportLine(report, FleetWrite, language);
            EXPECT_GE(line.size(), 6u) << i;  // "P: OK" and its line end at least
            EXPECT_EQ(line.find('%'), std::string::npos) << line;
        }
        if (outcome != OutcomeOk) {
            EXPECT_NE(ReportLine(report, FleetWrite, kEnglish), ReportLine(report, FleetWrite, kJapanese)) << i;
        }
    }
    FleetRun run;
    run.reports = {Report("A", OutcomeOk), Report("B", OutcomeNoAnswer), Report("C", OutcomeOk)};
    EXPECT_EQ(SummaryLine(run, kEnglish), "3 printers: 2 succeeded, 1 failed\n");
    EXPECT_EQ(SummaryLine(run, kJapanese), "プリンター3台: 成功2台、失敗1台\n");
}

TEST(FleetLines, ReadinessMapsToTheRefusalThePanelWouldShow) {
    EXPECT_EQ(OutcomeOfReadiness(PrinterReady, 0), OutcomeOk);
    EXPECT_EQ(OutcomeOfReadiness(PrinterJobsQueued, 0), OutcomeJobsQueued);
    EXPECT_EQ(OutcomeOfReadiness(PrinterDeleted, 16), OutcomeDeleted);
    EXPECT_EQ(OutcomeOfReadiness(PrinterStateUnreadable, 0), OutcomeStateUnreadable);
    EXPECT_EQ(OutcomeOfReadiness(PrinterCheckOutOfMemory, 0), OutcomeOutOfMemory);
    EXPECT_EQ(OutcomeOfReadiness(PrinterRefused, 2), OutcomeFilePort);
    EXPECT_EQ(OutcomeOfReadiness(PrinterRefused, 3), OutcomePaused);
    EXPECT_EQ(OutcomeOfReadiness(PrinterRefused, 4), OutcomeBidiOff);
    EXPECT_EQ(OutcomeOfReadiness(PrinterRefused, 5), OutcomeOffline);
    EXPECT_EQ(OutcomeOfReadiness(PrinterRefused, 6), OutcomeSeparator);
    EXPECT_EQ(OutcomeOfReadiness(PrinterRefused, 16), OutcomeOtherPort);
}

// ---- the commands against emulated printers ------------------------------

// One printer of the fake system: its spooler record, what the checks say,
// and the emulator behind its channel.
struct FakePrinter {
    PrinterTarget target = {};
    int found = RecordRead;
    int readiness = PrinterReady;
    int refusal = 0;  // the ConnectionKind a refusal leaves
    PrinterEmulator emulator;
    std::unique_ptr<EmulatorChannel> channel;
    unsigned lanFailures = 0;  // told by the channel during its conversation
    int cutAnswerAt = -1;      // answers end after this many bytes (-1: whole)
};

// An answer that arrives cut short, as on a link that drops bytes.
class CuttingChannel : public PrinterChannel {
public:
    CuttingChannel(PrinterChannel& inner, int cut) : inner_(inner), cut_(cut) {}
    ChannelKind Kind() const override { return inner_.Kind(); }
    bool Prepare() override { return inner_.Prepare(); }
    bool Begin(const char** errorText) override { return inner_.Begin(errorText); }
    ChannelReply Send(const void* bytes, int length) override { return inner_.Send(bytes, length); }
    ChannelReply Receive(unsigned char* answer, int* length) override {
        const ChannelReply reply = inner_.Receive(answer, length);
        if (*length > cut_) {
            std::memset(answer + cut_, 0, static_cast<std::size_t>(*length - cut_));
            *length = cut_;
        }
        return reply;
    }
    void End() override { inner_.End(); }

private:
    PrinterChannel& inner_;
    int cut_;
};

class FakeSystem : public PrinterSystem {
public:
    FakePrinter& Add(const std::string& name, const std::string& port, ModelCode model, ChannelKind kind) {
        std::unique_ptr<FakePrinter>& printer = printers_[name];
        printer.reset(new FakePrinter);
        std::snprintf(printer->target.PrinterName, sizeof printer->target.PrinterName, "%s", name.c_str());
        std::snprintf(printer->target.PortName, sizeof printer->target.PortName, "%s", port.c_str());
        printer->target.Model = model;
        printer->target.ConnectionKind = kind == ChannelLan ? ConnectLan : ConnectSpooler;
        std::string error;
        EXPECT_TRUE(printer->emulator.LoadItems(KOA_PRINTER_ITEMS_PATH, &error)) << error;
        printer->emulator.SetModel(model == ModelKoa2600MaxR ? "koa260MR" : "koa240MR");
        printer->channel.reset(new EmulatorChannel(printer->emulator, kind));
        return *printer;
    }
    FakePrinter& operator[](const std::string& name) { return *printers_.at(name); }

    int Find(const std::string& name, PrinterTarget* target) override {
        found.push_back(name);
        const auto it = printers_.find(name);
        if (it == printers_.end()) return RecordNoPrinter;
        if (it->second->found == RecordRead) *target = it->second->target;
        return it->second->found;
    }
    int Check(PrinterTarget* target) override {
        FakePrinter& printer = *printers_.at(target->PrinterName);
        checked.push_back(target->PrinterName);
        if (printer.readiness == PrinterRefused) target->ConnectionKind = printer.refusal;
        return printer.readiness;
    }
    bool Talk(PrinterTarget* target, const std::function<void(PrinterChannel&)>& talk) override {
        FakePrinter& printer = *printers_.at(target->PrinterName);
        talked.push_back(target->PrinterName);
        CuttingChannel cutting(*printer.channel, printer.cutAnswerAt);
        if (printer.cutAnswerAt >= 0)
            talk(cutting);
        else
            talk(*printer.channel);
        lanFailures_ |= printer.lanFailures;
        return true;
    }
    unsigned TakeLanFailures() override {
        const unsigned failures = lanFailures_;
        lanFailures_ = 0;
        return failures;
    }
    void Wait(unsigned milliseconds) override { waits.push_back(milliseconds); }
    void LogAnswer(const unsigned char*, int length) override { logged += length; }
    bool IsFolder(const std::string& path) override { return path == "out"; }
    bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
        if (failWrites) return false;
        files[path] = bytes;
        return true;
    }
    std::string PathInFolder(const std::string& folder, const std::string& file) override {
        return folder + "/" + file;
    }

    std::vector<std::string> found, checked, talked;
    std::vector<unsigned> waits;
    std::map<std::string, std::string> files;
    int logged = 0;
    bool failWrites = false;

private:
    std::map<std::string, std::unique_ptr<FakePrinter>> printers_;
    unsigned lanFailures_ = 0;
};

// Three printers as an office has them: two on local ports, one on the network.
class Fleet : public ::testing::Test {
protected:
    void SetUp() override {
        system.Add("KOA LPT", "LPT1:", ModelKoa2400MaxR, ChannelSpooler).emulator.SetValue("FRC-LFVA", "8LPI");
        system.Add("KOA USB", "USB001", ModelKoa2600MaxR, ChannelSpooler).emulator.SetValue("STANDBY", "15min");
        system.Add("KOA " + kHyou + " LAN", "10.0.0.5:lp", ModelKoa2400MaxR, ChannelLan)
            .emulator.SetValue("PATH-MD", "TRACTOR");
        names = {"KOA LPT", "KOA USB", "KOA " + kHyou + " LAN"};
    }

    FleetRun Run(FleetCommand command, const std::vector<std::string>& printers, const SettingsRecord* record = nullptr) {
        FleetRequest request;
        request.command = command;
        request.printers = printers;
        request.folder = "out";
        request.fileName = "office.vd6";
        if (record) request.record = *record;
        lines.clear();
        return RunFleet(request, system, [&](const PrinterReport& report) { lines.push_back(report.name); });
    }

    std::string Value(const std::string& printer, const char* item) { return system[printer].emulator.Value(item); }

    FakeSystem system;
    std::vector<std::string> names;
    std::vector<std::string> lines;
};

std::string Bytes(const SettingsRecord& record) {
    return std::string(reinterpret_cast<const char*>(record.value), SettingCount);
}

SettingsRecord RecordOf(const std::string& bytes) {
    SettingsRecord record;
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(SettingCount));
    std::memcpy(record.value, bytes.data(), SettingCount);
    return record;
}

TEST_F(Fleet, ReadWritesEachPrintersSettingsToAFileOfItsName) {
    const FleetRun run = Run(FleetRead, names);
    ASSERT_EQ(run.badInput, InputSound);
    ASSERT_EQ(run.reports.size(), 3u);
    EXPECT_EQ(run.Succeeded(), 3);
    EXPECT_EQ(lines, names) << "each printer told as it is done, in order";
    ASSERT_EQ(system.files.size(), 3u);
    const SettingsRecord lpt = RecordOf(system.files.at("out/KOA LPT.vd6"));
    const SettingsRecord usb = RecordOf(system.files.at("out/KOA USB.vd6"));
    const SettingsRecord lan = RecordOf(system.files.at("out/KOA " + kHyou + " LAN.vd6"));
    EXPECT_EQ(lpt.value[Index("FRC-LFVA")], 3);  // 8LPI
    EXPECT_EQ(usb.value[Index("STANDBY")], 14);  // 15min
    EXPECT_EQ(lan.value[Index("PATH-MD")], 0);   // TRACTOR
    EXPECT_NE(FactoryDefaults.value[Index("PATH-MD")], 0);
    EXPECT_EQ(lpt.value[Index("STANDBY")], FactoryDefaults.value[Index("STANDBY")]);
    EXPECT_EQ(run.reports[2].file, "out/KOA " + kHyou + " LAN.vd6");
    // The panel's waits, printer by printer: 200 ms before the answer, 1200 after.
    EXPECT_EQ(system.waits, (std::vector<unsigned>{200, 1200, 200, 1200, 200, 1200}));
    EXPECT_GT(system.logged, 3 * 109 * 18) << "every answer logged";
    for (const std::string& name : names) EXPECT_TRUE(system[name].channel->Balanced()) << name;
}

TEST_F(Fleet, WriteCommitsTheFileToEachPrinter) {
    SettingsRecord record;
    CopyFactoryDefaults(&record);
    record.value[Index("STANDBY")] = 29;  // 30min
    const FleetRun run = Run(FleetWrite, names, &record);
    ASSERT_EQ(run.Succeeded(), 3);
    for (const std::string& name : names) {
        EXPECT_EQ(Value(name, "STANDBY"), "30min") << name;
        EXPECT_EQ(Value(name, "FRC-LFVA"), "6LPI") << name;
        EXPECT_TRUE(system[name].emulator.IgnoredLines().empty()) << name;
    }
    EXPECT_EQ(system.waits, (std::vector<unsigned>{2000, 2000, 2000}));
    EXPECT_TRUE(system.files.empty());
}

TEST_F(Fleet, VerifyNamesThePrinterThatDiffersAndItsItems) {
    SettingsRecord record;
    CopyFactoryDefaults(&record);
    ASSERT_EQ(Run(FleetWrite, names, &record).Succeeded(), 3);
    system["KOA USB"].emulator.SetValue("STANDBY", "5min");
    system["KOA USB"].emulator.SetValue("FRC-LFVA", "3LPI");
    const FleetRun run = Run(FleetVerify, names, &record);
    ASSERT_EQ(run.reports.size(), 3u);
    EXPECT_TRUE(run.reports[0].ok());
    EXPECT_EQ(run.reports[1].outcome, OutcomeDiffers);
    EXPECT_EQ(run.reports[1].itemCount, 2);
    EXPECT_EQ(run.reports[1].items, (std::vector<int>{Index("FRC-LFVA"), Index("STANDBY")}));
    EXPECT_TRUE(run.reports[2].ok());
    EXPECT_EQ(ReportLine(run.reports[1], FleetVerify, kEnglish),
              "KOA USB: 2 items differ from the file: FRC-LFVA, STANDBY\n");
    EXPECT_TRUE(system.files.empty()) << "verify writes nothing";
}

TEST_F(Fleet, APrinterThatDoesNotAnswerIsReportedAndTheOthersGoOn) {
    system["KOA USB"].emulator.Faults().noAnswer = true;
    const FleetRun run = Run(FleetRead, names);
    ASSERT_EQ(run.reports.size(), 3u);
    EXPECT_TRUE(run.reports[0].ok());
    EXPECT_EQ(run.reports[1].outcome, OutcomeNoAnswer);
    EXPECT_TRUE(run.reports[2].ok());
    EXPECT_EQ(system.files.size(), 2u);
    EXPECT_EQ(system.files.count("out/KOA USB.vd6"), 0u);
    EXPECT_EQ(run.Failed(), 1);
}

TEST_F(Fleet, TheNetworkPrintersOwnFailuresAreToldInTheirOwnWords) {
    system["KOA " + kHyou + " LAN"].channel->Faults().beginFailsWith = LanNoAnswerText;
    EXPECT_EQ(Run(FleetRead, names).reports[2].outcome, OutcomeLanNoAnswer);
    system["KOA " + kHyou + " LAN"].channel->Faults().beginFailsWith = LanInitFailedText;
    EXPECT_EQ(Run(FleetRead, names).reports[2].outcome, OutcomeLanLibrary);
    system["KOA " + kHyou + " LAN"].channel->Faults().beginFailsWith = nullptr;
    system["KOA " + kHyou + " LAN"].lanFailures = 1u << LanCloseFailed;
    const FleetRun closing = Run(FleetRead, names);
    EXPECT_TRUE(closing.reports[2].ok());
    EXPECT_TRUE(closing.reports[2].lanCloseFailed);
    EXPECT_FALSE(closing.reports[1].lanCloseFailed) << "only the printer it happened to";
    system["KOA LPT"].channel->Faults().prepareFails = true;
    EXPECT_EQ(Run(FleetWrite, names, &FactoryDefaults).reports[0].outcome, OutcomeNoChannel);
}

TEST_F(Fleet, AnotherModelAValueErrorAndAnUnreadableAnswerAreFailures) {
    system["KOA LPT"].emulator.Faults().wrongModel = true;
    system["KOA USB"].emulator.Faults().badKeywordItem = "STANDBY";
    system["KOA " + kHyou + " LAN"].cutAnswerAt = 20;  // the model's echo, and no settings
    const FleetRun run = Run(FleetRead, names);
    ASSERT_EQ(run.reports.size(), 3u);
    EXPECT_EQ(run.reports[0].outcome, OutcomeOtherModel);
    EXPECT_EQ(run.reports[1].outcome, OutcomeValueErrors);
    EXPECT_EQ(run.reports[1].items, std::vector<int>{Index("STANDBY")});
    EXPECT_EQ(run.reports[2].outcome, OutcomeAnswerUnreadable);
    EXPECT_TRUE(system.files.empty()) << "no file of settings the printer does not have";
    EXPECT_EQ(ReportLine(run.reports[1], FleetRead, kEnglish),
              "KOA USB: the printer gave 1 values outside their lists (STANDBY); nothing was saved\n");

    // An answer cut inside an entry leaves that item's value unread.
    system["KOA USB"].emulator.Faults().badKeywordItem.clear();
    system["KOA USB"].emulator.Faults().cutAfterItem = "FRC-LFVA";
    const FleetRun cut = Run(FleetVerify, {"KOA USB"}, &FactoryDefaults);
    EXPECT_EQ(cut.reports[0].outcome, OutcomeValueErrors);
    EXPECT_EQ(cut.reports[0].items, std::vector<int>{Index("FRC-LFVA")});
}

TEST_F(Fleet, AFileThatCannotBeWrittenIsThatPrintersFailure) {
    system.failWrites = true;
    const FleetRun run = Run(FleetRead, {"KOA LPT"});
    ASSERT_EQ(run.reports.size(), 1u);
    EXPECT_EQ(run.reports[0].outcome, OutcomeFileUnwritable);
    EXPECT_EQ(ReportLine(run.reports[0], FleetRead, kEnglish), "KOA LPT: out/KOA LPT.vd6 cannot be written\n");
}

TEST_F(Fleet, TheChecksRefuseAPrinterAsThePanelDoesAndNothingIsSentToIt) {
    system.Add("KOA Other", "LPT2:", ModelUnsupported, ChannelSpooler);
    system.Add("KOA Paused", "LPT3:", ModelKoa2400MaxR, ChannelSpooler).readiness = PrinterRefused;
    system["KOA Paused"].refusal = RefusePaused;
    system.Add("KOA Queue", "USB002", ModelKoa2400MaxR, ChannelSpooler).readiness = PrinterJobsQueued;
    system.Add("KOA IPP", "http://10.0.0.9:631/ipp/USB1", ModelKoa2400MaxR, ChannelSpooler);
    system.Add("KOA Gone", "USB003", ModelKoa2400MaxR, ChannelSpooler).readiness = PrinterDeleted;
    system.Add("KOA Unreadable", "USB004", ModelKoa2400MaxR, ChannelSpooler).found = RecordUnreadable;
    const std::vector<std::string> refused = {"KOA Other", "KOA Paused", "KOA Queue",
                                              "KOA IPP",   "KOA Gone",   "KOA Unreadable"};
    std::vector<std::string> all = refused;
    all.push_back("KOA LPT");
    const FleetRun run = Run(FleetWrite, all, &FactoryDefaults);
    ASSERT_EQ(run.reports.size(), 7u);
    const PrinterOutcome expected[] = {OutcomeUnsupportedDriver, OutcomePaused, OutcomeJobsQueued, OutcomeIppPort,
                                       OutcomeDeleted, OutcomeStateUnreadable, OutcomeOk};
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(run.reports[i].outcome, expected[i]) << all[i];
    for (const std::string& name : refused) EXPECT_EQ(system[name].channel->Begun(), 0) << name;
    EXPECT_EQ(system.talked, std::vector<std::string>{"KOA LPT"});
    // The state is read again at each printer's turn, except where it could not be read at all.
    EXPECT_EQ(system.checked.size(), 5u);
}

TEST_F(Fleet, AConversationLeftOpenIsRepairedBeforeTheToolMovesOn) {
    // The block's closing command fails: the printer may be stuck in setting mode.
    system["KOA LPT"].channel->Faults().failRequest = 3;
    const FleetRun run = Run(FleetWrite, {"KOA LPT", "KOA USB"}, &FactoryDefaults);
    ASSERT_EQ(run.reports.size(), 2u);
    EXPECT_EQ(run.reports[0].outcome, OutcomeNoAnswer);
    EXPECT_FALSE(run.reports[0].notRecovered);
    const std::vector<std::uint8_t>& got = system["KOA LPT"].emulator.Received();
    const std::string received(got.begin(), got.end());
    const std::string recovery = std::string(9, '\r') + "CANCEL  \r";
    EXPECT_EQ(received.substr(received.size() - recovery.size()), recovery);
    EXPECT_EQ(system["KOA LPT"].channel->Begun(), 2) << "the write, then the repair";
    EXPECT_TRUE(system["KOA LPT"].channel->Balanced());
    EXPECT_TRUE(run.reports[1].ok());

    // When even the repair fails, the line says so (a fresh channel: its
    // requests are counted from its start).
    system.Add("KOA LPT", "LPT1:", ModelKoa2400MaxR, ChannelSpooler);
    system["KOA LPT"].channel->Faults().failRequest = 3;
    system["KOA LPT"].channel->Faults().failLaterRequests = true;
    const FleetRun stuck = Run(FleetWrite, {"KOA LPT"}, &FactoryDefaults);
    EXPECT_EQ(stuck.reports[0].outcome, OutcomeNoAnswer);
    EXPECT_TRUE(stuck.reports[0].notRecovered);
}

TEST_F(Fleet, BadInputReachesNoPrinter) {
    FleetRun unknown = Run(FleetWrite, {"KOA LPT", "KOA Nowhere", "KOA USB", "KOA Elsewhere"}, &FactoryDefaults);
    EXPECT_EQ(unknown.badInput, InputUnknownPrinter);
    EXPECT_EQ(unknown.detail, (std::vector<std::string>{"KOA Nowhere", "KOA Elsewhere"}));
    EXPECT_EQ(BadInputText(unknown, kEnglish),
              "KOA Nowhere: no printer of this name is installed; nothing was done\n"
              "KOA Elsewhere: no printer of this name is installed; nothing was done\n");

    const FleetRun twice = Run(FleetVerify, {"KOA LPT", "koa lpt"}, &FactoryDefaults);
    EXPECT_EQ(twice.badInput, InputPrinterTwice);
    EXPECT_EQ(twice.detail, std::vector<std::string>{"koa lpt"});

    system.Add("KOA/LPT", "LPT1:", ModelKoa2400MaxR, ChannelSpooler);
    system.Add("KOA:lpt", "LPT1:", ModelKoa2400MaxR, ChannelSpooler);
    const FleetRun same = Run(FleetRead, {"KOA/LPT", "KOA:lpt"});
    EXPECT_EQ(same.badInput, InputSameFile);
    EXPECT_EQ(BadInputText(same, kEnglish),
              "KOA/LPT and KOA:lpt would both be saved as KOA_lpt.vd6; nothing was done\n");

    FleetRequest request;
    request.command = FleetRead;
    request.printers = {"KOA LPT"};
    request.folder = "missing";
    const FleetRun folder = RunFleet(request, system);
    EXPECT_EQ(folder.badInput, InputNotFolder);

    EXPECT_TRUE(unknown.reports.empty() && twice.reports.empty() && same.reports.empty() && folder.reports.empty());
    EXPECT_TRUE(system.talked.empty());
    EXPECT_TRUE(system.files.empty());
    for (const std::string& name : names) EXPECT_EQ(system[name].channel->Begun(), 0) << name;
}

TEST_F(Fleet, JsonHoldsEveryPrinterWithItsReasonCodeAndEscapedName) {
    system["KOA USB"].emulator.Faults().noAnswer = true;
    FleetRequest request;
    request.command = FleetRead;
    request.printers = names;
    request.folder = "out";
    const FleetRun run = RunFleet(request, system);
    JsonValue json;
    std::string error;
    ASSERT_TRUE(JsonReader::Parse(FleetJson(request, run, kJapanese, Cp932ToUtf16), &json, &error)) << error;
    EXPECT_EQ(json["command"].text, "read");
    EXPECT_EQ(json["folder"].text, "out");
    EXPECT_EQ(json["language"].text, "ja");
    EXPECT_FALSE(json["ok"].boolean);
    EXPECT_EQ(json["succeeded"].number, 2);
    EXPECT_EQ(json["failed"].number, 1);
    const JsonValue& printers = json["printers"];
    ASSERT_EQ(printers.items.size(), 3u);
    EXPECT_EQ(printers.items[0]["name"].text, "KOA LPT");
    EXPECT_TRUE(printers.items[0]["ok"].boolean);
    EXPECT_EQ(printers.items[0]["reason"].text, "ok");
    EXPECT_EQ(printers.items[0]["file"].text, "out/KOA LPT.vd6");
    EXPECT_EQ(printers.items[1]["reason"].text, "no-answer");
    EXPECT_EQ(printers.items[1]["message"].text, u8"プリンターからの応答がありません");
    EXPECT_EQ(printers.items[2]["name"].text, u8"KOA 表 LAN");
    EXPECT_EQ(printers.items[2]["file"].text, u8"out/KOA 表 LAN.vd6");

    const FleetRun unknown = Run(FleetRead, {"KOA " + kSo});
    request.printers = {"KOA " + kSo};
    json = JsonValue();
    ASSERT_TRUE(JsonReader::Parse(FleetJson(request, unknown, kEnglish, Cp932ToUtf16), &json, &error)) << error;
    EXPECT_EQ(json["error"].text, "unknown-printer");
    EXPECT_FALSE(json["ok"].boolean);
    ASSERT_EQ(json["names"].items.size(), 1u);
    EXPECT_EQ(json["names"].items[0].text, u8"KOA ソ");
    EXPECT_FALSE(json.Has("printers"));
}

// ---- the command line -----------------------------------------------------

class StringSink : public ConsoleSink {
public:
    void Out(const std::string& text) override { out += text; }
    void Error(const std::string& text) override { error += text; }
    std::string out, error;
};

class CommandLine : public Fleet {
protected:
    void SetUp() override {
        Fleet::SetUp();
        char folder[] = "/tmp/veldra6c-test-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        dir = folder;
    }
    void TearDown() override {
        for (const std::string& file : made) std::remove(file.c_str());
        rmdir(dir.c_str());
    }
    std::string File(const std::string& name, const std::string& bytes) {
        const std::string path = dir + "/" + name;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        EXPECT_NE(file, nullptr);
        if (file) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
        made.push_back(path);
        return path;
    }
    int Run(const std::vector<std::string>& args, ConsoleLanguage language = kEnglish) {
        sink = StringSink();
        return RunVeldra6c(args, language, &system, sink);
    }
    std::string dir;
    std::vector<std::string> made;
    StringSink sink;
};

TEST_F(CommandLine, WriteGivesOneLinePerPrinterAndASummaryAndItsExitStatus) {
    SettingsRecord record;
    CopyFactoryDefaults(&record);
    record.value[Index("STANDBY")] = 29;
    const std::string file = File("office.vd6", Bytes(record));
    system["KOA USB"].emulator.Faults().failNthSend = 1;
    EXPECT_EQ(Run({"write", file, "KOA LPT", "KOA USB"}), 1);
    EXPECT_EQ(sink.out, "KOA LPT: OK\nKOA USB: no answer from the printer\n2 printers: 1 succeeded, 1 failed\n");
    EXPECT_EQ(sink.error, "");
    EXPECT_EQ(Value("KOA LPT", "STANDBY"), "30min");
    system["KOA USB"].emulator.Faults().failNthSend = 0;
    EXPECT_EQ(Run({"verify", file, "KOA LPT", "--json"}), 0);
    JsonValue json;
    std::string error;
    ASSERT_TRUE(JsonReader::Parse(sink.out, &json, &error)) << error << "\n" << sink.out;
    EXPECT_TRUE(json["ok"].boolean);
    EXPECT_EQ(json["file"].text, file);
}

TEST_F(CommandLine, ABadFileReachesNoPrinterAndSaysWhy) {
    const std::string shortFile = File("short.vd6", std::string(108, '\0'));
    EXPECT_EQ(Run({"write", shortFile, "KOA LPT"}), 2);
    EXPECT_EQ(sink.error, shortFile + ": 108 bytes, a settings file has 109\n" + shortFile +
                              ": not a sound settings file; nothing was done\n");
    SettingsRecord record;
    CopyFactoryDefaults(&record);
    record.value[Index("STANDBY")] = 200;
    const std::string outOfList = File("bad.vd6", Bytes(record));
    EXPECT_EQ(Run({"verify", outOfList, "KOA LPT", "--json"}), 2);
    JsonValue json;
    std::string error;
    ASSERT_TRUE(JsonReader::Parse(sink.out, &json, &error)) << error;
    EXPECT_EQ(json["error"].text, "bad-file");
    EXPECT_NE(json["message"].text.find("STANDBY"), std::string::npos) << json["message"].text;
    EXPECT_EQ(Run({"write", dir + "/none.vd6", "KOA LPT"}), 2);
    EXPECT_TRUE(system.found.empty()) << "not even looked up";
    EXPECT_EQ(system["KOA LPT"].channel->Begun(), 0);
}

TEST_F(CommandLine, UsageErrorsAndAnUnknownPrinterAreBadInput) {
    EXPECT_EQ(Run({"read", "KOA LPT"}), 2) << "no --out";
    EXPECT_NE(sink.error.find("usage:"), std::string::npos);
    EXPECT_EQ(Run({"read", "--out", dir}), 2) << "no printer";
    EXPECT_EQ(Run({"write", "--out", dir, "f.vd6", "KOA LPT"}), 2) << "--out is read's";
    EXPECT_EQ(Run({"verify", "f.vd6", "KOA LPT", "--jsn"}), 2);
    EXPECT_EQ(Run({"read", "KOA LPT", "Nowhere", "--out", dir}, kJapanese), 2);
    EXPECT_EQ(sink.error, "Nowhere: この名前のプリンターはありません。何も行っていません。\n");
    EXPECT_TRUE(system.talked.empty());
    EXPECT_EQ(Run({"read", "--out", dir, "--", "--json"}), 2) << "a printer named --json is unknown";
    EXPECT_EQ(system.found.back(), "--json");
    StringSink none;
    EXPECT_EQ(RunVeldra6c({"read", "KOA LPT", "--out", dir}, kEnglish, nullptr, none), 2);
    EXPECT_EQ(none.error, "read: only in the Windows build\n");
}

}  // namespace
