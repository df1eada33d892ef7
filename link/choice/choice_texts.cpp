#include "link/choice/choice_texts.h"

#include "link/choice/port_rules.h"

const char ChoiceCaption[] = "KOA koa2400Max-R/koa2600Max-R リモートパネル";
const char PrinterColumnTitle[] = "プリンター名";
const char PortColumnTitle[] = "接続ポート";

namespace {

const char kFilePort[] =
    "出力先がFILEになっています。\n\n"
    "プリンターのプロパティを開いて出力先をローカルポートに変更してから[OK]ボタンをクリックして再度選択していただくか、"
    "ローカルポートに接続されたプリンターを選択し直してください。";
const char kPaused[] =
    "プリンターは一時停止状態です。\n\n"
    "プリンターフォルダーを開いて一時停止チェックを解除してから[OK]ボタンをクリックして再度選択していただくか、"
    "ローカルポートに接続されたプリンターを選択し直してください。";
const char kBidiOff[] =
    "プリンターの双方向機能が無効になっています。\n\n"
    "プリンターのプロパティを開いて双方向チェックを変更してから[OK]ボタンをクリックして再度選択していただくか、"
    "ローカルポートに接続されたプリンターを選択し直してください。";
const char kOffline[] =
    "プリンターはオフラインになっています。\n\n"
    "プリンターのフォルダーを開いてオフラインチェックを解除してから[OK]ボタンをクリックして再度選択していただくか、"
    "接続されているプリンターを確認してください。";
const char kSeparator[] =
    "区切りページが設定されています。\n\n"
    "プリンターのプロパティを開いて区切りページの設定を解除してから[OK]ボタンをクリックして再度選択していただくか、"
    "他のローカルポートに接続されたプリンターを選択し直してください。";
const char kOtherPort[] =
    "選択されたプリンターの出力ポートはKOA koa2400Max-R/koa2600Max-R リモートパネルに対応しておりません。\n\n"
    "プリンターのプロパティを開いてポートをローカルポートに変更してから[OK]ボタンをクリックして再度選択していただくか、"
    "ローカルポートに接続されたプリンターを選択し直してください。";

const char kQueuedJobs[] =
    "スプールに印刷ジョブが残っています。\n\n"
    "スプールに残っている印刷ジョブの印刷を完了させてから\n"
    "[OK]ボタンをクリックして再度選択して下さい。";
const char kPrinterDeleted[] =
    "プリンターが削除されました。\n\n"
    "KOA koa2400Max-R/koa2600Max-R リモートパネル対応プリンターをインストールしてください。";
const char kNotSelected[] =
    "プリンターが選択されていません。\r\n"
    "KOA koa2400Max-R/koa2600Max-R リモートパネルに対応したプリンターを選択してください。";

struct Refusal {
    int kind;
    const char* text;
};

// Every refusal tells the user what to change; none is an error of the
// program, so all carry the information icon.
const Refusal kRefusals[] = {
    {RefuseFilePort, kFilePort}, {RefusePaused, kPaused},       {RefuseBidiOff, kBidiOff},
    {RefuseOffline, kOffline},   {RefuseSeparator, kSeparator}, {RefuseOtherPort, kOtherPort},
};

}  // namespace

const ChoiceMessage QueuedJobsMessage = {kQueuedJobs, ChoiceIconWarning};
const ChoiceMessage PrinterDeletedMessage = {kPrinterDeleted, ChoiceIconInfo};
const ChoiceMessage NotSelectedMessage = {kNotSelected, ChoiceIconWarning};

ChoiceMessage RefusalMessage(int connectionKind) {
    for (const Refusal& refusal : kRefusals)
        if (refusal.kind == connectionKind) return {refusal.text, ChoiceIconInfo};
    return {nullptr, ChoiceIconInfo};
}

ChoiceIcon RowIcon(bool supported, int connectionKind) {
    if (!supported) return ChoiceIconError;
    return connectionKind == 0 || connectionKind == 1 ? ChoiceIconPrinter : ChoiceIconInfo;
}
