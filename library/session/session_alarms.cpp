// Alarms ("warn") and the rights answer ("config").
#include <cstdlib>
#include <string>

#include "library/api/json_message.h"
#include "library/session/iot_app.h"
#include "library/session/iot_session.h"
#include "library/session/message_body.h"
#include "library/session/wire_text.h"
#include "library/xml/nvs_xml_store.h"
#include "platform/files.h"

void CIotSession::OnConfig(const ScpMessage&) {
  const std::string folder = XmlFolder();
  for (const std::string& name : plat::FindFiles(folder, "nvs_*.xml")) {
    // The gateway id stands between the first '_' and the first '.';
    // the list and warning files give 0 and are left alone.
    const std::size_t underscore = name.find('_');
    const std::size_t dot = name.find('.');
    if (underscore == std::string::npos || dot == std::string::npos || dot <= underscore) continue;
    const long id = std::strtol(name.substr(underscore + 1, dot - underscore - 1).c_str(), nullptr, 10);
    if (id <= 255) continue;
    CNvsXmlStore store(folder);
    if (!store.OpenNvsFile(static_cast<std::uint32_t>(id))) continue;
    store.SetAdminRead(1);
    store.SetAlarm(1);
    store.Save();
  }
}

void CIotSession::OnWarn(const ScpMessage& message) {
  const std::int32_t type = ScpMessageGetClass(&message);
  const std::time_t time = ScpMessageGetCSeq(&message);
  const auto nvsid = static_cast<std::uint32_t>(std::strtoul(ScpMessageGetContact(&message), nullptr, 10));
  const auto where = static_cast<std::uint32_t>(std::strtoul(ScpMessageGetCallID(&message), nullptr, 10));
  const auto netId = static_cast<std::uint16_t>(where >> 16);
  const auto nodeAddress = static_cast<std::uint16_t>(where & 0xFFFF);
  const std::string content = WireToUtf8(AsText(BodyOf(message)));
  const std::uint32_t number = TheIotApp().NextWarnNumber();
  {
    CNvsXmlStore store(XmlFolder());
    if (!store.OpenWarnList()) store.CreateWarnList();
    store.AppendWarn(static_cast<std::int32_t>(number), static_cast<std::int32_t>(nvsid), type, time, content.c_str());
    store.Save();
  }
  const std::string text =
      BuildWarnMessage(nvsid, netId, nodeAddress, CNvsXmlStore::FormatTime(time).c_str(), type, content.c_str());
  if (!text.empty()) PostNotify(NOTIFY_WARNMSG, nvsid, netId, nodeAddress, text.c_str(), text.size());
}
