// TrCodePageWin.cpp - lead-byte table of the process's ANSI code page.
#include "base/TrCodePage.h"

#include <windows.h>

namespace tr {
namespace {

struct Table {
    bool lead[256] = {};
    Table() {
        // The ANSI code page is fixed for the life of a process, so the table
        // is built once. GetCPInfo lists lead bytes as up to six ranges.
        CPINFO info = {};
        if (!::GetCPInfo(CP_ACP, &info)) return;
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
            for (unsigned c = info.LeadByte[i]; c <= info.LeadByte[i + 1]; ++c) lead[c] = true;
    }
};

}  // namespace

const bool* LeadByteTable() {
    static const Table table;
    return table.lead;
}

}  // namespace tr
