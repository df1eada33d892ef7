// A stand-in for the koa2400Max-R / koa2600Max-R printer behind the language
// monitor: it takes the bytes the monitor writes to the port, answers the
// queries the remote panel uses, keeps its NVRAM settings, counters and alarm
// history, and injects faults on request. Portable C++, no platform headers.
//
// Its knowledge of items and keywords comes from its own data file
// (tools/printer_emu/printer_items.txt), written independently of the
// product's tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct EmulatorFaults {
    bool noAnswer = false;          // every receive fails (no answer on the port)
    int failNthSend = 0;            // the Nth send (1-based) is not taken; 0: never
    bool failAllSendsFromNth = false;  // with failNthSend: that send and all later ones fail
    bool wrongModel = false;        // "?MODEL" answers the other model's identifier
    std::string badKeywordItem;     // this item (name, unpadded) is reported with keyword "BADVALUE"
    bool garbageBetweenEntries = false;  // junk bytes between NVRAM entries
    std::string cutAfterItem;       // the NVRAM answer ends right after this item's name and separator
    std::vector<int> missingCounterIds;  // counter records left out of the S-query answer
    bool stickInSettingMode = false;     // after "SETTING", ignore everything until the recovery sequence
};

class PrinterEmulator {
public:
    PrinterEmulator();

    // Loads the item table (name, keywords, factory keyword). Returns false
    // and sets *error on a malformed file.
    bool LoadItems(const std::string& path, std::string* error);

    // Model "koa240MR" or "koa260MR"; firmware version text (7 characters used).
    void SetModel(const std::string& identifier);
    void SetVersion(const std::string& version);

    // NVRAM value of an item by keyword (both unpadded); false if unknown.
    bool SetValue(const std::string& item, const std::string& keyword);
    std::string Value(const std::string& item) const;
    void ResetToFactory();

    // Counters: id 1 (16-bit), ids 3-7 (32-bit), head pins 1..24, alarm history (7 codes).
    void SetCounter(int id, std::uint32_t value);
    std::uint32_t Counter(int id) const;
    void SetHeadPin(int pin, std::uint32_t value);
    std::uint32_t HeadPin(int pin) const;
    void SetAlarmHistory(const std::vector<std::uint8_t>& codes);

    EmulatorFaults& Faults();

    // The language monitor writes `length` bytes to the port. Returns false
    // when the printer does not take them (an injected send failure).
    bool Write(const std::uint8_t* bytes, std::size_t length);

    // The language monitor reads the port: the answer to the queries received
    // since the last read (at most 4096 bytes). Returns false when there is
    // no answer (nothing asked, or the no-answer fault).
    bool Read(std::vector<std::uint8_t>* answer);

    // Every byte taken by Write, in order (sends that failed are not recorded).
    const std::vector<std::uint8_t>& Received() const;

    // How often "PRINT-E" arrived (the settings list was printed).
    int SettingsListsPrinted() const;
    bool InSettingMode() const;
    bool Online() const;

    // Text form of the whole state (model, version, NVRAM, counters, alarm
    // history, faults), for the stand-in's config and state files: see the
    // README. SaveState writes what LoadConfig reads.
    bool LoadConfig(const std::string& path, std::string* error);
    bool SaveState(const std::string& path) const;

private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};
