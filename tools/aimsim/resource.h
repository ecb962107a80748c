// Resource ids shared by the dialog templates and the code.
#pragma once

#define IDD_PREFS 100
#define IDD_PAGE_ICONS 101
#define IDD_PAGE_OTHER 102
#define IDD_CHOOSE 103
#define IDD_CONFIRM 104
#define IDD_MESSAGE 105

#define IDC_CATEGORIES 1001
#define IDC_BROWSE 1002
#define IDC_ICON_INFO 1003
#define IDC_PAGE_TEXT 1004
#define IDC_FILE_NAME 1005
#define IDC_QUESTION_ICON 1006
#define IDC_QUESTION_TEXT 1007
#define IDC_MESSAGE_ICON 1008
#define IDC_MESSAGE_TEXT 1009
