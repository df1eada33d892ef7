// What the console tool needs of the system: whole files, an output that a
// person can read, and the language to speak.
#pragma once

#include <cstdio>
#include <string>

#include "console/console_texts.h"

// Settings files are 109 bytes and their CSV a few kilobytes: anything
// larger than this is no such file and is not read.
enum { ConsoleFileLimit = 1 << 20 };

// The whole file; false when it cannot be opened or read, or is larger
// than ConsoleFileLimit.
bool ReadWholeFile(const std::string& path, std::string* bytes);

// Writes `bytes` to a temporary file in the same folder and puts it in
// place of `path` only when all of it was written: a failure leaves the old
// file as it was.
bool ReplaceFileWhole(const std::string& path, const std::string& bytes);

// Japanese where the console shows code page 932, English elsewhere.
ConsoleLanguage OutputLanguage();

// Writes code page 932 text so that the terminal shows it.
void WriteOutput(std::FILE* stream, const std::string& text);

// Code page 932 text as UTF-16 code units (for JSON); false when the system
// cannot convert it.
bool Cp932ToUtf16(const std::string& text, std::u16string* units);

// The printers this system reaches (the spooler, the language monitor's
// channel, the LAN library); null where the tool reaches none.
class PrinterSystem;
PrinterSystem* SystemPrinters();
