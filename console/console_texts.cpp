#include "console/console_texts.h"

namespace {

struct TextPair {
    ConsoleText id;
    const char* english;
    const char* japanese;
};

const TextPair kTexts[] = {
    {TextUsage,
     "usage: veldra6c show FILE.vd6 | diff A.vd6 B.vd6 | export FILE.vd6 | import FILE.csv FILE.vd6 | check FILE.vd6\n",
     "使い方: veldra6c show FILE.vd6 | diff A.vd6 B.vd6 | export FILE.vd6 | import FILE.csv FILE.vd6 | check FILE.vd6\n"},
    {TextNotInList, "(not in the list: byte %d)", "(一覧にない値: %d)"},
    {TextFileShort, "%s: %d bytes, a settings file has 109\n", "%s: %dバイトです。設定ファイルは109バイトです。\n"},
    {TextFileLong, "%s: %d bytes, a settings file has 109\n", "%s: %dバイトです。設定ファイルは109バイトです。\n"},
    {TextFileUnreadable, "%s: cannot be read\n", "%s: 読み込めません。\n"},
    {TextFileUnwritable, "%s: cannot be written; nothing was changed\n", "%s: 書き込めません。何も変更していません。\n"},
    {TextFileOk, "%s: OK\n", "%s: OK\n"},
    {TextDiffers, "%d items differ\n", "%d項目が異なります。\n"},
    {TextSame, "no item differs\n", "異なる項目はありません。\n"},
    {TextCsvUnknownItem, "line %d: unknown item \"%s\"\n", "%d行目: 項目\"%s\"はありません。\n"},
    {TextCsvUnknownValue, "line %d: \"%s\" is not a value of item %s\n", "%d行目: \"%s\"は項目%sの設定値にありません。\n"},
    {TextCsvDuplicate, "line %d: item %s is given again (first on line %d)\n",
     "%d行目: 項目%sが重複しています(最初は%d行目)。\n"},
    {TextCsvMissing, "%d items are missing, the first is %s\n", "%d項目がありません(最初は%s)。\n"},
    {TextCsvMalformed, "line %d: not a line of item, value, title and text\n",
     "%d行目: 項目,設定値,名称,表示の形式ではありません。\n"},
    {TextCsvHeader, "line %d: the first line must be the header \"item,value,title,text\"\n",
     "%d行目: 1行目は見出し\"item,value,title,text\"にしてください。\n"},
    {TextImported, "%s: written\n", "%s: 書き込みました。\n"},
    {TextNotInThisBuild, "%s: only in the Windows build\n", "%s: Windows版でのみ使えます。\n"},
};
static_assert(sizeof kTexts / sizeof kTexts[0] == TextCount, "one row per text");

}  // namespace

const char* ConsoleFormat(ConsoleText text, ConsoleLanguage language) {
    for (const TextPair& pair : kTexts)
        if (pair.id == text) return language == LanguageJapanese ? pair.japanese : pair.english;
    return "";
}
