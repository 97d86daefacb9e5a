#include "tools/builtin_platform.h"

#include <string>

#include "tools/builtin_devices.h"

namespace standin {

namespace {

// The node list of a gateway as "sensor" carries it: two header bytes, then
// "address:name:state:type:netid" lines.
std::string NodeListBody(const std::vector<std::string>& lines) {
  std::string body(2, '\0');
  for (std::size_t i = 0; i < lines.size(); ++i) body += (i ? "\n" : "") + lines[i];
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

Script BuiltInPlatform() {
  Script script;
  script.helloFrom = "platform@standin";
  script.helloContact = "ver=1.0";
  script.helloBody = "Sentrell platform stand-in";
  script.accounts = {Account{"admin", "admin"}, Account{"admin", "1"}};  // "1": the demo's default password
  script.loginClass = 1;
  script.sendGatewayList = true;
  script.gateways = {
      Gateway{1000001, kGatewayOnline, "Lab gateway"},
      Gateway{2000002, kGatewayOnline, "Store gateway"},
  };
  script.answers["reqallnodesdata"] = [](const ParsedMessage& request) {
    const int nvsid = request.IntHeader("Class");
    std::vector<OutgoingMessage> out;
    if (nvsid == 1000001)
      out.push_back(Reply("sensor", nvsid, NodeListBody({"1:Hall lamp:online:81:1", "2:Desk lamp:online:209:1"})));
    else if (nvsid == 2000002)
      out.push_back(Reply("sensor", nvsid, NodeListBody({"1:Shop lamp:online:81:1"})));
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
