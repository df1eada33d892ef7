#include "link/lan/lan_rules.h"

#include <cstring>

#include "link/channel/link_block.h"

const char* const LanEntryNames[LanEntryPointCount] = {
    "SxStartup",    "SxCleanup",     "SxOpenPort",  "SxClosePort",   "SxReadPort",
    "SxWritePort",  "SxOpenStatus",  "SxCloseStatus", "SxGetStatus", "SxGetDeviceID",
    "SxOpenSearch", "SxCloseSearch", "SxSendSearch", "SxGetError",
};

int BindLanEntryPoints(LanEntryLookup lookup, void* context, void* entries[LanEntryPointCount]) {
    for (int i = 0; i < LanEntryPointCount; ++i) entries[i] = nullptr;
    if (!lookup) return 0;
    for (int i = 0; i < LanEntryPointCount; ++i) {
        entries[i] = lookup(LanEntryNames[i], context);
        if (!entries[i]) return 0;
    }
    return 1;
}

void DeriveLanAddress(const char* portName, char* address, std::size_t size) {
    if (!address || size == 0) return;
    address[0] = '\0';
    if (!portName) return;
    char port[LanAddressSize];
    std::strncpy(port, portName, sizeof port - 1);
    port[sizeof port - 1] = '\0';
    const char* start = port;
    while (*start == ':') ++start;
    std::size_t length = std::strcspn(start, ":");
    if (length >= size) length = size - 1;
    std::memcpy(address, start, length);
    address[length] = '\0';
}

std::uint32_t BoundLanAnswerCount(std::uint32_t count) {
    const std::uint32_t limit = LanAnswerSize;
    return count > limit ? limit : count;
}

LanRequest LanRequestOf(std::uint32_t code) {
    if (code == LinkReceive) return LanReceiveRequest;
    if (code == LinkSend) return LanSendRequest;
    return LanNoRequest;
}

const char LanInitFailedText[] =
    "LAN通信用ライブラリーの初期化に失敗しました。\n\n"
    "KOA koa2400Max-R/koa2600Max-R リモートパネルを終了し、パソコンを再起動してください。";
const char LanNoAnswerText[] =
    "プリンターからの応答がありませんでした。\n\n接続ケーブルおよびプリンターの電源を確認してください。";
const char LanReceiveFailedText[] =
    "プリンターからのデータの受信に失敗しました。\n\n接続ケーブルおよびプリンターの電源を確認してください。";
const char LanSendFailedText[] =
    "プリンターへのコマンド送信に失敗しました。\n\n接続ケーブルおよびプリンターの電源を確認してください。";
const char LanCloseFailedText[] =
    "LAN通信用ライブラリーの解放に失敗しました。\n\n"
    "KOA koa2400Max-R/koa2600Max-R リモートパネルを終了し、パソコンを再起動してください。";

const char* LanFailureText(LanFailure failure) {
    switch (failure) {
    case LanInitFailed:
        return LanInitFailedText;
    case LanNoAnswer:
        return LanNoAnswerText;
    case LanReceiveFailed:
        return LanReceiveFailedText;
    case LanSendFailed:
        return LanSendFailedText;
    case LanCloseFailed:
        return LanCloseFailedText;
    }
    return LanInitFailedText;
}

int LanFailureOfText(const char* text) {
    if (!text) return -1;
    const LanFailure failures[] = {LanInitFailed, LanNoAnswer, LanReceiveFailed, LanSendFailed, LanCloseFailed};
    for (LanFailure failure : failures)
        if (std::strcmp(text, LanFailureText(failure)) == 0) return failure;
    return -1;
}
