// TrRewriteNoticeWin.cpp - tells the client window that a data file changed.
#include "data/TrFileAccess.h"

#include "env/TrMessages.h"
#include "include/TrCommon.h"

namespace tr {
namespace data {

bool AnnounceRewrite() {
    HWND client = nullptr;
    if (!TrComGetClient(&client) || !client) return false;
    // Posted, never sent: a writer must not wait for the client window.
    ::PostMessageA(client, MsgRewriteWindow(), 0, 0);
    return true;
}

}  // namespace data
}  // namespace tr
