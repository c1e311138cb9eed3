#pragma once
// Every number the resources and the program share, grouped by what uses it.
// Plain #defines: the resource compiler reads this header too.

// Icons of the notification area.
#define IDI_MONITORING_ON 101
#define IDI_MONITORING_OFF 102
#define IDI_BUSY 104

// The banner that heads the tray menu (170 x 15, 16 colours).
#define IDB_MENU_BANNER 108

// The busy panel.
#define IDD_BUSY 141
#define IDC_BUSY_TEXT 1190
#define IDC_BUSY_LIGHT 1191

// Buttons that several dialogs share: IDOK (1) confirms, labelled
// "Retrace"; IDCANCEL (2) and IDHELP (9) keep their usual numbers.

// The program sessions dialog.
#define IDD_PROGRAM_UNDO 134
#define IDC_PROGRAM_FILES 1017
#define IDC_PROGRAM_SESSIONS 1018
#define IDC_PROGRAM_SETTINGS_LABEL 1207
#define IDC_PROGRAM_EXPLANATION 1221
#define IDC_UNDO_SESSION_AND_FILES 1214
#define IDC_UNDO_SESSION_ONLY 1215
#define IDC_UNDO_FILE 1216

// The list confirmation: sessions, a file action's files, applet sessions.
#define IDD_LIST_CONFIRMATION 135
#define IDC_CONFIRMATION_LIST 1149

// The history dialog in its three forms.
#define IDD_HISTORY 138
#define IDC_HISTORY_LIST 1017

// "Confirm Undo" of one file action or one Control Panel session.
#define IDD_CONFIRM_UNDO 148
#define IDC_CONFIRM_OPEN 1205
#define IDC_CONFIRM_ITEM 1206

// Commands of the main window; the tray menu issues them.
#define IDM_REDO 1021
#define IDM_FIND 1022
#define IDM_START_OVER 1023
#define IDM_WIZARD 1024
#define IDM_HELP 1025
#define IDM_OPTIONS 1026
#define IDM_TOGGLE_MONITORING 1027
#define IDM_PROGRAM_FIRST 1030
#define IDM_PROGRAM_LAST 1039
#define IDM_PROGRAM_MORE 1040
#define IDM_FILE_FIRST 1041
#define IDM_FILE_LAST 1050
#define IDM_FILE_MORE 1051
#define IDM_APPLET_FIRST 1052
#define IDM_APPLET_LAST 1061
#define IDM_APPLET_MORE 1062
#define IDM_UNLOAD 1136
