#include "demo/notify/node_routing.h"

#include <array>
#include <string>
#include <utility>

#include "demo/shell/cm_parser.h"

namespace {

using Route = std::pair<const char*, const char*>;  // device type, page class

constexpr const char* kAdapter = "adapter";

// Whole words, compared ignoring case; the adapter has a table of its own.
constexpr std::array<Route, 28> kRoutes{{
    {"LAMP", "CLampPage"},
    {"POWER", "CPowerPage"},
    {"EC", "CECPage"},
    {"DAIS", "CDAISPage"},
    {"TDC", "CTDCPage"},
    {"THDC", "CTHDCPage"},
    {"IDC", "CIDCPage"},
    {"PH", "CPHPage"},
    {"CO2", "CCO2Page"},
    {"O2", "CO2Page"},
    {"DEVPST", "CDevPstPage"},
    {"DEVIO", "CDevIOPage"},
    {"DLOCK", "CDLockPage"},
    {"WATER", "CWaterPage"},
    {"ICREAD", "CICReadPage"},
    {"DCDBAT", "CDCDBATPage"},
    {"DCDB", "CDCDBPage"},
    {"VLR", "CVLRPage"},
    {"POWERMETERCTRL", "CPowerMeterControlPage"},
    {"RFIDCONTROL13M56", "CRFIDControl13M56Page"},
    {"RFIDCONTROL125K", "CRFIDControl125KPage"},
    {"CARRFID", "CCarRFIDPage"},
    {"CC", "CCCPage"},
    {"WATERMETERCTRL", "CWaterMeterControl"},
    {"GASMETERCTRL", "CGasMeterControlPage"},
    {"DLOCKFINGER", "CDLockFingerPage"},
    {"CABMGZ", "CCabMgzPage"},
    {"SPHYGMOMETER", "CSphygmoMeterPage"},
}};

constexpr std::array<Route, 3> kAdapterRoutes{{
    {"FS", "CAdapterFSPage"},
    {"FX", "CAdapterFXPage"},
    {"WS", "CAdapterWSPage"},
}};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

template <std::size_t N>
const char* Find(const std::array<Route, N>& routes, std::string_view word) {
  for (const Route& route : routes) {
    if (SameWord(word, route.first)) return route.second;
  }
  return nullptr;
}

}  // namespace

const char* RouteNodeMessage(std::string_view json) {
  const std::string type = CCMParser::GetDeviceType(json).value_or(std::string());
  if (SameWord(type, kAdapter)) {
    const std::string sensor = CCMParser::GetDataElementValueString(json, "Type").value_or(std::string());
    return Find(kAdapterRoutes, sensor);
  }
  return Find(kRoutes, type);
}
