// Resource identifiers of Vornel.
#pragma once

namespace resources {

constexpr int IDD_MAIN = 102;
constexpr int IDD_BOOST = 143;
constexpr int IDI_MAIN = 128;

// Bitmaps
constexpr int IDB_BOOST_MAIN_HOT = 133;
constexpr int IDB_BOOST_MAIN_IDLE = 136;
constexpr int IDB_BOOST_IDLE = 134;
constexpr int IDB_BOOST_HOT = 135;
constexpr int IDB_OPTIONS_LABEL = 137;
constexpr int IDB_CHECK_ON = 139;
constexpr int IDB_CHECK_OFF = 142;
constexpr int IDB_SUSPEND_OFF = 140;
constexpr int IDB_SUSPEND_ON = 141;
constexpr int IDB_BULLET = 144;
constexpr int IDB_REGION_MASK = 146;  // deliberately not in the resource set
constexpr int IDB_FRAME_LAST = 147;   // 147, then 148 to 154
constexpr int IDB_FRAME_FIRST = 148;
constexpr int IDB_CLOSE_IDLE = 155;
constexpr int IDB_TITLE_LEFT = 156;
constexpr int IDB_TITLE_TILE = 158;
constexpr int IDB_TITLE_RIGHT = 159;
constexpr int IDB_CLOSE_HOT = 160;
constexpr int IDB_MAIN_BODY = 162;
constexpr int IDB_BOOST_BODY = 163;
constexpr int IDB_RESTORE_IDLE = 164;
constexpr int IDB_RESTORE_HOT = 165;

// Controls
constexpr int IDC_PROGRESS = 1000;
constexpr int IDC_SUSPEND = 1003;
constexpr int IDC_BOOST = 1004;
constexpr int IDC_CLOSE = 1005;
constexpr int IDC_LABEL = 1006;
constexpr int IDC_FAST = 1008;
constexpr int IDC_GRAPHICS = 1009;
constexpr int IDC_MAIN_BUTTON = 1010;
constexpr int IDC_NETWORK_ANCHOR = 1011;
constexpr int IDC_MEMORY_ANCHOR = 1012;
constexpr int IDC_PROCESS_ANCHOR = 1013;
constexpr int IDC_INDICATOR = 1014;
constexpr int IDC_RESTORE = 1015;
constexpr int IDC_AUTO_BOOST = 1016;

// The notification icon's menu
constexpr int IDM_OPEN = 40001;
constexpr int IDM_APPLY_NOW = 40002;
constexpr int IDM_UNDO = 40003;
constexpr int IDM_EXIT = 40004;

}  // namespace resources
