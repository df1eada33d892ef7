// Every text the console tool prints of its own, in English and Japanese
// (code page 932), in one table.
#pragma once

enum ConsoleLanguage { LanguageEnglish = 0, LanguageJapanese = 1 };

enum ConsoleText {
    TextUsage,
    TextNotInList,          // a byte outside its item's list
    TextFileShort,          // %s file, %d bytes
    TextFileLong,
    TextFileUnreadable,     // %s file
    TextFileUnwritable,
    TextFileOk,             // %s file
    TextDiffers,            // %d items
    TextSame,
    TextCsvUnknownItem,     // %d line, %s item
    TextCsvUnknownValue,    // %d line, %s value, %s item
    TextCsvDuplicate,       // %d line, %s item, %d first line
    TextCsvMissing,         // %d count, %s first missing item
    TextCsvMalformed,       // %d line
    TextCsvHeader,          // %d line
    TextImported,           // %s file
    TextNotInThisBuild,     // %s command
    // The commands that reach printers: one line per printer, a summary.
    TextPrinterLine,        // %s printer, %s what became of it
    TextResultOk,
    TextResultSaved,        // %s file
    TextResultSame,
    TextReasonUnknownPrinter,
    TextReasonUnsupportedDriver,
    TextReasonDeleted,
    TextReasonStateUnreadable,
    TextReasonOutOfMemory,
    TextReasonFilePort,
    TextReasonPaused,
    TextReasonBidiOff,
    TextReasonOffline,
    TextReasonSeparator,
    TextReasonOtherPort,
    TextReasonIppPort,
    TextReasonJobsQueued,
    TextReasonNoChannel,
    TextReasonLanLibrary,
    TextReasonLanNoAnswer,
    TextReasonNoAnswer,
    TextReasonAnswerUnreadable,
    TextReasonOtherModel,
    TextReasonValueErrors,  // %d count, %s items
    TextReasonFileUnwritable,  // %s file
    TextReasonDiffers,      // %d count, %s items
    TextNoteNotRecovered,
    TextNoteLanClose,
    TextSummary,            // %d printers, %d succeeded, %d failed
    // Bad input: nothing was done.
    TextBadUnknownPrinter,  // %s printer
    TextBadPrinterTwice,    // %s printer
    TextBadSameFile,        // %s printer, %s printer, %s file
    TextBadNotFolder,       // %s folder
    TextBadFile,            // %s file
    TextCount
};

// The printf format of `text` in `language`; never null.
const char* ConsoleFormat(ConsoleText text, ConsoleLanguage language);
