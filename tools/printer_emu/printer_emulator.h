// A stand-in for the koa2400Max-R / koa2600Max-R printer behind the language
// monitor: it takes the bytes the monitor writes to the port, answers the
// queries the remote panel uses, keeps its NVRAM settings, counters and alarm
// history, and injects faults on request. Portable C++, no platform headers.
//
// Its knowledge of items and keywords comes from its own data file
// (tools/printer_emu/printer_items.txt), written independently of the
// product's tables.
//
// The byte stream (what Write receives) is parsed with state kept between
// writes, so a command may be split over several writes and several commands
// may share one:
//  - ESC "e" and a code (ONLINE, S1, S3..S9, R3, R5..R8) act in any mode,
//    except while the printer is stuck in setting mode (fault below). A
//    reset may be refused or ignored (faults below).
//  - Command words (8 bytes, blank-padded, then CR) are only understood in
//    command mode, i.e. after ESC "e" "ONLINE"; before that the bytes are
//    print data and have no effect. A word that is not exactly the padded
//    8-byte keyword is not understood (see IgnoredLines).
//  - "?MODEL", "?VER", "?NVRAM" queue their answers for the next Read.
//  - "SETTING" enters setting mode: then lines "\r" name(8) ":" keyword(8)
//    set the NVRAM; an unknown name or keyword, a short or missing value
//    leaves the NVRAM as it was. "EXIT" leaves setting mode (command mode
//    stays), "END" and "CANCEL" leave both modes.
//  - "EXIT", "END", "CANCEL" outside setting mode leave command mode.
//  - "PRINT-E" counts one printed settings list; the printer then prints it
//    and is back in print mode (command mode ends).
//
// Not thread-safe: one caller at a time. Copies of a PrinterEmulator share
// one printer (the state lives behind a shared pointer).
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
    bool silentModel = false;       // "?MODEL" gets no answer at all (the other queries still do)
    std::string badKeywordItem;     // this item (name, unpadded) is reported with keyword "BADVALUE"
    bool garbageBetweenEntries = false;  // junk bytes between NVRAM entries
    std::string cutAfterItem;       // the NVRAM answer ends right after this item's name and separator
    std::vector<int> missingCounterIds;  // counter records left out of the S-query answer
    bool stickInSettingMode = false;     // after "SETTING", ignore everything until the recovery sequence
    // Counter resets (ESC e R<id>, ids 3, 5-8) the printer refuses: the
    // write that completes one is answered as failed (its bytes were
    // received) and the count stays.
    std::vector<int> refusedResetIds;
    // Counter resets the printer takes without clearing the count (a
    // printer that acknowledges and forgets).
    std::vector<int> ignoredResetIds;
};

// One setting item as the emulator knows it: unpadded name, the wire
// keywords (unpadded) in list order, and the position of the factory keyword.
struct EmulatorItem {
    std::string name;
    std::vector<std::string> keywords;
    std::size_t factory = 0;
};

class PrinterEmulator {
public:
    // Factory state: model "koa240MR", version "1.00", counters, head pins
    // and alarm codes zero, no faults. No items until LoadItems.
    PrinterEmulator();

    // Loads the item table (name, keywords, factory keyword) and puts every
    // item at its factory keyword. Returns false and sets *error (when not
    // null) on a malformed file; the previous table then stays in place.
    bool LoadItems(const std::string& path, std::string* error);
    const std::vector<EmulatorItem>& Items() const;

    // Model "koa240MR" or "koa260MR" (any text of at most 8 characters is
    // taken, longer text is cut); firmware version text (an 8-byte field on
    // the wire, of which the remote panel uses 7 characters).
    void SetModel(const std::string& identifier);
    const std::string& Model() const;
    void SetVersion(const std::string& version);
    const std::string& Version() const;

    // The separator byte after each field of the text answers (default CR).
    void SetSeparator(std::uint8_t separator);

    // NVRAM value of an item by keyword (both unpadded; trailing blanks are
    // ignored); false if the item or keyword is unknown. Value returns ""
    // for an unknown item.
    bool SetValue(const std::string& item, const std::string& keyword);
    std::string Value(const std::string& item) const;
    // Every item back at its factory keyword (counters, model and the rest
    // are not touched).
    void ResetToFactory();

    // Counters: id 1 (16-bit), ids 3-7 (32-bit), head pins 1..24, alarm history (7 codes).
    // The setters return false (and change nothing) for an id or pin out of range.
    bool SetCounter(int id, std::uint32_t value);
    std::uint32_t Counter(int id) const;   // 0 for an unknown id
    bool SetHeadPin(int pin, std::uint32_t value);
    std::uint32_t HeadPin(int pin) const;  // 0 for an unknown pin
    // Takes the first 7 codes; missing ones become 0.
    void SetAlarmHistory(const std::vector<std::uint8_t>& codes);
    std::vector<std::uint8_t> AlarmHistory() const;  // always 7 codes

    EmulatorFaults& Faults();
    const EmulatorFaults& Faults() const;

    // The language monitor writes `length` bytes to the port. Returns false
    // when the printer does not take them (an injected send failure, or
    // null bytes with a non-zero length).
    bool Write(const std::uint8_t* bytes, std::size_t length);

    // The language monitor reads the port: the answer to the queries received
    // since the last read (at most 4096 bytes; the rest is lost). Returns
    // false when there is no answer (nothing asked, or the no-answer fault);
    // either way the queued answers are gone afterwards.
    bool Read(std::vector<std::uint8_t>* answer);

    // Every byte taken by Write, in order (sends that failed are not recorded).
    const std::vector<std::uint8_t>& Received() const;
    void ClearReceived();
    // Number of Write calls so far, taken or not (the count the send fault uses).
    long Sends() const;

    // Command and setting lines that had no effect (unknown words, unknown
    // items or keywords, lines without a full value), without their CR, in
    // order; at most the first 1024 are kept. Empty lines are not listed.
    const std::vector<std::string>& IgnoredLines() const;

    // How often "PRINT-E" arrived (the settings list was printed).
    int SettingsListsPrinted() const;
    bool InSettingMode() const;
    bool Online() const;

    // Text form of the whole state (model, version, NVRAM, counters, alarm
    // history, faults, mode, send count), for the stand-in's config and state
    // files: see tools/README.md. LoadConfig starts from the factory state
    // (all items at factory, counters zero, no faults) and applies the file.
    // The item table must be loaded first (LoadItems) unless the file names
    // one with an "items" line (a relative path counts from the file's
    // folder). SaveState writes what LoadConfig reads; it does not name the
    // item file. On an error LoadConfig returns false, sets *error and leaves
    // the state as it was.
    bool LoadConfig(const std::string& path, std::string* error);
    bool SaveState(const std::string& path) const;

private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};
