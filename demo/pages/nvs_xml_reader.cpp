#include "demo/pages/nvs_xml_reader.h"

#include <cstdlib>
#include <mutex>

#include "demo/shell/ui_services.h"
#include "library/xml/xml_document.h"
#include "platform/xml_files_lock.h"

namespace {

long long ToInteger(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 10); }

std::int32_t ToInt32(const std::string& text) { return static_cast<std::int32_t>(ToInteger(text)); }

// Loads the file under the lock of the directory files. A failure is shown
// after the lock is released, so that the library's writers never wait for
// a message box.
bool Load(CXmlDocument& document, const std::string& path) {
  bool loaded = false;
  {
    std::lock_guard lock(plat::XmlFilesLock());
    loaded = document.LoadFile(path.c_str());
  }
  if (!loaded) ShowMessage(nullptr, "Can not open XML file!:\n" + document.DescribeResults());
  return loaded;
}

// Every child element of the main position: tag to text.
void ReadChildren(CXmlDocument& document, XmlTextMap& map) {
  document.EnterElement();
  while (document.FindElement(nullptr)) map[document.GetElementName()] = document.GetText();
  document.LeaveElement();
}

// Moves to the "nodes" element of a gateway file.
bool FindNodes(CXmlDocument& document) {
  return document.FindElement("Lumora") && document.EnterElement() && document.FindElement("nvs") &&
         document.EnterElement() && document.FindElement("nodes");
}

NodeKey KeyOf(const XmlTextMap& node) {
  const auto text = [&node](const char* tag) {
    const auto found = node.find(tag);
    return found != node.end() ? ToInteger(found->second) : 0LL;
  };
  return NodeKey{text("netid"), text("nodeaddr")};
}

}  // namespace

std::string CNvsXmlReader::NvsListPath(const std::string& folder) { return folder + "nvs_list.xml"; }

std::string CNvsXmlReader::NvsFilePath(const std::string& folder, std::uint32_t nvsid) {
  return folder + "nvs_" + std::to_string(nvsid) + ".xml";
}

int CNvsXmlReader::ReadNvsList(const std::string& folder, int& count, std::string& updateTime,
                               std::vector<NvsListRecord>& records) {
  CXmlDocument document;
  if (!Load(document, NvsListPath(folder))) return -1;
  if (!document.FindElement("nvslist")) return 0;
  count = ToInt32(document.GetAttribute("count"));
  updateTime = document.GetAttribute("updatetime");
  document.EnterElement();
  while (document.FindElement("nvs")) {
    NvsListRecord record;
    document.EnterElement();
    while (document.FindElement(nullptr)) {
      const std::string tag = document.GetElementName();
      const std::string text = document.GetText();
      if (tag == "nvsid") record.nvsid = ToInt32(text);
      else if (tag == "name") record.name = text;
      else if (tag == "online") record.online = ToInt32(text);
      else if (tag == "alarm") record.alarm = ToInt32(text);
      else if (tag == "adminread") record.adminread = ToInt32(text);
    }
    document.LeaveElement();
    records.push_back(std::move(record));
  }
  return 0;
}

int CNvsXmlReader::ReadNvsInfo(const std::string& folder, std::uint32_t nvsid, XmlTextMap& info) {
  CXmlDocument document;
  if (!Load(document, NvsFilePath(folder, nvsid))) return -1;
  if (!document.FindElement("Lumora") || !document.EnterElement() || !document.FindElement("nvs")) return 0;
  document.EnterElement();
  while (document.FindElement(nullptr)) {
    const std::string tag = document.GetElementName();
    if (tag == "video") ReadChildren(document, info);
    else info[tag] = document.GetText();
  }
  return 0;
}

int CNvsXmlReader::ReadNvsNodes(const std::string& folder, std::uint32_t nvsid, int& count, int& check,
                                NodeMap& nodes) {
  CXmlDocument document;
  if (!Load(document, NvsFilePath(folder, nvsid))) return -1;
  if (!FindNodes(document)) return 0;
  count = ToInt32(document.GetAttribute("count"));
  check = ToInt32(document.GetAttribute("check"));
  document.EnterElement();
  while (document.FindElement("node")) {
    XmlTextMap node;
    ReadChildren(document, node);
    const NodeKey key = KeyOf(node);
    nodes.insert_or_assign(key, std::move(node));
  }
  return 0;
}

int CNvsXmlReader::ReadNodeElement(const std::string& folder, std::uint32_t nvsid, int netid, int nodeaddr,
                                   const std::string& element, std::string& text) {
  text.clear();
  CXmlDocument document;
  if (!Load(document, NvsFilePath(folder, nvsid))) return -1;
  if (!FindNodes(document)) return 0;
  document.EnterElement();
  while (document.FindElement("node")) {
    XmlTextMap node;
    ReadChildren(document, node);
    if (KeyOf(node) != NodeKey{netid, nodeaddr}) continue;
    if (const auto found = node.find(element); found != node.end()) {
      text = found->second;
      return 0;
    }
  }
  return 0;
}
