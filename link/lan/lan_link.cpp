#include "link/lan/lan_link.h"

#include <cstring>

#include "link/channel/printer_link.h"

const char LanInitFailedText[] =
    "LAN通信用ライブラリーの初期化に失敗しました。\n\n"
    "KOA koa2400Max-R/koa2600Max-R リモートパネルを終了し、パソコンを再起動してください。";

// The library is not bound yet: every LAN conversation ends here, before
// anything is sent, with the text a missing library shows.
int OpenLanLink(const char** errorText) {
    if (errorText) *errorText = LanInitFailedText;
    return 0;
}

void CloseLanLink() {}

bool LanChannel::Prepare() { return OpenPrinterLink() == 1; }

bool LanChannel::Begin(const char** errorText) { return OpenLanLink(errorText) == 1; }

ChannelReply LanChannel::Send(const void*, int) { return ReplyFailed; }

ChannelReply LanChannel::Receive(unsigned char* answer, int* length) {
    std::memset(answer, 0, ChannelAnswerSize);
    *length = 0;
    return ReplyFailed;
}

void LanChannel::End() { CloseLanLink(); }
