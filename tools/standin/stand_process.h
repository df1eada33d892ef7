// What the stand-in programs (lmstand, lanstand) share: the printer they
// load, the files they leave for the tests, and the test process they end
// with.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "tools/printer_emu/printer_emulator.h"

// A whole decimal number in [low, high]; false for anything else.
bool ParseNumber(const char* text, long low, long high, long* value);

// The process to end with, or null for none (pid 0). False (after a message
// naming `program`) when there is no such process.
bool OpenParentProcess(long pid, const char* program, HANDLE* parent);

// Sleeps `ms`, or less when the parent ends meanwhile; true when it ended.
// Without a parent it just sleeps.
bool PauseUnlessParentEnds(HANDLE parent, DWORD ms);

// Loads the emulator's item table and, when given, its configuration. False
// after a message naming `program`.
bool LoadPrinter(PrinterEmulator* printer, const std::string& items, const std::string& config, const char* program);

// Replaces the file with `length` bytes (nothing for an empty path).
bool WriteFileBytes(const std::string& path, const void* bytes, std::size_t length);

// Every byte the printer has received to `record`, its state to `state`
// (either may be empty).
void SaveRecord(const PrinterEmulator& printer, const std::string& record, const std::string& state);
