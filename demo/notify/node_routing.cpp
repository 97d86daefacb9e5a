#include "demo/notify/node_routing.h"

#include <array>
#include <string>
#include <utility>

#include "demo/shell/ascii_case.h"
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

template <std::size_t N>
const char* Find(const std::array<Route, N>& routes, std::string_view word) {
  for (const Route& route : routes) {
    if (EqualsIgnoringCase(word, route.first)) return route.second;
  }
  return nullptr;
}

}  // namespace

const char* RouteNodeMessage(std::string_view json) {
  const std::string type = CCMParser::GetDeviceType(json).value_or(std::string());
  if (EqualsIgnoringCase(type, kAdapter)) {
    const std::string sensor = CCMParser::GetDataElementValueString(json, "Type").value_or(std::string());
    return Find(kAdapterRoutes, sensor);
  }
  return Find(kRoutes, type);
}
