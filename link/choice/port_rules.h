// The printer choice's rules that need no platform: which channel a printer's
// port and spooler state allow (or why they refuse it), and how the
// spooler's names are kept in the fixed-size fields of a PrinterTarget.
#pragma once

#include <cstddef>
#include <cstdint>

// The spooler's bits the rules look at (the values of PRINTER_ATTRIBUTE_*
// and PRINTER_STATUS_* in winspool.h; printer_state.cpp checks them).
enum : std::uint32_t {
    PortAttributeWorkOffline = 0x00000400,
    PortAttributeEnableBidi = 0x00000800,
    PortStatusPaused = 0x00000001,
};

// Refusal codes of ClassifyPort besides ConnectSpooler (0) and ConnectLan (1).
enum RefusalCode {
    RefuseFilePort = 2,
    RefusePaused = 3,
    RefuseBidiOff = 4,
    RefuseOffline = 5,
    RefuseSeparator = 6,
    RefuseOtherPort = 16,
};

// The ConnectionKind of a printer: the first rule that matches wins.
//  ":lp" anywhere in the port name: 1 (LAN; nothing else is looked at),
//  the name begins with "FILE:": 2, neither "LPT" nor "USB" in it: 16,
//  bidirectional support off: 4, paused: 3, work offline: 5, a separator
//  page: 6, otherwise 0. Text tests are case-sensitive. A null port name
//  counts as empty, a null or empty separator file as none.
int ClassifyPort(const char* portName, std::uint32_t attributes, std::uint32_t status, const char* separatorFile);

// An internet printing (IPP) port ("/ipp" anywhere in the name, case-
// sensitive): the panel will not talk through one even where ClassifyPort
// found "USB" or "LPT" in its name. Null counts as empty.
bool IsInternetPrintingPort(const char* portName);

// Size of the name fields of a PrinterTarget: 255 bytes and the NUL.
enum { PrinterNameSize = 256 };
