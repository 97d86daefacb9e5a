#include "tools/builtin_platform.h"

#include <string>

#include "tools/builtin_devices.h"

namespace standin {

namespace {

constexpr std::uint32_t kLab = 1000001, kStore = 2000002;

constexpr BuiltInNode kNodes[] = {
    {kLab, 1, 1, 81, "Hall lamp"},
    {kLab, 1, 2, 209, "Laboratory light switch"},
    {kLab, 1, 3, 82, "Curtain"},
    {kLab, 1, 4, 83, "Power switch"},
    {kLab, 1, 5, 85, "Lab-box power control"},
    {kLab, 1, 6, 44, "Door contact"},
    {kLab, 1, 7, 49, "Health monitor"},
    {kLab, 1, 8, 196, "Blood-pressure meter"},
    {kLab, 1, 9, 97, "Valuables cabinet"},
    {kLab, 1, 10, 46, "pH analyser"},
    {kLab, 1, 11, 47, "CO2 analyser"},
    {kLab, 1, 12, 48, "O2 analyser"},
    {kLab, 1, 13, 60, "Inclinometer"},
    {kLab, 1, 14, 61, "Thermometer"},
    {kLab, 1, 15, 62, "Thermo-hygrometer"},
    {kLab, 1, 16, 63, "Illuminance meter"},
    {kLab, 1, 17, 80, "Door lock"},
    {kLab, 1, 18, 96, "Fingerprint lock"},
    {kLab, 1, 19, 95, "Electricity meter"},
    {kLab, 1, 20, 65, "Water meter"},
    {kLab, 1, 21, 66, "Gas meter"},
    {kLab, 1, 22, 86, "Card power controller"},
    {kLab, 1, 23, 87, "Camera cover"},
    {kLab, 1, 24, 88, "Water valve"},
    {kLab, 1, 25, 90, "Device positioning scanner"},
    {kLab, 1, 26, 93, "VL timed switch"},
    {kLab, 1, 27, 94, "IF timed switch"},
    {kLab, 1, 28, 100, "Device in/out register"},
    {kLab, 1, 29, 89, "Vehicle RFID reader"},
    {kLab, 1, 30, 102, "Infrared remote"},
    // The adapter's sensor follows the node address (tools/devices_vehicles.cpp).
    {kLab, 1, 31, 103, "Adapter anemometer"},
    {kLab, 1, 32, 103, "Adapter wind vane"},
    {kLab, 1, 33, 103, "Adapter weather station"},
    {kStore, 1, 1, 81, "Shop lamp"},
};

// The node list of a gateway as "sensor" carries it: two header bytes, then
// "address:name:state:type:netid" lines.
std::string NodeListBody(std::uint32_t nvsid) {
  std::string body(2, '\0');
  bool first = true;
  for (const BuiltInNode& node : kNodes) {
    if (node.nvsid != nvsid) continue;
    body += (first ? "" : "\n") + std::to_string(node.address) + ":" + node.name + ":online:" +
            std::to_string(node.type) + ":" + std::to_string(node.netId);
    first = false;
  }
  return body;
}

OutgoingMessage Reply(const char* cmd, int nvsid, std::string body) {
  OutgoingMessage m;
  m.cmd = cmd;
  m.classValue = nvsid;
  m.body = std::move(body);
  return m;
}

}  // namespace

std::span<const BuiltInNode> BuiltInNodes() { return kNodes; }

Script BuiltInPlatform() {
  Script script;
  script.helloFrom = "platform@standin";
  script.helloContact = "ver=1.0";
  script.helloBody = "Sentrell platform stand-in";
  script.accounts = {Account{"admin", "admin"}, Account{"admin", "1"}};  // "1": the demo's default password
  script.loginClass = 1;
  script.sendGatewayList = true;
  script.gateways = {
      Gateway{kLab, kGatewayOnline, "Lab gateway"},
      Gateway{kStore, kGatewayOnline, "Store gateway"},
  };
  script.answers["reqallnodesdata"] = [](const ParsedMessage& request) {
    const int nvsid = request.IntHeader("Class");
    std::vector<OutgoingMessage> out;
    if (nvsid == static_cast<int>(kLab) || nvsid == static_cast<int>(kStore))
      out.push_back(Reply("sensor", nvsid, NodeListBody(static_cast<std::uint32_t>(nvsid))));
    return out;
  };
  script.answers["getcaminfo"] = [](const ParsedMessage& request) {
    const int nvsid = request.IntHeader("Class");
    return std::vector<OutgoingMessage>{
        Reply("caminfo", nvsid,
              "CamUserName=admin;CamUserMobile=5550100;CamAddress=Loopback street 1;CamIP=127.0.0.1;"
              "map_type=0;Alarm=0;CanRead=1;fx=1.0;fy=1.0;")};
  };
  const auto config = [](const ParsedMessage&) {
    return std::vector<OutgoingMessage>{Reply("config", 0, "alarm=1;canread=1;")};
  };
  script.answers["iot"] = [devices = SimulatedDevices()](const ParsedMessage& request) mutable {
    return devices.Answer(request);
  };
  script.answers["getconfig"] = config;
  script.answers["putconfig"] = config;
  return script;
}

}  // namespace standin
