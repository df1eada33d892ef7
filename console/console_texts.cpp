#include "console/console_texts.h"

namespace {

struct TextPair {
    ConsoleText id;
    const char* english;
    const char* japanese;
};

const TextPair kTexts[] = {
    {TextUsage,
     "usage: veldra6c show FILE.vd6 | diff A.vd6 B.vd6 | export FILE.vd6 | import FILE.csv FILE.vd6 | check FILE.vd6\n"
     "       veldra6c read PRINTER... --out DIR | write FILE.vd6 PRINTER... | verify FILE.vd6 PRINTER... [--json]\n",
     "使い方: veldra6c show FILE.vd6 | diff A.vd6 B.vd6 | export FILE.vd6 | import FILE.csv FILE.vd6 | check FILE.vd6\n"
     "        veldra6c read PRINTER... --out DIR | write FILE.vd6 PRINTER... | verify FILE.vd6 PRINTER... [--json]\n"},
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
    {TextPrinterLine, "%s: %s\n", "%s: %s\n"},
    {TextResultOk, "OK", "OK"},
    {TextResultSaved, "OK, saved as %s", "OK (%sに保存しました)"},
    {TextResultSame, "OK, the same as the file", "OK (ファイルと同じです)"},
    {TextReasonUnknownPrinter, "no printer of this name is installed", "この名前のプリンターはありません"},
    {TextReasonUnsupportedDriver, "its driver is not a koa2400Max-R or koa2600Max-R driver",
     "koa2400Max-R/koa2600Max-Rのプリンタードライバーではありません"},
    {TextReasonDeleted, "the printer was deleted", "プリンターが削除されました"},
    {TextReasonStateUnreadable, "the spooler did not give the printer's state",
     "スプーラーからプリンターの状態を読み込めません"},
    {TextReasonOutOfMemory, "not enough memory to read the printer's state",
     "メモリーが足りないためプリンターの状態を読み込めません"},
    {TextReasonFilePort, "it prints to FILE:; give it a local port in its properties",
     "出力先がFILEになっています。プロパティで出力先をローカルポートに変更してください"},
    {TextReasonPaused, "the printer is paused", "プリンターは一時停止状態です"},
    {TextReasonBidiOff, "bidirectional support is off in its properties",
     "プリンターの双方向機能が無効になっています"},
    {TextReasonOffline, "the printer is set to work offline", "プリンターはオフラインになっています"},
    {TextReasonSeparator, "a separator page is set in its properties", "区切りページが設定されています"},
    {TextReasonOtherPort, "its port is neither a local (LPT, USB) nor a network port",
     "出力ポートがローカルポートでもネットワークポートでもありません"},
    {TextReasonIppPort, "internet printing (IPP) ports are not supported",
     "インターネット印刷(IPP)のポートには対応していません"},
    {TextReasonJobsQueued, "print jobs are waiting in its queue", "スプールに印刷ジョブが残っています"},
    {TextReasonNoChannel, "the channel to the printer's language monitor cannot be opened",
     "ランゲージモニターとの通信路を開けません"},
    {TextReasonLanLibrary, "the network library cannot be loaded or started",
     "LAN通信用ライブラリーの初期化に失敗しました"},
    {TextReasonLanNoAnswer, "no answer at the printer's network address",
     "ネットワーク上のプリンターから応答がありません"},
    {TextReasonNoAnswer, "no answer from the printer", "プリンターからの応答がありません"},
    {TextReasonAnswerUnreadable, "the printer's answer holds no settings",
     "プリンターから設定内容の読み込みに失敗しました"},
    {TextReasonOtherModel, "another model answered than its driver is for", "接続されているプリンターが異なります"},
    {TextReasonValueErrors, "the printer gave %d values outside their lists (%s); nothing was saved",
     "プリンターが一覧にない設定値を%d項目返しました(%s)。保存していません"},
    {TextReasonFileUnwritable, "%s cannot be written", "%sに書き込めません"},
    {TextReasonDiffers, "%d items differ from the file: %s", "%d項目がファイルと異なります: %s"},
    {TextNoteNotRecovered, " (and it could not be taken out of the unfinished command)",
     " (中断したコマンドからプリンターを戻せませんでした)"},
    {TextNoteLanClose, " (the network library could not be closed)", " (LAN通信用ライブラリーの解放に失敗しました)"},
    {TextSummary, "%d printers: %d succeeded, %d failed\n", "プリンター%d台: 成功%d台、失敗%d台\n"},
    {TextBadUnknownPrinter, "%s: no printer of this name is installed; nothing was done\n",
     "%s: この名前のプリンターはありません。何も行っていません。\n"},
    {TextBadPrinterTwice, "%s: given twice; nothing was done\n", "%s: 2回指定されています。何も行っていません。\n"},
    {TextBadSameFile, "%s and %s would both be saved as %s; nothing was done\n",
     "%sと%sは同じファイル%sに保存されます。何も行っていません。\n"},
    {TextBadNotFolder, "%s: not a folder; nothing was done\n", "%s: フォルダーではありません。何も行っていません。\n"},
    {TextBadFile, "%s: not a sound settings file; nothing was done\n",
     "%s: 正しい設定ファイルではありません。何も行っていません。\n"},
};
static_assert(sizeof kTexts / sizeof kTexts[0] == TextCount, "one row per text");

}  // namespace

const char* ConsoleFormat(ConsoleText text, ConsoleLanguage language) {
    for (const TextPair& pair : kTexts)
        if (pair.id == text) return language == LanguageJapanese ? pair.japanese : pair.english;
    return "";
}
