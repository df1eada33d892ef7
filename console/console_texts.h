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
    TextCount
};

// The printf format of `text` in `language`; never null.
const char* ConsoleFormat(ConsoleText text, ConsoleLanguage language);
