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
// "Preview..." opens the preview of the undo chosen, in "Confirm Undo", the
// list confirmation, the program sessions dialog and the Files history.
#define IDC_PREVIEW 1300

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
#define IDC_CONFIRM_NOTICE 1301  // changed since, or the earlier version missing

// The preview of an undo: what it does in words, a notice, what comes back.
#define IDD_UNDO_PREVIEW 160
#define IDC_PREVIEW_WORDS 1302
#define IDC_PREVIEW_NOTICE 1303
#define IDC_PREVIEW_LIST 1304
#define IDC_PREVIEW_OPEN_EARLIER 1305

// "Start Over": a point in time from one of three lists.
#define IDD_START_OVER 119
#define IDC_START_OVER_RETRACE 1048
#define IDC_FROM_HOUR 1050
#define IDC_HOUR_POINTS 1051
#define IDC_FROM_PROGRAM_START 1052
#define IDC_PROGRAM_POINTS 1053
#define IDC_FROM_BOOT 1054
#define IDC_BOOT_POINTS 1055

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

// The Options sheet: the Settings page.
#define IDD_SETTINGS_PAGE 107
#define IDC_LOAD_AT_STARTUP 1093
#define IDC_MENU_SIZE 1094
#define IDC_MENU_SIZE_SPIN 1143
#define IDC_BIN_LIMIT 1096
#define IDC_BIN_CLEAR 1097
#define IDC_BIN_FOLDER 1098
#define IDC_BIN_BROWSE 1144
#define IDC_BIN_USED 1189

// The Options sheet: the Ignore Groups page.
#define IDD_IGNORE_GROUPS_PAGE 1090
#define IDC_IGNORE_RECYCLE_BIN 1098
#define IDC_IGNORE_TEMP 1099
#define IDC_IGNORE_GRAPHICS 1100
#define IDC_IGNORE_BACKUPS 1103
#define IDC_IGNORE_LINKS 1104
#define IDC_IGNORE_USER 1106
#define IDC_IGNORE_ARCHIVES 1107
#define IDC_IGNORE_USER_LIST 1120
#define IDC_IGNORE_LARGE 1199
#define IDC_LARGE_FILE_SIZE 1094
#define IDC_IGNORE_EMAIL 1200
#define IDC_IGNORE_NEWS 1201

// The Options sheet: the Ignore Files page.
#define IDD_IGNORE_FILES_PAGE 145
#define IDC_IGNORE_PATHS 1018
#define IDC_ADD_FILES 1201
#define IDC_REMOVE_PATH 1203
#define IDC_ADD_FOLDERS 1208

// The Options sheet: the File List page.
#define IDD_FILE_LIST_PAGE 1170
#define IDC_FILE_TYPES 1017
#define IDC_FILE_TYPE 1094
#define IDC_ADD_TYPE 1180
#define IDC_REMOVE_TYPE 1181

// The Options sheet: the Information page.
#define IDD_INFORMATION_PAGE 1091
#define IDC_HOME_PAGE 1108
#define IDC_TECH_SUPPORT 1109
#define IDC_FAQ 1110
#define IDC_ONLINE_UPDATE 1111
#define IDC_VERSION 1112
#define IDC_RECORDER_COUNTS 1113  // what the change recorder could not capture whole

// The Options sheet: the About page and its picture (385 x 272, 24 bits).
#define IDD_ABOUT_PAGE 1129
#define IDC_ABOUT_NAME 1094
#define IDC_ABOUT_LINE 1211
#define IDC_ABOUT_COPYRIGHT 1212
#define IDB_ABOUT 1145

// The Find sheet's tabs, each one list.
#define IDD_FIND_CREATE 121
#define IDD_FIND_MODIFY 124
#define IDD_FIND_RENAME 125
#define IDD_FIND_COPY 126
#define IDD_FIND_MOVE 127
#define IDD_FIND_DOWNLOAD 128
#define IDC_FIND_CREATE_LIST 1055
#define IDC_FIND_MODIFY_LIST 1058
#define IDC_FIND_RENAME_LIST 1059
#define IDC_FIND_COPY_LIST 1060
#define IDC_FIND_MOVE_LIST 1061
#define IDC_FIND_DOWNLOAD_LIST 1062

// The Retrace Wizard's pages, in the order it shows them, and their
// controls; pages share some numbers. Button 1 is a page's "Details".
#define IDD_WIZARD_WELCOME 1080
#define IDD_WIZARD_TASK 1082
#define IDD_WIZARD_UNDO_KIND 1081
#define IDD_WIZARD_FIND_HOW 1083
#define IDD_WIZARD_BY_FILE_NAME 1084
#define IDD_WIZARD_BY_PROGRAM 1087
#define IDD_WIZARD_PROGRAM_FILES 1088
#define IDD_WIZARD_CONFIRM_FILES 1089
#define IDD_WIZARD_SETTINGS_PROGRAMS 1086
#define IDD_WIZARD_PROGRAM_SESSIONS 1085
#define IDD_WIZARD_CONFIRM_SETTINGS 1128
#define IDD_WIZARD_APPLETS 1161
#define IDD_WIZARD_APPLET_SESSIONS 1162
#define IDD_WIZARD_CONFIRM_APPLET 1163
#define IDD_WIZARD_START_OVER 1164
#define IDD_WIZARD_HOURS 1165
#define IDD_WIZARD_PROGRAM_STARTS 1166
#define IDD_WIZARD_BOOTS 1167
#define IDD_WIZARD_CONFIRM_START_OVER 1168
#define IDD_WIZARD_FIND_FILE 1159
#define IDD_WIZARD_FOUND_FILES 1160
#define IDD_WIZARD_DONE 1169
#define IDC_WIZARD_LIST 1017
#define IDC_WIZARD_UNDO 1063
#define IDC_WIZARD_START_OVER 1064
#define IDC_WIZARD_FIND 1067
#define IDC_WIZARD_FILE_ACTION 1152
#define IDC_WIZARD_PROGRAM_SETTINGS 1153
#define IDC_WIZARD_CONTROL_PANEL 1154
#define IDC_WIZARD_BY_FILE_NAME 1153
#define IDC_WIZARD_BY_PROGRAM 1154
#define IDC_WIZARD_PROGRAM_FILES 1091
#define IDC_WIZARD_PROGRAMS_LABEL 1041
#define IDC_WIZARD_PROGRAMS 1040
#define IDC_WIZARD_SESSIONS 1161
#define IDC_WIZARD_BY_TIME 1162
#define IDC_WIZARD_BY_PROGRAM_START 1163
#define IDC_WIZARD_BY_REBOOT 1164
#define IDC_WIZARD_HOURS 1018
#define IDC_WIZARD_PROGRAM_STARTS 1163
#define IDC_WIZARD_BOOTS 1164
#define IDC_WIZARD_COPY 1170
#define IDC_WIZARD_CREATE 1171
#define IDC_WIZARD_DOWNLOAD 1072
#define IDC_WIZARD_MODIFY 1173
#define IDC_WIZARD_MOVE 1174
#define IDC_WIZARD_RENAME 1175
#define IDC_WIZARD_FOUND_LABEL 1127
#define IDC_WIZARD_FOUND_FILES 1092
// The wizard frame's own Back button.
#define IDC_WIZARD_BACK 12323
