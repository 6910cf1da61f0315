// TrMessages.h - the two window messages the library registers at load.
#ifndef TR_ENV_MESSAGES_H
#define TR_ENV_MESSAGES_H

#include <windows.h>

namespace tr {

// "TrMsgRewriteWindow": posted to the client window after a data file was
// rewritten (wParam 0, lParam 0).
UINT MsgRewriteWindow();
// "Trelvane Message": posted by the watch dialog to its owner window.
UINT MsgTrelvane();

}  // namespace tr

#endif  // TR_ENV_MESSAGES_H
