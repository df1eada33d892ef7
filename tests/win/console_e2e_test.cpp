// The console tool's printer commands end to end under Wine: three emulated
// printers at once (two on local ports behind one language-monitor
// stand-in, one on the network behind the stand-in LAN library), reached
// through Wine's spooler by name. The commands run in this process with
// the fixed waits shortened, and veldra6c.exe itself runs as a child with
// the real ones.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/timing.h"
#include "console/console_platform.h"
#include "console/printer_fleet.h"
#include "console/veldra6c.h"
#include "link/channel/spooler_calls.h"
#include "tests/core/json_reader.h"
#include "tests/win/e2e/e2e_support.h"
#include "tools/lmstand/test_printers.h"

namespace {

const unsigned kDivisor = 20;  // fixed waits at a twentieth in this process

const char kLpt[] = "KOA Console LPT";
const char kUsb[] = "KOA Console USB";
// A name in code page 932 whose first character ends in a backslash byte (表).
const char kLan[] = "KOA 表示 LAN";
const char kLanUtf8[] = u8"KOA 表示 LAN";
const char kFilePrinter[] = "KOA Console FILE";
const char kOtherMake[] = "KOA Console Other Make";

const std::string kLptConfig = "model koa240MR\nvalue FRC-LFVA 8LPI\nvalue STANDBY 10min\n";
const std::string kUsbConfig = "model koa260MR\nvalue FRC-LFVA 3LPI\nvalue STANDBY 20min\n";
const std::string kLanConfig = "model koa240MR\nvalue PATH-MD TRACTOR\nvalue STANDBY 40min\n";

class StringSink : public ConsoleSink {
public:
    void Out(const std::string& text) override { out += text; }
    void Error(const std::string& text) override { error += text; }
    std::string out, error;
};

struct ConsoleRun {
    int status = -1;
    std::string out, error;
};

ConsoleRun RunConsole(const std::vector<std::string>& args, ConsoleLanguage language = LanguageEnglish) {
    StringSink sink;
    ConsoleRun run;
    run.status = RunVeldra6c(args, language, SystemPrinters(), sink);
    run.out = sink.out;
    run.error = sink.error;
    return run;
}

std::string Padded(const std::string& word) {
    std::string field = word;
    field.resize(8, ' ');
    return field;
}

// The settings an emulator's state file holds, as a record. False when an
// item or value is not one of the product's, or an item is missing.
bool RecordFromState(const std::string& state, SettingsRecord* record, std::string* error) {
    bool seen[SettingCount] = {};
    std::size_t at = 0;
    while (at < state.size()) {
        std::size_t end = state.find('\n', at);
        if (end == std::string::npos) end = state.size();
        const std::string line = state.substr(at, end - at);
        at = end + 1;
        if (line.compare(0, 6, "value ") != 0) continue;
        const std::size_t blank = line.find(' ', 6);
        const std::string name = line.substr(6, blank - 6), keyword = line.substr(blank + 1);
        const int item = FindSettingItem(Padded(name).c_str());
        const int position = item >= 0 ? FindSettingValue(item, Padded(keyword).c_str()) : -1;
        if (position < 0) {
            *error = "not the product's: " + line;
            return false;
        }
        record->value[item] = static_cast<unsigned char>(position);
        seen[item] = true;
    }
    for (int i = 0; i < SettingCount; ++i)
        if (!seen[i]) {
            *error = std::string("item missing from the state: ") + SettingItems[i].name;
            return false;
        }
    return true;
}

std::string StateValue(const std::string& state, const std::string& item) {
    const std::string key = "value " + item + " ";
    const std::size_t at = state.find(key);
    if (at == std::string::npos) return "";
    const std::size_t start = at + key.size();
    return state.substr(start, state.find('\n', start) - start);
}

std::string Bytes(const SettingsRecord& record) {
    return std::string(reinterpret_cast<const char*>(record.value), SettingCount);
}

int Index(const char* name) { return FindSettingItem(Padded(name).c_str()); }

// ---- a spooler that shows what Wine's cannot: paused printers, queued jobs ----

struct SpoolerStates {
    std::mutex lock;
    std::map<HANDLE, std::string> names;  // open printers
    std::map<std::string, DWORD> status;  // added to the printer's status
    std::map<std::string, DWORD> jobs;    // the queue's length
};
SpoolerStates g_states;
SpoolerCalls g_wine;    // Wine's own calls
SpoolerCalls g_shown;   // those, with the states above laid over them

BOOL WINAPI OpenShown(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults) {
    const BOOL opened = g_wine.openPrinter(name, printer, defaults);
    if (opened && name) {
        std::lock_guard<std::mutex> hold(g_states.lock);
        g_states.names[*printer] = name;
    }
    return opened;
}

BOOL WINAPI GetShown(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    const BOOL got = g_wine.getPrinter(printer, level, buffer, size, needed);
    if (!got || level != 2 || !buffer) return got;
    std::lock_guard<std::mutex> hold(g_states.lock);
    const std::string& name = g_states.names[printer];
    PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer);
    if (g_states.status.count(name)) info->Status |= g_states.status[name];
    if (g_states.jobs.count(name)) info->cJobs = g_states.jobs[name];
    return got;
}

BOOL WINAPI CloseShown(HANDLE printer) {
    {
        std::lock_guard<std::mutex> hold(g_states.lock);
        g_states.names.erase(printer);
    }
    return g_wine.closePrinter(printer);
}

// ---- the program itself as a child, its output through pipes ---------------

struct ExeRun {
    DWORD status = 0xFFFFFFFF;
    bool ended = false;
    std::string out, error;
};

void Drain(HANDLE pipe, std::string* into) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) into->append(buffer, got);
}

// `flags`: CreateProcess's creation flags (CREATE_NEW_CONSOLE gives the
// program a console of its own; without it the program has none).
ExeRun RunProgram(const std::string& arguments, DWORD timeoutMs, DWORD flags = 0) {
    ExeRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0)) return run;
    if (!CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        CloseHandle(outRead);
        CloseHandle(outWrite);
        return run;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                               nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::string line = "\"" + ProgramDirectory() + "veldra6c.exe\" " + arguments;
    PROCESS_INFORMATION process = {};
    const bool started =
        CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, flags, nullptr, nullptr, &startup, &process) != 0;
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
    if (started) {
        std::thread out(Drain, outRead, &run.out), error(Drain, errRead, &run.error);
        run.ended = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
        if (!run.ended) TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
        GetExitCodeProcess(process.hProcess, &run.status);
        out.join();
        error.join();
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return run;
}

// ---- the fixture ------------------------------------------------------------

class ConsolePrinters : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        CreateDirectoryA(ScratchPath("").c_str(), nullptr);
        ASSERT_TRUE(AddTestPrinter(kLpt, "KOA koa2400Max-R(0mm)", "LPT1:", PRINTER_ATTRIBUTE_ENABLE_BIDI, &error))
            << error;
        ASSERT_TRUE(AddTestPrinter(kUsb, "KOA koa2600Max-R(0mm)", "USB001", PRINTER_ATTRIBUTE_ENABLE_BIDI, &error))
            << error;
        ASSERT_TRUE(AddTestPrinter(kLan, "KOA koa2400Max-RN", "127.0.0.1:lp", 0, &error)) << error;
        ASSERT_TRUE(AddTestPrinter(kFilePrinter, "KOA koa2400Max-R(8.5mm)", "FILE:", PRINTER_ATTRIBUTE_ENABLE_BIDI,
                                   &error))
            << error;
        ASSERT_TRUE(AddTestPrinter(kOtherMake, "Other Make Laser", "LPT1:", PRINTER_ATTRIBUTE_ENABLE_BIDI, &error))
            << error;
        ASSERT_TRUE(SetPortCommand("LPT1:", "|cat >> " + ScratchUnixPath("jobs-lpt.bin"), &error)) << error;
        ASSERT_TRUE(SetPortCommand("USB001", "|cat >> " + ScratchUnixPath("jobs-usb.bin"), &error)) << error;
    }
    static void TearDownTestSuite() {
        for (const char* name : {kLpt, kUsb, kLan, kFilePrinter, kOtherMake}) DeleteTestPrinter(name);
    }

    void SetUp() override {
        TestSeam_ShortenFixedWaits(kDivisor);
        out_ = ScratchPath("out");
        CreateDirectoryA(out_.c_str(), nullptr);
        EmptyOut();
        ServeLocal(kLptConfig, kUsbConfig);
        ServeLan(kLanConfig);
    }

    void TearDown() override {
        TestSeam_UseSpoolerCalls(nullptr);
        lanStandIn_.Stop();
        standIn_.Stop();
        TestSeam_ShortenFixedWaits(1);
        EXPECT_TRUE(watcher_.Boxes().empty()) << "the console tool shows no window: " << watcher_.Boxes()[0].text;
    }

    // Both local printers behind one language-monitor stand-in; the second
    // one's state lands in usb-state.cfg.
    void ServeLocal(const std::string& lpt, const std::string& usb) {
        standIn_.Stop();
        DeleteFileA(ScratchPath("usb-state.cfg").c_str());
        ASSERT_TRUE(WriteWholeFile(ScratchPath("usb-emulator.cfg"), usb));
        const std::string second = "--printer \"" + ScratchPath("jobs-usb.bin") + "\" \"" +
                                   ScratchPath("usb-emulator.cfg") + "\" --printer-state \"" +
                                   ScratchPath("usb-state.cfg") + "\"";
        ASSERT_TRUE(standIn_.Start(lpt, "jobs-lpt.bin", second)) << "language-monitor stand-in did not start";
        ASSERT_TRUE(WaitUntil([] { return !ReadWholeFile(ScratchPath("usb-state.cfg")).empty(); }))
            << "the second printer's state";
    }
    void ServeLan(const std::string& config) {
        ASSERT_TRUE(lanStandIn_.Start(config)) << "the LAN printer stand-in did not start";
    }

    std::string LptState() const { return standIn_.State(); }
    std::string UsbState() const { return ReadWholeFile(ScratchPath("usb-state.cfg")); }
    std::string LanState() const { return lanStandIn_.State(); }

    std::string OutFile(const std::string& printer) const { return out_ + "\\" + printer + ".vd6"; }

    std::vector<std::string> OutFiles() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((out_ + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }
    void EmptyOut() const {
        for (const std::string& name : OutFiles()) DeleteFileA((out_ + "\\" + name).c_str());
    }

    // The file holds what the state says, item for item.
    void ExpectFileMatchesState(const std::string& file, const std::string& state, const char* printer) {
        SettingsRecord expected;
        std::string error;
        ASSERT_TRUE(RecordFromState(state, &expected, &error)) << printer << ": " << error;
        const std::string bytes = ReadWholeFile(file);
        ASSERT_EQ(bytes.size(), static_cast<std::size_t>(SettingCount)) << printer;
        for (int i = 0; i < SettingCount; ++i)
            EXPECT_EQ(static_cast<int>(static_cast<unsigned char>(bytes[i])), static_cast<int>(expected.value[i]))
                << printer << ", item " << SettingItems[i].name;
    }

    // The three printers' settings all apart from the factory values and
    // from each other in STANDBY.
    std::string WrittenFile(int standbyPosition) {
        SettingsRecord record;
        CopyFactoryDefaults(&record);
        record.value[Index("STANDBY")] = static_cast<unsigned char>(standbyPosition);
        record.value[Index("FRC-LFVA")] = 0;  // 3LPI
        const std::string path = ScratchPath("office.vd6");
        EXPECT_TRUE(WriteWholeFile(path, Bytes(record)));
        return path;
    }

    BoxWatcher watcher_;
    StandIn standIn_;
    LanStandIn lanStandIn_;
    std::string out_;
};

TEST_F(ConsolePrinters, ReadWritesThreeFilesThatMatchTheEmulators) {
    const ConsoleRun run = RunConsole({"read", kLpt, kUsb, kLan, "--out", out_});
    EXPECT_EQ(run.status, 0) << run.out << run.error;
    EXPECT_EQ(run.out, std::string(kLpt) + ": OK, saved as " + OutFile(kLpt) + "\n" + kUsb + ": OK, saved as " +
                           OutFile(kUsb) + "\n" + kLan + ": OK, saved as " + OutFile(kLan) +
                           "\n3 printers: 3 succeeded, 0 failed\n");
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(OutFiles().size(), 3u);
    ExpectFileMatchesState(OutFile(kLpt), LptState(), kLpt);
    ExpectFileMatchesState(OutFile(kUsb), UsbState(), kUsb);
    ExpectFileMatchesState(OutFile(kLan), LanState(), kLan);
    // The three emulators really differ where their configs set them apart.
    EXPECT_EQ(StateValue(LptState(), "STANDBY"), "10min");
    EXPECT_EQ(StateValue(UsbState(), "STANDBY"), "20min");
    EXPECT_EQ(StateValue(LanState(), "STANDBY"), "40min");
    EXPECT_NE(standIn_.Received().find("?NVRAM  \r"), std::string::npos);
    EXPECT_NE(lanStandIn_.Received().find("?NVRAM  \r"), std::string::npos);
}

TEST_F(ConsolePrinters, WriteChangesAllThreeAndVerifyFindsThemSame) {
    const std::string file = WrittenFile(29);  // 30min
    const ConsoleRun run = RunConsole({"write", file, kLpt, kUsb, kLan});
    EXPECT_EQ(run.status, 0) << run.out << run.error;
    EXPECT_EQ(run.out, std::string(kLpt) + ": OK\n" + kUsb + ": OK\n" + kLan + ": OK\n" +
                           "3 printers: 3 succeeded, 0 failed\n");
    for (const std::string& state : {LptState(), UsbState(), LanState()}) {
        EXPECT_EQ(StateValue(state, "STANDBY"), "30min") << state;
        EXPECT_EQ(StateValue(state, "FRC-LFVA"), "3LPI") << state;
        EXPECT_EQ(StateValue(state, "PATH-MD"), "FRICTION") << state;
    }
    const ConsoleRun verify = RunConsole({"verify", file, kLpt, kUsb, kLan});
    EXPECT_EQ(verify.status, 0) << verify.out;
    EXPECT_EQ(verify.out.find("differ"), std::string::npos) << verify.out;
}

TEST_F(ConsolePrinters, VerifyReportsThePrinterChangedBehindItsBack) {
    const std::string file = WrittenFile(29);
    ASSERT_EQ(RunConsole({"write", file, kLpt, kUsb, kLan}).status, 0);
    // Someone changes the USB printer at its own panel: the stand-in starts
    // again from the states as written, with one value of that printer changed.
    std::string usb = UsbState();
    const std::size_t at = usb.find("value STANDBY 30min");
    ASSERT_NE(at, std::string::npos);
    usb.replace(at, 19, "value STANDBY 5min");
    ServeLocal(LptState(), usb);
    const ConsoleRun run = RunConsole({"verify", file, kLpt, kUsb, kLan});
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_EQ(run.out, std::string(kLpt) + ": OK, the same as the file\n" + kUsb +
                           ": 1 items differ from the file: STANDBY\n" + kLan + ": OK, the same as the file\n" +
                           "3 printers: 2 succeeded, 1 failed\n");
    EXPECT_EQ(StateValue(UsbState(), "STANDBY"), "5min") << "verify changes nothing";
}

TEST_F(ConsolePrinters, APrinterWhoseStandInDoesNotAnswerIsReportedWhileTheOthersSucceed) {
    lanStandIn_.Stop();  // the library finds nobody at the printer's address
    ConsoleRun run = RunConsole({"read", kLpt, kUsb, kLan, "--out", out_});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, std::string(kLpt) + ": OK, saved as " + OutFile(kLpt) + "\n" + kUsb + ": OK, saved as " +
                           OutFile(kUsb) + "\n" + kLan + ": no answer at the printer's network address\n" +
                           "3 printers: 2 succeeded, 1 failed\n");
    EXPECT_EQ(OutFiles().size(), 2u);
    ExpectFileMatchesState(OutFile(kUsb), UsbState(), kUsb);

    // A local printer that does not answer: its requests fail at the
    // channel's bound; the printer after it is still served. That one is the
    // network printer: the stand-in learns which local printer a request is
    // for only when the connection job lands in the port's file, and with
    // the waits shortened that can come after the next local printer's first
    // request on a loaded machine.
    EmptyOut();
    ServeLocal(kLptConfig, kUsbConfig + "fault no-answer\n");
    ServeLan(kLanConfig);
    run = RunConsole({"read", kLpt, kUsb, kLan, "--out", out_}, LanguageJapanese);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(std::string(kUsb) + ": プリンターからの応答がありません\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("プリンター3台: 成功2台、失敗1台\n"), std::string::npos) << run.out;
    EXPECT_EQ(OutFiles().size(), 2u);
}

TEST_F(ConsolePrinters, ANameThatDoesNotExistChangesNothing) {
    const std::string file = WrittenFile(29);
    const ConsoleRun run = RunConsole({"write", file, kLpt, "KOA No Such Printer", kLan});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.error, "KOA No Such Printer: no printer of this name is installed; nothing was done\n");
    EXPECT_EQ(standIn_.Received(), "") << "no printer was reached";
    EXPECT_EQ(lanStandIn_.Received(), "");
    EXPECT_EQ(StateValue(LptState(), "STANDBY"), "10min");

    const ConsoleRun read = RunConsole({"read", kUsb, "KOA No Such Printer", "--out", out_});
    EXPECT_EQ(read.status, 2);
    EXPECT_TRUE(OutFiles().empty());
}

TEST_F(ConsolePrinters, TheChecksRefuseAsThePanelsDo) {
    // Wine's spooler shows neither a paused printer nor a queue: laid over it here.
    g_wine = Spooler();
    g_shown = g_wine;
    g_shown.openPrinter = OpenShown;
    g_shown.getPrinter = GetShown;
    g_shown.closePrinter = CloseShown;
    {
        std::lock_guard<std::mutex> hold(g_states.lock);
        g_states.status = {{kUsb, PRINTER_STATUS_PAUSED}};
        g_states.jobs = {{kLan, 2}};
    }
    TestSeam_UseSpoolerCalls(&g_shown);
    const std::string file = WrittenFile(29);
    const ConsoleRun run = RunConsole({"write", file, kFilePrinter, kOtherMake, kUsb, kLan, kLpt});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, std::string(kFilePrinter) + ": it prints to FILE:; give it a local port in its properties\n" +
                           kOtherMake + ": its driver is not a koa2400Max-R or koa2600Max-R driver\n" + kUsb +
                           ": the printer is paused\n" + kLan + ": print jobs are waiting in its queue\n" + kLpt +
                           ": OK\n5 printers: 1 succeeded, 4 failed\n");
    EXPECT_EQ(StateValue(UsbState(), "STANDBY"), "20min") << "the paused printer got nothing";
    EXPECT_EQ(lanStandIn_.Received(), "");
    EXPECT_EQ(StateValue(LptState(), "STANDBY"), "30min");
}

TEST_F(ConsolePrinters, TheProgramReadsThreePrintersAndItsJsonParses) {
    TestSeam_ShortenFixedWaits(1);  // the program has the real waits; so has this process now
    const ExeRun run = RunProgram(std::string("read \"") + kLpt + "\" \"" + kUsb + "\" \"" + kLan + "\" --out \"" +
                                      out_ + "\" --json",
                                  90000);
    ASSERT_TRUE(run.ended) << "veldra6c.exe did not end";
    EXPECT_EQ(run.status, 0u) << run.out << run.error;
    JsonValue json;
    std::string error;
    ASSERT_TRUE(JsonReader::Parse(run.out, &json, &error)) << error << "\n" << run.out;
    EXPECT_EQ(json["command"].text, "read");
    EXPECT_TRUE(json["ok"].boolean);
    EXPECT_EQ(json["succeeded"].number, 3);
    EXPECT_EQ(json["failed"].number, 0);
    const JsonValue& printers = json["printers"];
    ASSERT_EQ(printers.items.size(), 3u);
    EXPECT_EQ(printers.items[0]["name"].text, kLpt);
    EXPECT_EQ(printers.items[1]["name"].text, kUsb);
    EXPECT_EQ(printers.items[2]["name"].text, kLanUtf8) << "the name's characters, not its bytes";
    for (const JsonValue& printer : printers.items) {
        EXPECT_TRUE(printer["ok"].boolean);
        EXPECT_EQ(printer["reason"].text, "ok");
        const std::string okText = json["language"].text == "ja" ? u8"に保存しました" : "saved as";
        EXPECT_NE(printer["message"].text.find(okText), std::string::npos) << printer["message"].text;
    }
    ExpectFileMatchesState(OutFile(kLan), LanState(), kLan);
    EXPECT_EQ(OutFiles().size(), 3u);

    // Without a console the program speaks English.
    EXPECT_EQ(json["language"].text, "en");
    EXPECT_NE(printers.items[0]["message"].text.find("OK, saved as "), std::string::npos);

    // A name that does not exist: bad input, said in JSON too, and quickly;
    // in a console of code page 932, in Japanese.
    const ExeRun bad = RunProgram(std::string("verify \"") + WrittenFile(29) + "\" \"" + kLpt +
                                      "\" \"KOA No Such Printer\" --json",
                                  30000, CREATE_NEW_CONSOLE);
    ASSERT_TRUE(bad.ended);
    EXPECT_EQ(bad.status, 2u);
    json = JsonValue();
    ASSERT_TRUE(JsonReader::Parse(bad.out, &json, &error)) << error << "\n" << bad.out;
    EXPECT_EQ(json["error"].text, "unknown-printer");
    ASSERT_EQ(json["names"].items.size(), 1u);
    EXPECT_EQ(json["names"].items[0].text, "KOA No Such Printer");
    EXPECT_EQ(json["language"].text, "ja");
    EXPECT_EQ(json["message"].text, u8"KOA No Such Printer: この名前のプリンターはありません。何も行っていません。");

    // And as text lines on the error output, in the console's code page.
    const ExeRun text = RunProgram(std::string("read \"KOA No Such Printer\" --out \"") + out_ + "\"", 30000,
                                   CREATE_NEW_CONSOLE);
    EXPECT_EQ(text.status, 2u);
    EXPECT_EQ(text.out, "");
    EXPECT_EQ(text.error, "KOA No Such Printer: この名前のプリンターはありません。何も行っていません。\r\n");
}

}  // namespace
