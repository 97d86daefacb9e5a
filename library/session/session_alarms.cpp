// Alarms ("warn") and the rights answer ("config").
#include <cstdlib>
#include <string>

#include "library/session/iot_session.h"
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
