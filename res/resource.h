#pragma once

// Resource identifiers of Ortelan. The numbers are part of the program's
// resources and must not change.

// The frame's common resource: title string, menu and icon.
#define IDR_MAINFRAME                   100

// Dialog templates
#define IDD_MEMORY                      102
#define IDD_ABOUTBOX                    104
#define IDD_DISK                        105
#define IDD_PERFORMANCE                 106

// Memory load panel
#define IDC_MEMORY_FREE                 1001
#define IDC_MEMORY_SPIN                 1002
#define IDC_MEMORY_AMOUNT               1003
#define IDC_MEMORY_HELD                 1004
#define IDC_MEMORY_ALLOCATE             1005
#define IDC_MEMORY_ALLOCATE_LIMIT       1006
#define IDC_MEMORY_STATUS               1007

// About box
#define IDC_ABOUT_NOTICE                1008
#define IDC_ABOUT_VERSION               1009
#define IDC_ABOUT_NAME                  1010

// Disk pressure panel
#define IDC_DISK_SIZE                   1011
#define IDC_DISK_SIZE_TEXT              1012
#define IDC_DISK_STATUS                 1013
#define IDC_DISK_CREATE                 1014
#define IDC_DISK_CREATE_LIMIT           1015
#define IDC_DISK_DELETE                 1016
#define IDC_DISK_FOLDER                 1017
#define IDC_DISK_BROWSE                 1018
#define IDC_DISK_SPIN                   1019

// Performance panel
#define IDC_PERF_COMMIT                 1025
#define IDC_PERF_CPU                    1026

// Menu commands
#define ID_APP_ABOUT                    40002
#define ID_APP_EXIT                     40005
#define ID_OPTION_TOPMOST               40010
#define ID_OPTION_NEW_PROCESS           40014
#define ID_VIEW_MEMORY                  40020
#define ID_VIEW_DISK                    40021
#define ID_VIEW_PERFORMANCE             40022
#define ID_OPTION_SAVE_SETTINGS         40025
#define ID_OPTION_CLEAR_SETTINGS        40026

// String table
#define IDS_APP_TITLE                   100
#define IDS_MEMORY_HELD_BYTES           200
#define IDS_MEMORY_HELD_MB              210
#define IDS_MEMORY_FAILED               220
#define IDS_MEMORY_ALLOCATED            230
#define IDS_MEMORY_FREED                240
#define IDS_DISK_SIZE_MB                260
#define IDS_DISK_CREATE_FAILED          280
#define IDS_DISK_CREATED                300
#define IDS_DISK_DELETED                320
#define IDS_DISK_NO_FOLDER              330
#define IDS_DISK_NOT_CREATED            340
#define IDS_DISK_NOT_FOUND              350
#define IDS_DISK_ACCESS_DENIED          360
#define IDS_DISK_BROWSE_TITLE           365
#define IDS_DISK_SAME_NAME              368
#define IDS_MEMORY_HELD_KB              370
#define IDS_MEMORY_HELD_GB              380
#define IDS_COMMIT_CHARGE_64            390
#define IDS_COMMIT_CHARGE_32            400
#define IDS_CPU_USAGE                   410
#define IDS_INTERNAL_ERROR              430
#define IDS_ABOUT_NAME                  440
#define IDS_ABOUT_VERSION               450
#define IDS_ABOUT_NOTICE                460
#define IDS_ABOUT_NAME_X64              470
#define IDS_CONFIRM_CLEAR_SETTINGS      1000
#define IDS_WARN_SETTINGS_CLEARED_AT_EXIT 1001
#define IDS_ASK_UNCHECK_SAVE_SETTINGS   1002

#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif
