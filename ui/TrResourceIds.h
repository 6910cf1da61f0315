// TrResourceIds.h - the ids the library asks of TrLocale.DLL. Shared by the
// library's code and the resource script of TrLocale.DLL (plain #defines so
// windres can read it too).
#ifndef TR_UI_RESOURCEIDS_H
#define TR_UI_RESOURCEIDS_H

// Dialog templates.
#define IDD_TR_INFO 102
#define IDD_TR_PAST 103
#define IDD_TR_WATCH 104

// Controls of the info dialog (102). Its OK and Cancel are IDOK and IDCANCEL;
// the dialog itself moves them to their drawn places.
#define IDC_TR_INFO_ICON 817       // static icon control, hidden by the dialog
#define IDC_TR_INFO_ANIMATE 818    // animation control playing IDR_TR_INFO_CLIP

// Controls of the past-time dialog (103), with IDOK and IDCANCEL.
#define IDC_TR_PAST_TEXT 530       // Title, "\r\n", Description
#define IDC_TR_PAST_ICON 531       // static icon control: the application's icon
#define IDC_TR_PAST_NOW 532        // the current time
#define IDC_TR_PAST_EVENT 533      // the time the event was set for

// Controls of the watch dialog (104), with IDCANCEL.
#define IDC_TR_WATCH_TIME 650      // the time left
#define IDC_TR_WATCH_KIND 651      // the kind of the coming event

// Strings of the product key table. 3009 is the default full path of the
// installed program file; the other three are the key path and the names of
// the two installation values.
#define IDS_TR_REG_ROOT_TEXT 3009
#define IDS_TR_DEFAULT_PROGRAM_PATH IDS_TR_REG_ROOT_TEXT
#define IDS_TR_REG_KEY0 4000       // product key path
#define IDS_TR_REG_KEY1 4001       // name of the installed-program value
#define IDS_TR_REG_KEY2 4002       // name of the installation-folder value

// The two captions the info dialog draws.
#define IDS_TR_INFO_CAPTION1 3460  // heading
#define IDS_TR_INFO_CAPTION2 3461  // prompt beside the counter

// Strings of the watch dialog. Formats take whole numbers (int).
#define IDS_TR_WATCH_FIRST 3906
#define IDS_TR_WATCH_MINUTES 3906  // format: minutes (2 to 59)
#define IDS_TR_WATCH_KIND_2 3907   // kind text of event code 0x200002
#define IDS_TR_WATCH_KIND_4 3908   // kind text of event code 0x200004
#define IDS_TR_WATCH_KIND_8 3909   // kind text of event code 0x200008
#define IDS_TR_WATCH_KIND_20 3910  // kind text of event code 0x200020
#define IDS_TR_WATCH_KIND_10 3911  // kind text of event code 0x200010
#define IDS_TR_WATCH_SOON 3912     // no arguments: less than 2 minutes left
#define IDS_TR_WATCH_HOURS 3913    // format: hours, minutes
#define IDS_TR_WATCH_LAST 3913

// Icons.
#define IDI_TR_DIALOG 2039         // window icon of the info and past-time dialogs
#define IDI_TR_FALLBACK 2041       // stands in for a file without an icon

// Bitmaps and the clip.
#define IDB_TR_DIGITS 25102        // ten 14 x 20 digits, 0 to 9, magenta mask colour
#define IDB_TR_INFO_BACKGROUND 25103
#define IDR_TR_INFO_CLIP 25101     // resource type "AVI"

#endif  // TR_UI_RESOURCEIDS_H
