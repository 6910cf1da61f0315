// TrMessages.cpp - registers the library's window messages once per process,
// during static initialisation, before any export can run.
#include "env/TrMessages.h"

#include "include/TrCommon.h"

namespace {

const UINT g_uMsgRewriteWindow = ::RegisterWindowMessageA(TR_MSG_REWRITE_WINDOW_NAME);
const UINT g_uMsgTrelvane = ::RegisterWindowMessageA(TR_MSG_TRELVANE_NAME);

}  // namespace

namespace tr {

UINT MsgRewriteWindow() { return g_uMsgRewriteWindow; }
UINT MsgTrelvane() { return g_uMsgTrelvane; }

}  // namespace tr
