#include "demo/shell/key_codes.h"

KeyCodeTable MakeKeyCodeTable() {
  return KeyCodeTable{
      {"POWER", 1},         {"MUTE", 2},          {"V+", 3},
      {"V-", 4},            {"P+", 5},            {"P-", 6},
      {"DISP", 7},          {"OK", 8},            {"UP", 9},
      {"DOWN", 10},         {"LEFT", 11},         {"RIGHT", 12},
      {"BACK", 13},         {"NUM0", 16},         {"NUM1", 17},
      {"NUM2", 18},         {"NUM3", 19},         {"NUM4", 20},
      {"NUM5", 21},         {"NUM6", 22},         {"NUM7", 23},
      {"NUM8", 24},         {"NUM9", 25},         {"MENU", 48},
      {"EXIT", 50},         {"SOURCE", 51},       {"PLAY", 50},
      {"PAUSE", 50},        {"STOP", 50},         {"PREV", 50},
      {"NEXT", 50},         {"FF", 50},           {"FR", 50},
      {"T+", 2},            {"T-", 3},            {"FANSPEED", 4},
      {"VSWING", 5},        {"HSWING", 6},        {"MODE", 7},
      {"SAT_SRC", 96},      {"SAT_PAGEUP", 97},   {"SAT_PAGEDOWN", 98},
      {"HC_OPEN", 99},      {"HC_DISK", 100},     {"HC_AUDIOSOURCE", 101},
      {"HC_BROADCAST", 102}, {"HC_USB", 103},     {"HC_AUX", 104},
      {"HC_RADIOSET", 105}, {"HC_FF", 106},       {"HC_FR", 107},
      {"HC_NEXT", 108},     {"HC_PREV", 109},     {"HC_PLAYPAUSE", 110},
      {"HC_STOP", 111},     {"HC_REPEAT", 112},   {"HC_SOUNDEFFECT", 113},
      {"HC_3DAUDIO", 114},  {"HC_SOUNDSYNC", 115}, {"HC_ZOOM", 116},
      {"HC_SUBTITLE", 117},
  };
}

std::uint8_t LookUpKeyCode(const KeyCodeTable& table, std::string_view word) {
  const auto it = table.find(word);
  return it == table.end() ? 0 : it->second;
}
