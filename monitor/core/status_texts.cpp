// The status table: one group per code range, each searched in order and
// ending in its fallback row (code 9999). The texts share one layout: the
// bracketed title, one or two lines of description, then for most errors
// "《操作手順》" with numbered steps and "注）" notes. Lines are joined by
// "\r\n" (the status edit is a Windows multi-line edit) and hold at most 24
// full-width characters (48 bytes); continuation lines are indented by four
// blanks.
#include "monitor/core/status_rules.h"

namespace {

// Shared by every group whose range holds printer codes without a row.
const char kPrinterFaultText[] =
    "[%04d プリンター異常]\r\n"
    "プリンターで異常が発生しました。\r\n"
    "プリンターの状態を確認してください。";

// Shared steps of the jams: the sheet can only be taken out safely with the
// mechanism stopped.
#define KOA_JAM_STEPS                                  \
    "《操作手順》\r\n"                                 \
    "１．プリンターの電源を切ってください。\r\n"       \
    "２．詰まった用紙を取り除いてください。\r\n"       \
    "３．プリンターの電源を投入してください。"

// Hardware alarms: nothing the user can repair.
#define KOA_ALARM_STEPS                                \
    "《操作手順》\r\n"                                 \
    "１．プリンターの電源を切ってください。\r\n"       \
    "２．保守員へ連絡してください。"

const StatusEntry kBelow300[] = {
    {0, StatusIconReady, false, false, "[0000 印刷可能]"},
    {2, StatusIconReady, false, false,
     "[0002 印刷中]\r\n"
     "\r\n"
     "注）印刷を中止する時はプリンターをオフラインに\r\n"
     "    して「印刷中止」ボタンをクリックした後、プ\r\n"
     "    リンターの電源を再投入してください。\r\n"
     "    この操作をしないと正しく印刷されないことが\r\n"
     "    あります。"},
    {100, StatusIconInfo, false, false,
     "[情報取得中]\r\n"
     "プリンターの情報を取得しています。\r\n"
     "しばらくお待ちください。"},
    {201, StatusIconInfo, false, false,
     "[0201 印字ヘッド交換準備]\r\n"
     "印字ヘッドの交換時期が近づいています。\r\n"
     "保守員へ連絡してください。"},
    {202, StatusIconInfo, false, false,
     "[0202 印字ヘッド交換時期]\r\n"
     "印字ヘッドの交換時期になりました。\r\n"
     "保守員へ連絡して、印字ヘッドを交換してください。"},
    {203, StatusIconInfo, false, false,
     "[0203 リボンカセット交換準備]\r\n"
     "リボンカセットまたはサブリボンの交換時期が近\r\n"
     "づいています。\r\n"
     "新しいリボンカセットまたはサブリボンを準備し\r\n"
     "てください。\r\n"
     "注）リボンカセットまたはサブリボンは、指定の\r\n"
     "    純正品を使用してください。"},
    {204, StatusIconInfo, false, false,
     "[0204 リボンカセット交換時期]\r\n"
     "リボンカセットまたはサブリボンを交換してくだ\r\n"
     "さい。\r\n"
     "《操作手順》\r\n"
     "１．印刷中で無いことを確認します。\r\n"
     "    または、プリンターの電源を切ります。\r\n"
     "２．リボンカセットまたはサブリボンを交換します。\r\n"
     "    交換方法は、取扱説明書を参照してください。\r\n"
     "３．リボンカセットまたはサブリボンを交換したら、\r\n"
     "    何れかの方法でリボン寿命カウンタをクリアし\r\n"
     "    ます。\r\n"
     "    ・「消耗品情報」シートの「リボン寿命カウン\r\n"
     "      タクリア」ボタンをクリックします。\r\n"
     "    ・プリンター装置オペレータパネルの「メニュ\r\n"
     "      ー」＋「用紙セット」スイッチを押下した状\r\n"
     "      態で電源を投入し、「ハイ」を選択します。\r\n"
     "注）リボンカセットまたはサブリボンは、指定の\r\n"
     "    純正品を使用してください。\r\n"
     "注）リボンカセットまたはサブリボンを交換した時\r\n"
     "    は必ず本操作を行ってください。\r\n"
     "注）印字した直後は、印字ヘッドおよびプリンター\r\n"
     "    内部が高温となります。\r\n"
     "    温度が下がったことを確かめてから、リボンを\r\n"
     "    交換してください。\r\n"
     "注）サブリボンを５回交換したら、リボンカセット\r\n"
     "    を交換してください。"},
    {9999, StatusIconError, true, false, kPrinterFaultText},
};

// The printer reports 304, but no text exists for it: the only one on hand
// is word for word that of 305, whose title would show the user a code that
// is not the current one. So 304 keeps its row and its icon, and shows the
// printer-fault text, which names the code as it is.
const StatusEntry k300[] = {
    {300, StatusIconWarning, false, false,
     "[0300 オフライン]\r\n"
     "プリンターがオフラインです。\r\n"
     "《操作手順》\r\n"
     "１．プリンターをオンラインにしてください。\r\n"
     "注）印刷を中止する時は「印刷中止」ボタンをクリ\r\n"
     "    ックした後、プリンターの電源を再投入してく\r\n"
     "    ださい。\r\n"
     "    この操作をしないと正しく印刷されない\r\n"
     "    ことがあります。\r\n"
     "注）用紙がカット位置に送り出されている時は\r\n"
     "    操作パネルに、「ｶｯﾄﾏﾁ」と表示されます。"},
    {301, StatusIconWarning, false, false,
     "[0301 用紙無し（オートシートフィーダー）]\r\n"
     "オートシートフィーダーに用紙がありません。\r\n"
     "《操作手順》\r\n"
     "１．オートシートフィーダーに用紙をセットして\r\n"
     "    ください。\r\n"
     "２．プリンターをオンラインにしてください。"},
    {302, StatusIconWarning, false, false,
     "[0302 用紙無し]\r\n"
     "プリンターに用紙がありません。\r\n"
     "《操作手順》\r\n"
     "１．用紙をセットしてください。\r\n"
     "２．プリンターをオンラインにしてください。"},
    {303, StatusIconWarning, false, false,
     "[0303 単票抜き取り待ち]\r\n"
     "印刷の終わった単票用紙が抜き取られるのを待っ\r\n"
     "ています。\r\n"
     "《操作手順》\r\n"
     "１．印刷の終わった単票用紙を抜き取ってくださ\r\n"
     "    い。"},
    {304, StatusIconWarning, true, false, kPrinterFaultText},
    {305, StatusIconWarning, false, false,
     "[0305 連帳後退エラー]\r\n"
     "連続用紙を後退させることができませんでした。\r\n"
     "《操作手順》\r\n"
     "１．プリンターの電源を切ってください。\r\n"
     "２．連続用紙が正しくセットされているか確認し\r\n"
     "    てください。\r\n"
     "３．プリンターの電源を投入してください。"},
    {306, StatusIconWarning, false, false,
     "[0306 用紙吸入エラー]\r\n"
     "用紙を正しく吸入できませんでした。\r\n"
     "《操作手順》\r\n"
     "１．用紙を取り除き、正しくセットし直してくだ\r\n"
     "    さい。\r\n"
     "２．プリンターをオンラインにしてください。"},
    {307, StatusIconWarning, false, false,
     "[0307 吸入ジャム（手差し）]\r\n"
     "手差しで吸入した用紙が詰まりました。\r\n"
     KOA_JAM_STEPS},
    {308, StatusIconWarning, false, false,
     "[0308 吸入ジャム（オートシートフィーダー）]\r\n"
     "オートシートフィーダーから吸入した用紙が詰ま\r\n"
     "りました。\r\n"
     KOA_JAM_STEPS},
    {309, StatusIconWarning, false, false,
     "[0309 吸入ジャム（トラクター）]\r\n"
     "トラクターから吸入した連続用紙が詰まりました。\r\n"
     KOA_JAM_STEPS},
    {310, StatusIconWarning, false, false,
     "[0310 カバーオープン]\r\n"
     "プリンターのカバーが開いています。\r\n"
     "《操作手順》\r\n"
     "１．カバーを閉じてください。\r\n"
     "２．プリンターがオンラインになっているか確認\r\n"
     "    してください。"},
    {311, StatusIconWarning, false, false,
     "[0311 連帳退避待ち]\r\n"
     "連続用紙が退避されるのを待っています。\r\n"
     "《操作手順》\r\n"
     "１．連続用紙を退避させてください。\r\n"
     "    退避方法は、取扱説明書を参照してください。"},
    {312, StatusIconWarning, false, false,
     "[0312 セット位置異常]\r\n"
     "用紙のセット位置が正しくありません。\r\n"
     "《操作手順》\r\n"
     "１．用紙を取り除き、正しい位置にセットし直し\r\n"
     "    てください。\r\n"
     "２．プリンターをオンラインにしてください。"},
    {313, StatusIconWarning, false, false,
     "[0313 左端余白量異常]\r\n"
     "用紙の左端余白量が正しくありません。\r\n"
     "《操作手順》\r\n"
     "１．用紙のセット位置を確認し、正しくセットし\r\n"
     "    直してください。\r\n"
     "２．プリンターをオンラインにしてください。"},
    {314, StatusIconWarning, false, false,
     "[0314 単票セット待ちタイムアウト]\r\n"
     "単票用紙がセットされないまま、待ち時間を過ぎ\r\n"
     "ました。\r\n"
     "《操作手順》\r\n"
     "１．単票用紙をセットしてください。\r\n"
     "２．プリンターをオンラインにしてください。"},
    // Ignored: the display keeps what it showed (the offline text already
    // tells what the cut position means).
    {315, StatusIconWarning, false, true,
     "[0315 用紙カット待ち]\r\n"
     "用紙がカット位置に送り出されています。\r\n"
     "《操作手順》\r\n"
     "１．用紙を切り取ってください。"},
    {316, StatusIconWarning, false, false,
     "[0316 単票セット待ち]\r\n"
     "単票用紙がセットされるのを待っています。\r\n"
     "《操作手順》\r\n"
     "１．単票用紙をセットしてください。"},
    {317, StatusIconWarning, false, false,
     "[0317 単票セット待ち]\r\n"
     "単票用紙がセットされるのを待っています。\r\n"
     "《操作手順》\r\n"
     "１．単票用紙をセットしてください。"},
    {318, StatusIconWarning, false, false,
     "[0318 連帳退避待ちタイムアウト]\r\n"
     "連続用紙が退避されないまま、待ち時間を過ぎま\r\n"
     "した。\r\n"
     "《操作手順》\r\n"
     "１．連続用紙を退避させてください。\r\n"
     "    退避方法は、取扱説明書を参照してください。\r\n"
     "２．プリンターをオンラインにしてください。"},
    {9999, StatusIconError, true, false, kPrinterFaultText},
};

const StatusEntry k400[] = {
    {400, StatusIconError, false, true, "[0400 リザーブ]"},
    {401, StatusIconError, false, true, "[0401 リザーブ]"},
    {402, StatusIconError, false, false,
     "[0402 排出ジャム（手差し）]\r\n"
     "手差しの用紙が排出中に詰まりました。\r\n"
     KOA_JAM_STEPS},
    {403, StatusIconError, false, false,
     "[0403 排出ジャム（オートシートフィーダー）]\r\n"
     "オートシートフィーダーの用紙が排出中に詰まり\r\n"
     "ました。\r\n"
     KOA_JAM_STEPS},
    {404, StatusIconError, false, false,
     "[0404 排出ジャム（トラクター）]\r\n"
     "トラクターの連続用紙が排出中に詰まりました。\r\n"
     KOA_JAM_STEPS},
    {405, StatusIconError, false, true, "[0405 リザーブ]"},
    {406, StatusIconError, false, false,
     "[0406 印字桁ずれ]\r\n"
     "印字位置のずれを検出しました。\r\n"
     "《操作手順》\r\n"
     "１．プリンターの電源を切ってください。\r\n"
     "２．用紙やリボンが引っかかっていないか確認し\r\n"
     "    てください。\r\n"
     "３．プリンターの電源を投入してください。\r\n"
     "注）再度発生する時は、保守員へ連絡してくださ\r\n"
     "    い。"},
    {407, StatusIconError, false, false,
     "[0407 用紙厚異常]\r\n"
     "用紙の厚さが使用できる範囲を超えています。\r\n"
     "《操作手順》\r\n"
     "１．プリンターの電源を切ってください。\r\n"
     "２．用紙を取り除き、使用できる用紙か確認して\r\n"
     "    ください。\r\n"
     "３．プリンターの電源を投入してください。"},
    {408, StatusIconError, false, false,
     "[0408 改行ジャム]\r\n"
     "改行中に用紙が詰まりました。\r\n"
     KOA_JAM_STEPS},
    {409, StatusIconError, false, false,
     "[0409 リボン異常]\r\n"
     "リボンが正しく送られていません。\r\n"
     "《操作手順》\r\n"
     "１．プリンターの電源を切ってください。\r\n"
     "２．リボンカセットが正しく取り付けられている\r\n"
     "    か確認してください。\r\n"
     "３．プリンターの電源を投入してください。\r\n"
     "注）再度発生する時は、保守員へ連絡してくださ\r\n"
     "    い。"},
    {9999, StatusIconError, true, false, kPrinterFaultText},
};

const StatusEntry k500[] = {
    {500, StatusIconError, false, false,
     "[0500 通信エラー]\r\n"
     "プリンターとの通信がエラーとなりました。\r\n"
     "プリンターの電源を再投入してください。"},
    {9999, StatusIconError, true, false, kPrinterFaultText},
};

const StatusEntry k700[] = {
    {700, StatusIconAlarm, false, false,
     "[0700 ＲＯＭ/ＲＡＭアラーム]\r\n"
     "プリンター内部のメモリーに異常が発生しました。\r\n"
     KOA_ALARM_STEPS},
    {701, StatusIconAlarm, false, true, "[0701 リザーブ]"},
    {702, StatusIconAlarm, false, false,
     "[0702 イージーセットアラーム]\r\n"
     "イージーセット機構に異常が発生しました。\r\n"
     KOA_ALARM_STEPS},
    {703, StatusIconAlarm, false, false,
     "[0703 ＨＣＰＰアラーム]\r\n"
     "プリンターでＨＣＰＰアラームが発生しました。\r\n"
     KOA_ALARM_STEPS},
    {704, StatusIconAlarm, false, false,
     "[0704 ＡＰＴＣアラーム]\r\n"
     "プリンターでＡＰＴＣアラームが発生しました。\r\n"
     KOA_ALARM_STEPS},
    {705, StatusIconAlarm, false, false,
     "[0705 ＬＲＥＳアラーム]\r\n"
     "プリンターでＬＲＥＳアラームが発生しました。\r\n"
     KOA_ALARM_STEPS},
    {706, StatusIconAlarm, false, true, "[0706 リザーブ]"},
    {707, StatusIconAlarm, false, false,
     "[0707 ファンアラーム]\r\n"
     "冷却ファンに異常が発生しました。\r\n"
     KOA_ALARM_STEPS},
    {708, StatusIconAlarm, false, false,
     "[0708 ＡＳＦモーターアラーム]\r\n"
     "オートシートフィーダーのモーターに異常が発生\r\n"
     "しました。\r\n"
     KOA_ALARM_STEPS},
    {709, StatusIconAlarm, false, false,
     "[0709 リボンモーターアラーム]\r\n"
     "リボンモーターに異常が発生しました。\r\n"
     KOA_ALARM_STEPS},
    {710, StatusIconAlarm, false, false,
     "[0710 ＯＶＥＲＬＯＡＤアラーム]\r\n"
     "プリンター内部で過負荷を検出しました。\r\n"
     KOA_ALARM_STEPS},
    {711, StatusIconAlarm, false, false,
     "[0711 ＬＯＷ ＶＯＬアラーム]\r\n"
     "プリンター内部で電圧の低下を検出しました。\r\n"
     KOA_ALARM_STEPS},
    {712, StatusIconAlarm, false, false,
     "[0712 ＨＩＧＨ ＶＯＬアラーム]\r\n"
     "プリンター内部で電圧の上昇を検出しました。\r\n"
     KOA_ALARM_STEPS},
    {713, StatusIconAlarm, false, false,
     "[0713 ヘッドアラーム]\r\n"
     "印字ヘッドに異常が発生しました。\r\n"
     KOA_ALARM_STEPS},
    {714, StatusIconAlarm, false, false,
     "[0714 ＬＦアラーム]\r\n"
     "改行機構に異常が発生しました。\r\n"
     KOA_ALARM_STEPS},
    {715, StatusIconAlarm, false, false,
     "[0715 ＳＰアラーム]\r\n"
     "印字ヘッドの移動機構に異常が発生しました。\r\n"
     KOA_ALARM_STEPS},
    {9999, StatusIconError, true, false, kPrinterFaultText},
};

// The language monitor's own link failures: no rows, only the fallback.
const StatusEntry kLink[] = {
    {9999, StatusIconError, true, false,
     "[%4d 通信エラー]\r\n"
     "プリンターとの通信が異常となりました。\r\n"
     "プリンターの電源を再投入してください。"},
};

const StatusEntry kSystem[] = {
    {1500, StatusIconError, false, false,
     "[1500 応答なし]\r\n"
     "プリンターからの応答がありません。\r\n"
     "《操作手順》\r\n"
     "１．プリンターの電源を確認してください。\r\n"
     "２．プリンターケーブルの接続を確認してください。\r\n"
     "    確実に接続されていますか？\r\n"
     "    断線していませんか？\r\n"
     "３．プリンターのエラー監視機能が有効になってい\r\n"
     "    るか確認してください。\r\n"
     "４．パソコンのプリンターポート設定が双方向通信\r\n"
     "    可能な設定になっているか確認してください。\r\n"
     "５．プリンターがオンラインになっているか確認し\r\n"
     "    てください。\r\n"
     "６．プリンターエラーが発生していないか確認して\r\n"
     "    ください。\r\n"
     "    プリンターエラーが発生している場合は、「印\r\n"
     "    刷中止」ボタンをクリックし、プリンターエラ\r\n"
     "    ーを解除してからプリンターの電源を再投入し\r\n"
     "    てください。"},
    {1900, StatusIconError, false, false,
     "[1900 メモリ不足]\r\n"
     "メモリ不足が発生しました。\r\n"
     "不要なアプリケーションを終了してください。"},
    {9999, StatusIconError, true, false,
     "[%4d システムエラー]\r\n"
     "システムエラーが発生しました。\r\n"
     "いったん印刷を終了し、再度印刷を行ってください。"},
};

#undef KOA_JAM_STEPS
#undef KOA_ALARM_STEPS

template <std::size_t N>
constexpr StatusGroup Group(const StatusEntry (&rows)[N]) {
    return StatusGroup{rows, N};
}

// In the order of StatusGroupId.
const StatusGroup kGroups[StatusGroupCount] = {
    Group(kBelow300), Group(k300), Group(k400), Group(k500), Group(k700), Group(kLink), Group(kSystem),
};

}  // namespace

const StatusGroup& StatusTableGroup(int group) {
    if (group < 0 || group >= StatusGroupCount) group = StatusGroupSystem;
    return kGroups[group];
}
