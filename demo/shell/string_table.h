#pragma once
// The program's string table: texts shown in message boxes and menus.

enum StringId {
  IDS_ABOUTBOX = 101,
  IDS_NOT_INITIALIZED = 102,
  IDS_SET_NOTIFY_THREAD_ERROR = 103,
  IDS_SET_NOTIFY_WINDOW_ERROR = 104,
  IDS_SET_NOTIFY_UDP_ERROR = 105,
  IDS_BAD_VERSION = 106,
};

// The UTF-8 text of a string id; "" for an id that is not in the table.
const char* LoadDemoString(int id);
