#include "tools/printer_emu/printer_emulator.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "tools/printer_emu/item_table.h"

namespace {

const std::size_t kFieldWidth = 8;
const std::size_t kMaxAnswer = 4096;  // one receive of the language monitor
// A command or setting line is at most 18 bytes; anything much longer is not
// a line the printer understands, so only its start is kept.
const std::size_t kMaxLine = 64;
const std::size_t kMaxIgnoredLines = 1024;
const std::size_t kHeadPins = 24;
const std::size_t kAlarmCodes = 7;
const int kRecoveryCarriageReturns = 9;

const std::uint8_t kEsc = 0x1B;
const std::uint8_t kCr = 0x0D;
const std::uint8_t kRecordLeader = 0x1C;

const char* const kModel240 = "koa240MR";
const char* const kModel260 = "koa260MR";

std::string Pad(const std::string& text) {
    std::string field = text.substr(0, kFieldWidth);
    field.resize(kFieldWidth, ' ');
    return field;
}

std::string TrimRight(const std::string& text) {
    std::size_t end = text.find_last_not_of(" \t\r\n");
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

bool ParseUnsigned(const std::string& text, std::uint32_t* value) {
    if (text.empty() || text.size() > 10) return false;
    unsigned long long result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        result = result * 10 + static_cast<unsigned>(c - '0');
    }
    if (result > 0xFFFFFFFFull) return false;
    *value = static_cast<std::uint32_t>(result);
    return true;
}

bool ParseInt(const std::string& text, int* value) {
    std::uint32_t parsed = 0;
    if (!ParseUnsigned(text, &parsed) || parsed > 1000000000u) return false;
    *value = static_cast<int>(parsed);
    return true;
}

void AppendField(std::vector<std::uint8_t>* out, const std::string& text) {
    std::string field = Pad(text);
    out->insert(out->end(), field.begin(), field.end());
}

void AppendBigEndian32(std::vector<std::uint8_t>* out, std::uint32_t value) {
    out->push_back(static_cast<std::uint8_t>(value >> 24));
    out->push_back(static_cast<std::uint8_t>(value >> 16));
    out->push_back(static_cast<std::uint8_t>(value >> 8));
    out->push_back(static_cast<std::uint8_t>(value));
}

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The counters this printer clears on ESC e R<id>: 3 and 5 to 7 one count
// each, 8 the head pins. (The printed lines, 4, cannot be cleared.)
bool IsResetId(int id) { return id == 3 || (id >= 5 && id <= 8); }

bool IsAbsolutePath(const std::string& path) {
    if (path.empty()) return false;
    if (path[0] == '/' || path[0] == '\\') return true;
    return path.size() >= 2 && path[1] == ':';
}

}  // namespace

// Everything that a config or state file describes; LoadConfig builds a new
// one and only takes it over when the whole file was good.
struct PrinterState {
    std::vector<EmulatorItem> items;
    std::vector<std::size_t> nvram;  // position of each item's keyword
    std::string model = kModel240;
    std::string version = "1.00";
    std::uint8_t separator = kCr;
    std::uint32_t counters[8] = {};  // by record id; 0 and 2 unused
    std::uint32_t headPins[kHeadPins] = {};
    std::uint8_t alarms[kAlarmCodes] = {};
    EmulatorFaults faults;
    int listsPrinted = 0;
    long sends = 0;
    bool online = false;
    bool setting = false;
    bool stuck = false;

    int FindItem(const std::string& name) const {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].name == name) return static_cast<int>(i);
        }
        return -1;
    }

    int FindKeyword(int item, const std::string& keyword) const {
        const std::vector<std::string>& list = items[static_cast<std::size_t>(item)].keywords;
        for (std::size_t k = 0; k < list.size(); ++k) {
            if (list[k] == keyword) return static_cast<int>(k);
        }
        return -1;
    }

    void SetFactoryValues() {
        nvram.assign(items.size(), 0);
        for (std::size_t i = 0; i < items.size(); ++i) nvram[i] = items[i].factory;
    }
};

struct PrinterEmulator::Impl {
    PrinterState state;

    std::vector<std::uint8_t> received;
    std::vector<std::uint8_t> pending;  // answers queued for the next Read
    std::vector<std::string> ignored;

    // Byte stream parser. Escape sequences are recognised at any point;
    // other bytes build CR-terminated lines while the printer listens for
    // commands.
    enum class Escape { None, GotEsc, GotE, Code };
    Escape escape = Escape::None;
    std::string escapeCode;
    std::size_t escapeLength = 0;
    std::string line;
    bool lineTooLong = false;
    int carriageReturns = 0;      // empty lines (bare CRs) just received
    int carriageReturnsBeforeLine = 0;  // the run that preceded the current line

    void ResetParser() {
        escape = Escape::None;
        escapeCode.clear();
        line.clear();
        lineTooLong = false;
        carriageReturns = 0;
        carriageReturnsBeforeLine = 0;
    }

    void Ignore(const std::string& text) {
        if (ignored.size() < kMaxIgnoredLines) ignored.push_back(text);
    }

    void Feed(std::uint8_t byte) {
        if (escape != Escape::None && FeedEscape(byte)) return;
        if (byte == kEsc) {
            escape = Escape::GotEsc;
            return;
        }
        if (!state.online && !state.setting) return;  // print data
        if (byte == kCr) {
            if (line.empty() && !lineTooLong) {
                ++carriageReturns;
            } else {
                // The CR that ends a line is not one of a recovery run's
                // nine: those are empty lines.
                EndLine();
                carriageReturns = 0;
            }
            return;
        }
        if (line.empty() && !lineTooLong) carriageReturnsBeforeLine = carriageReturns;
        carriageReturns = 0;
        if (line.size() < kMaxLine) {
            line.push_back(static_cast<char>(byte));
        } else {
            lineTooLong = true;
        }
    }

    // Returns true when the byte belonged to the escape sequence.
    bool FeedEscape(std::uint8_t byte) {
        char c = static_cast<char>(byte);
        switch (escape) {
        case Escape::GotEsc:
            if (c == 'e') {
                escape = Escape::GotE;
                return true;
            }
            escape = Escape::None;
            return false;
        case Escape::GotE:
            if (c == 'S' || c == 'R') {
                escapeLength = 2;
            } else if (c == 'O') {
                escapeLength = 6;  // ONLINE
            } else {
                escape = Escape::None;
                return false;
            }
            escapeCode.assign(1, c);
            escape = Escape::Code;
            return true;
        case Escape::Code:
            escapeCode.push_back(c);
            if (escapeCode.size() >= escapeLength) {
                escape = Escape::None;
                RunEscape(escapeCode);
            }
            return true;
        case Escape::None:
            break;
        }
        return false;
    }

    void RunEscape(const std::string& code) {
        if (state.stuck) return;
        if (code == "ONLINE") {
            state.online = true;
            line.clear();
            lineTooLong = false;
            carriageReturns = 0;
            return;
        }
        if (code.size() != 2 || code[1] < '0' || code[1] > '9') return;
        int digit = code[1] - '0';
        if (code[0] == 'S') {
            QueueCounterRecord(digit);
        } else {
            Reset(digit);
        }
    }

    // Set when a write completed a reset that the printer refuses.
    bool resetRefused = false;

    static bool Listed(const std::vector<int>& ids, int id) {
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    }

    void Reset(int id) {
        if (Listed(state.faults.refusedResetIds, id)) {
            resetRefused = true;
            return;
        }
        if (Listed(state.faults.ignoredResetIds, id)) return;
        switch (id) {
        case 3: case 5: case 6: case 7:
            state.counters[id] = 0;
            break;
        case 8:
            std::fill(std::begin(state.headPins), std::end(state.headPins), 0u);
            break;
        default:
            break;  // R4 and the others are no reset of this printer
        }
    }

    void QueueCounterRecord(int id) {
        if (id < 1 || id > 9 || id == 2) return;
        const std::vector<int>& missing = state.faults.missingCounterIds;
        if (std::find(missing.begin(), missing.end(), id) != missing.end()) return;
        std::uint8_t length = id == 8 ? 100 : id == 9 ? 11 : 8;
        std::vector<std::uint8_t> record = {kRecordLeader, length, static_cast<std::uint8_t>(id), 0};
        if (id == 1) {
            std::uint32_t value = state.counters[1] & 0xFFFFu;
            record.push_back(static_cast<std::uint8_t>(value >> 8));
            record.push_back(static_cast<std::uint8_t>(value));
            record.push_back(0);
            record.push_back(0);
        } else if (id == 8) {
            for (std::uint32_t count : state.headPins) AppendBigEndian32(&record, count);
        } else if (id == 9) {
            record.insert(record.end(), std::begin(state.alarms), std::end(state.alarms));
        } else {
            AppendBigEndian32(&record, state.counters[id]);
        }
        pending.insert(pending.end(), record.begin(), record.end());
    }

    void EndLine() {
        std::string text = line;
        bool tooLong = lineTooLong;
        int before = carriageReturnsBeforeLine;
        line.clear();
        lineTooLong = false;
        if (tooLong) {
            if (!state.stuck) Ignore(text);
            return;
        }
        if (state.stuck) {
            if (text == "CANCEL  " && before >= kRecoveryCarriageReturns) {
                state.stuck = false;
                state.setting = false;
                state.online = false;
            } else if (!IsWord(text)) {
                ApplySettingLine(text);  // the block itself still arrives
            }
            return;
        }
        if (state.setting) {
            if (text == "EXIT    ") {
                state.setting = false;
            } else if (text == "END     " || text == "CANCEL  ") {
                state.setting = false;
                state.online = false;
            } else {
                ApplySettingLine(text);
            }
            return;
        }
        // Command mode.
        if (text == "?MODEL  ") {
            QueueModel();
        } else if (text == "?VER    ") {
            QueueVersion();
        } else if (text == "?NVRAM  ") {
            QueueNvram();
        } else if (text == "SETTING ") {
            state.setting = true;
            state.stuck = state.faults.stickInSettingMode;
        } else if (text == "PRINT-E ") {
            ++state.listsPrinted;
            state.online = false;
        } else if (text == "EXIT    " || text == "END     " || text == "CANCEL  ") {
            state.online = false;
        } else {
            Ignore(text);
        }
    }

    static bool IsWord(const std::string& text) {
        return text == "EXIT    " || text == "END     " || text == "CANCEL  ";
    }

    // name(8) ":" keyword(8); anything else changes nothing.
    void ApplySettingLine(const std::string& text) {
        if (text.size() != 2 * kFieldWidth + 1 || text[kFieldWidth] != ':') {
            Ignore(text);
            return;
        }
        std::string name = text.substr(0, kFieldWidth);
        std::string keyword = text.substr(kFieldWidth + 1);
        for (std::size_t i = 0; i < state.items.size(); ++i) {
            if (Pad(state.items[i].name) != name) continue;
            const std::vector<std::string>& list = state.items[i].keywords;
            for (std::size_t k = 0; k < list.size(); ++k) {
                if (Pad(list[k]) == keyword) {
                    state.nvram[i] = k;
                    return;
                }
            }
            break;
        }
        Ignore(text);
    }

    void AppendSeparator() { pending.push_back(state.separator); }

    void QueueModel() {
        if (state.faults.silentModel) return;
        AppendField(&pending, "?MODEL");
        AppendSeparator();
        std::string model = state.model;
        if (state.faults.wrongModel) {
            if (model == kModel240) {
                model = kModel260;
            } else if (model == kModel260) {
                model = kModel240;
            }
        }
        AppendField(&pending, model);
        AppendSeparator();
    }

    void QueueVersion() {
        AppendField(&pending, "?VER");
        AppendSeparator();
        AppendField(&pending, state.version);
        AppendSeparator();
    }

    void QueueNvram() {
        static const char kJunk[] = {'*', '#', '~', '\x7f'};
        AppendField(&pending, "?NVRAM");
        AppendSeparator();
        for (std::size_t i = 0; i < state.items.size(); ++i) {
            const EmulatorItem& item = state.items[i];
            if (state.faults.garbageBetweenEntries && i > 0) {
                // One to four bytes, so that entries start at every offset.
                for (std::size_t j = 0; j <= i % 4; ++j) pending.push_back(static_cast<std::uint8_t>(kJunk[(i + j) % 4]));
            }
            AppendField(&pending, item.name);
            AppendSeparator();
            if (!state.faults.cutAfterItem.empty() && item.name == state.faults.cutAfterItem) return;
            if (!state.faults.badKeywordItem.empty() && item.name == state.faults.badKeywordItem) {
                AppendField(&pending, "BADVALUE");
            } else {
                AppendField(&pending, item.keywords[state.nvram[i]]);
            }
            AppendSeparator();
        }
    }
};

PrinterEmulator::PrinterEmulator() : impl_(std::make_shared<Impl>()) {}

bool PrinterEmulator::LoadItems(const std::string& path, std::string* error) {
    std::vector<EmulatorItem> items;
    if (!printer_emu::LoadItemTable(path, &items, error)) return false;
    impl_->state.items = items;
    impl_->state.SetFactoryValues();
    return true;
}

const std::vector<EmulatorItem>& PrinterEmulator::Items() const { return impl_->state.items; }

void PrinterEmulator::SetModel(const std::string& identifier) { impl_->state.model = identifier.substr(0, kFieldWidth); }
const std::string& PrinterEmulator::Model() const { return impl_->state.model; }
void PrinterEmulator::SetVersion(const std::string& version) { impl_->state.version = version.substr(0, kFieldWidth); }
const std::string& PrinterEmulator::Version() const { return impl_->state.version; }
void PrinterEmulator::SetSeparator(std::uint8_t separator) { impl_->state.separator = separator; }

bool PrinterEmulator::SetValue(const std::string& item, const std::string& keyword) {
    PrinterState& state = impl_->state;
    int index = state.FindItem(TrimRight(item));
    if (index < 0) return false;
    int position = state.FindKeyword(index, TrimRight(keyword));
    if (position < 0) return false;
    state.nvram[static_cast<std::size_t>(index)] = static_cast<std::size_t>(position);
    return true;
}

std::string PrinterEmulator::Value(const std::string& item) const {
    const PrinterState& state = impl_->state;
    int index = state.FindItem(TrimRight(item));
    if (index < 0) return std::string();
    std::size_t i = static_cast<std::size_t>(index);
    return state.items[i].keywords[state.nvram[i]];
}

void PrinterEmulator::ResetToFactory() { impl_->state.SetFactoryValues(); }

bool PrinterEmulator::SetCounter(int id, std::uint32_t value) {
    if (id == 1) {
        impl_->state.counters[1] = value & 0xFFFFu;
        return true;
    }
    if (id < 3 || id > 7) return false;
    impl_->state.counters[id] = value;
    return true;
}

std::uint32_t PrinterEmulator::Counter(int id) const {
    if (id == 1 || (id >= 3 && id <= 7)) return impl_->state.counters[id];
    return 0;
}

bool PrinterEmulator::SetHeadPin(int pin, std::uint32_t value) {
    if (pin < 1 || pin > static_cast<int>(kHeadPins)) return false;
    impl_->state.headPins[pin - 1] = value;
    return true;
}

std::uint32_t PrinterEmulator::HeadPin(int pin) const {
    if (pin < 1 || pin > static_cast<int>(kHeadPins)) return 0;
    return impl_->state.headPins[pin - 1];
}

void PrinterEmulator::SetAlarmHistory(const std::vector<std::uint8_t>& codes) {
    for (std::size_t i = 0; i < kAlarmCodes; ++i) impl_->state.alarms[i] = i < codes.size() ? codes[i] : 0;
}

std::vector<std::uint8_t> PrinterEmulator::AlarmHistory() const {
    return std::vector<std::uint8_t>(std::begin(impl_->state.alarms), std::end(impl_->state.alarms));
}

EmulatorFaults& PrinterEmulator::Faults() { return impl_->state.faults; }
const EmulatorFaults& PrinterEmulator::Faults() const { return impl_->state.faults; }

bool PrinterEmulator::Write(const std::uint8_t* bytes, std::size_t length) {
    PrinterState& state = impl_->state;
    ++state.sends;
    const EmulatorFaults& faults = state.faults;
    if (faults.failNthSend > 0) {
        if (state.sends == faults.failNthSend || (faults.failAllSendsFromNth && state.sends > faults.failNthSend)) {
            return false;
        }
    }
    if (bytes == nullptr && length > 0) return false;
    if (length == 0) return true;
    impl_->received.insert(impl_->received.end(), bytes, bytes + length);
    impl_->resetRefused = false;
    for (std::size_t i = 0; i < length; ++i) impl_->Feed(bytes[i]);
    return !impl_->resetRefused;
}

bool PrinterEmulator::Read(std::vector<std::uint8_t>* answer) {
    std::vector<std::uint8_t> queued;
    queued.swap(impl_->pending);
    if (answer == nullptr || impl_->state.faults.noAnswer || queued.empty()) return false;
    if (queued.size() > kMaxAnswer) queued.resize(kMaxAnswer);
    *answer = queued;
    return true;
}

const std::vector<std::uint8_t>& PrinterEmulator::Received() const { return impl_->received; }
void PrinterEmulator::ClearReceived() { impl_->received.clear(); }
long PrinterEmulator::Sends() const { return impl_->state.sends; }
const std::vector<std::string>& PrinterEmulator::IgnoredLines() const { return impl_->ignored; }
int PrinterEmulator::SettingsListsPrinted() const { return impl_->state.listsPrinted; }
bool PrinterEmulator::InSettingMode() const { return impl_->state.setting; }
bool PrinterEmulator::Online() const { return impl_->state.online; }

// ---- config and state files ------------------------------------------------

bool PrinterEmulator::LoadConfig(const std::string& path, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (error) *error = path + ": cannot be opened";
        return false;
    }
    PrinterState next;
    next.items = impl_->state.items;
    next.SetFactoryValues();

    std::string raw;
    int lineNumber = 0;
    auto fail = [&](const std::string& what) {
        if (error) *error = path + ":" + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    while (std::getline(file, raw)) {
        ++lineNumber;
        std::string line = TrimRight(raw);
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        line = line.substr(start);
        std::size_t gap = line.find_first_of(" \t");
        std::string key = line.substr(0, gap);
        std::string rest;
        if (gap != std::string::npos) {
            std::size_t restStart = line.find_first_not_of(" \t", gap);
            if (restStart != std::string::npos) rest = line.substr(restStart);
        }
        std::vector<std::string> words;
        {
            std::istringstream in(rest);
            std::string word;
            while (in >> word) words.push_back(word);
        }
        auto needWords = [&](std::size_t count) { return words.size() == count; };

        if (key == "items") {
            if (rest.empty()) return fail("items needs a file path");
            std::string itemsPath = IsAbsolutePath(rest) ? rest : FolderOf(path) + rest;
            std::string problem;
            std::vector<EmulatorItem> items;
            if (!printer_emu::LoadItemTable(itemsPath, &items, &problem)) return fail(problem);
            // Values given earlier in the file refer to the old table; the
            // item file is meant to come first.
            next.items = items;
            next.SetFactoryValues();
        } else if (key == "model") {
            if (!needWords(1) || words[0].size() > kFieldWidth) return fail("model needs one identifier of at most 8 characters");
            next.model = words[0];
        } else if (key == "version") {
            if (rest.empty() || rest.size() > kFieldWidth) return fail("version needs a text of 1 to 8 characters");
            next.version = rest;
        } else if (key == "separator") {
            std::uint32_t value = 0;
            if (!needWords(1) || !ParseUnsigned(words[0], &value) || value > 255) return fail("separator needs a byte value 0..255");
            next.separator = static_cast<std::uint8_t>(value);
        } else if (key == "value") {
            if (!needWords(2)) return fail("value needs an item name and a keyword");
            if (next.items.empty()) return fail("value before any item table (load the items or add an items line)");
            int item = next.FindItem(words[0]);
            if (item < 0) return fail("unknown item " + words[0]);
            int position = next.FindKeyword(item, words[1]);
            if (position < 0) return fail("keyword " + words[1] + " is not in the list of " + words[0]);
            next.nvram[static_cast<std::size_t>(item)] = static_cast<std::size_t>(position);
        } else if (key == "counter") {
            int id = 0;
            std::uint32_t value = 0;
            if (!needWords(2) || !ParseInt(words[0], &id) || !ParseUnsigned(words[1], &value)) return fail("counter needs an id and a value");
            if (id == 1) {
                if (value > 0xFFFFu) return fail("counter 1 holds 16 bits");
            } else if (id < 3 || id > 7) {
                return fail("counter ids are 1 and 3 to 7");
            }
            next.counters[id] = value;
        } else if (key == "headpin") {
            int pin = 0;
            std::uint32_t value = 0;
            if (!needWords(2) || !ParseInt(words[0], &pin) || !ParseUnsigned(words[1], &value) || pin < 1 ||
                pin > static_cast<int>(kHeadPins)) {
                return fail("headpin needs a pin 1..24 and a value");
            }
            next.headPins[pin - 1] = value;
        } else if (key == "alarms") {
            if (words.size() > kAlarmCodes) return fail("alarms takes at most 7 codes");
            std::uint8_t codes[kAlarmCodes] = {};
            for (std::size_t i = 0; i < words.size(); ++i) {
                std::uint32_t value = 0;
                if (!ParseUnsigned(words[i], &value) || value > 255) return fail("alarm codes are bytes 0..255");
                codes[i] = static_cast<std::uint8_t>(value);
            }
            std::copy(std::begin(codes), std::end(codes), std::begin(next.alarms));
        } else if (key == "lists-printed") {
            int count = 0;
            if (!needWords(1) || !ParseInt(words[0], &count)) return fail("lists-printed needs a count");
            next.listsPrinted = count;
        } else if (key == "sends") {
            int count = 0;
            if (!needWords(1) || !ParseInt(words[0], &count)) return fail("sends needs a count");
            next.sends = count;
        } else if (key == "mode") {
            if (!needWords(1)) return fail("mode needs one of print, command, setting, stuck");
            const std::string& mode = words[0];
            next.online = mode == "command" || mode == "setting" || mode == "stuck";
            next.setting = mode == "setting" || mode == "stuck";
            next.stuck = mode == "stuck";
            if (mode != "print" && !next.online) return fail("mode needs one of print, command, setting, stuck");
        } else if (key == "fault") {
            if (words.empty()) return fail("fault needs a name");
            const std::string& fault = words[0];
            EmulatorFaults& faults = next.faults;
            int number = 0;
            if (fault == "no-answer" && needWords(1)) {
                faults.noAnswer = true;
            } else if (fault == "fail-send" && needWords(2) && ParseInt(words[1], &number) && number > 0) {
                faults.failNthSend = number;
                faults.failAllSendsFromNth = false;
            } else if (fault == "fail-sends-from" && needWords(2) && ParseInt(words[1], &number) && number > 0) {
                faults.failNthSend = number;
                faults.failAllSendsFromNth = true;
            } else if (fault == "wrong-model" && needWords(1)) {
                faults.wrongModel = true;
            } else if (fault == "silent-model" && needWords(1)) {
                faults.silentModel = true;
            } else if (fault == "bad-keyword" && needWords(2)) {
                faults.badKeywordItem = words[1];
            } else if (fault == "garbage" && needWords(1)) {
                faults.garbageBetweenEntries = true;
            } else if (fault == "cut-after" && needWords(2)) {
                faults.cutAfterItem = words[1];
            } else if (fault == "missing-counter" && words.size() >= 2) {
                for (std::size_t i = 1; i < words.size(); ++i) {
                    if (!ParseInt(words[i], &number)) return fail("missing-counter needs record ids");
                    faults.missingCounterIds.push_back(number);
                }
            } else if ((fault == "refuse-reset" || fault == "ignore-reset") && words.size() >= 2) {
                std::vector<int>& ids = fault == "refuse-reset" ? faults.refusedResetIds : faults.ignoredResetIds;
                for (std::size_t i = 1; i < words.size(); ++i) {
                    if (!ParseInt(words[i], &number) || !IsResetId(number))
                        return fail(fault + " needs reset ids (3, 5, 6, 7, 8)");
                    ids.push_back(number);
                }
            } else if (fault == "stick-in-setting" && needWords(1)) {
                faults.stickInSettingMode = true;
            } else {
                return fail("unknown or malformed fault \"" + rest + "\"");
            }
        } else {
            return fail("unknown setting \"" + key + "\"");
        }
    }
    impl_->state = next;
    impl_->ResetParser();
    return true;
}

bool PrinterEmulator::SaveState(const std::string& path) const {
    const PrinterState& state = impl_->state;
    std::ostringstream out;
    out << "# printer emulator state\n";
    out << "model " << state.model << "\n";
    out << "version " << TrimRight(state.version) << "\n";
    out << "separator " << static_cast<unsigned>(state.separator) << "\n";
    for (std::size_t i = 0; i < state.items.size(); ++i) {
        out << "value " << state.items[i].name << " " << state.items[i].keywords[state.nvram[i]] << "\n";
    }
    out << "counter 1 " << state.counters[1] << "\n";
    for (int id = 3; id <= 7; ++id) out << "counter " << id << " " << state.counters[id] << "\n";
    for (std::size_t pin = 0; pin < kHeadPins; ++pin) out << "headpin " << pin + 1 << " " << state.headPins[pin] << "\n";
    out << "alarms";
    for (std::uint8_t code : state.alarms) out << " " << static_cast<unsigned>(code);
    out << "\n";
    out << "lists-printed " << state.listsPrinted << "\n";
    out << "sends " << state.sends << "\n";
    out << "mode " << (state.stuck ? "stuck" : state.setting ? "setting" : state.online ? "command" : "print") << "\n";
    const EmulatorFaults& faults = state.faults;
    if (faults.noAnswer) out << "fault no-answer\n";
    if (faults.failNthSend > 0) {
        out << (faults.failAllSendsFromNth ? "fault fail-sends-from " : "fault fail-send ") << faults.failNthSend << "\n";
    }
    if (faults.wrongModel) out << "fault wrong-model\n";
    if (faults.silentModel) out << "fault silent-model\n";
    if (!faults.badKeywordItem.empty()) out << "fault bad-keyword " << faults.badKeywordItem << "\n";
    if (faults.garbageBetweenEntries) out << "fault garbage\n";
    if (!faults.cutAfterItem.empty()) out << "fault cut-after " << faults.cutAfterItem << "\n";
    if (!faults.missingCounterIds.empty()) {
        out << "fault missing-counter";
        for (int id : faults.missingCounterIds) out << " " << id;
        out << "\n";
    }
    if (faults.stickInSettingMode) out << "fault stick-in-setting\n";
    for (int id : faults.refusedResetIds) out << "fault refuse-reset " << id << "\n";
    for (int id : faults.ignoredResetIds) out << "fault ignore-reset " << id << "\n";

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    const std::string text = out.str();
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(file);
}
