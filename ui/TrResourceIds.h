// >>> ENGINEERS WORKING IN PARALLEL: before anything else read /work/main/.parallel-rules.md (rules, build folder, git, deadline). Temporary line, the lead removes it. <<<
// TrResourceIds.h - the ids the library asks of TrLocale.DLL. Shared by the
// library's code and the resource script of TrLocale.DLL (plain #defines so
// windres can read it too).
#ifndef TR_UI_RESOURCEIDS_H
#define TR_UI_RESOURCEIDS_H

#define IDD_TR_INFO 102
#define IDD_TR_PAST 103
#define IDD_TR_WATCH 104

#define IDS_TR_REG_ROOT_TEXT 3009
#define IDS_TR_INFO_CAPTION1 3460
#define IDS_TR_INFO_CAPTION2 3461
#define IDS_TR_WATCH_FIRST 3906
#define IDS_TR_WATCH_LAST 3913
#define IDS_TR_REG_KEY0 4000
#define IDS_TR_REG_KEY1 4001
#define IDS_TR_REG_KEY2 4002

#define IDI_TR_DIALOG 2039
#define IDI_TR_FALLBACK 2041

#define IDB_TR_DIGITS 25102
#define IDB_TR_INFO_BACKGROUND 25103
#define IDR_TR_INFO_CLIP 25101

#endif  // TR_UI_RESOURCEIDS_H
