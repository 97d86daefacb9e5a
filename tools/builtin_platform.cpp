#include "tools/builtin_platform.h"

namespace standin {

Script BuiltInPlatform() {
  Script script;
  script.helloFrom = "platform@standin";
  script.helloContact = "ver=1.0";
  script.helloBody = "Sentrell platform stand-in";
  script.accounts = {Account{"admin", "admin"}};
  script.loginClass = 1;
  script.sendGatewayList = true;
  script.gateways = {
      Gateway{1000001, kGatewayOnline, "Lab gateway"},
      Gateway{2000002, kGatewayOnline, "Store gateway"},
  };
  return script;
}

}  // namespace standin
