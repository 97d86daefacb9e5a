#include "library/xml/nvs_xml_store.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "library/session/wire_text.h"
#include "platform/files.h"
#include "platform/xml_files_lock.h"

namespace {

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n";

std::mutex g_clockMutex;
std::function<std::time_t()> g_clock;

std::string Decimal(long long value) { return std::to_string(value); }

int ToInt(const std::string& text) { return static_cast<int>(std::strtol(text.c_str(), nullptr, 10)); }

}  // namespace

CNvsXmlStore::CNvsXmlStore(const std::string& folder)
    : lock_(plat::XmlFilesLock(), std::defer_lock), folder_(plat::WithTrailingSeparator(folder)), path_(folder_) {
  plat::CreateFolder(folder_);
}

CNvsXmlStore::~CNvsXmlStore() = default;

void CNvsXmlStore::SetClockForTesting(std::function<std::time_t()> clock) {
  std::lock_guard lock(g_clockMutex);
  g_clock = std::move(clock);
}

std::string CNvsXmlStore::FormatTime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

std::string CNvsXmlStore::FormatNow() {
  std::time_t now;
  {
    std::lock_guard lock(g_clockMutex);
    now = g_clock ? g_clock() : std::time(nullptr);
  }
  return FormatTime(now);
}

bool CNvsXmlStore::Open(const std::string& fileName) {
  if (!lock_.owns_lock()) lock_.lock();
  if (loaded_) {
    Save();
    loaded_ = false;
  }
  path_ = folder_ + fileName;
  loaded_ = document_.LoadFile(path_.c_str()) && document_.CheckWellFormed();
  return loaded_;
}

bool CNvsXmlStore::OpenNvsList() { return Open("nvs_list.xml"); }
bool CNvsXmlStore::OpenWarnList() { return Open("nvs_warn.xml"); }

bool CNvsXmlStore::OpenNvsFile(std::uint32_t nvsid) {
  nvsid_ = nvsid;
  char name[32];
  std::snprintf(name, sizeof name, "nvs_%u.xml", nvsid);
  return Open(name);
}

int CNvsXmlStore::CreateFrom(const std::string& text) {
  if (!lock_.owns_lock()) lock_.lock();
  document_.SetDocument(text);
  document_.SetDocumentFlags(document_.GetDocumentFlags() | CXmlDocument::kUtf8Bom);
  if (path_.size() > 2) document_.SaveFile(path_.c_str());
  loaded_ = document_.LoadFile(path_.c_str()) && document_.CheckWellFormed();
  changed_ = false;
  return 0;
}

int CNvsXmlStore::CreateNvsList() {
  CXmlDocument doc(kDeclaration);
  doc.AddElement("nvslist");
  doc.SetAttribute("count", "0");
  return CreateFrom(doc.GetDocument());
}

int CNvsXmlStore::CreateWarnList() {
  CXmlDocument doc(kDeclaration);
  doc.AddElement("warnlist");
  doc.SetAttribute("count", "0");
  doc.SetAttribute("lastnumber", "0");
  return CreateFrom(doc.GetDocument());
}

bool CNvsXmlStore::CreateNvsFile() {
  CXmlDocument doc(kDeclaration);
  doc.AddElement("Lumora");
  doc.EnterElement();
  doc.AddElement("nvs");
  doc.EnterElement();
  const struct {
    const char* name;
    const char* value;
  } fields[] = {{"version", "1.0"}, {"serverip", ""}, {"serverport", "4388"}, {"nvsip", ""},   {"nvsid", "0"},
                {"flag", "0"},      {"name", ""},     {"nvsmodel", ""},       {"nvsver", ""},  {"online", "0"},
                {"adminread", "0"}, {"alarm", ""},    {"user", ""},           {"dx", "1.0"},   {"dy", "1.0"},
                {"address", ""},    {"usermobile", ""}};
  for (const auto& field : fields) doc.AddElement(field.name, field.value);
  doc.AddElement("video");
  doc.EnterElement();
  for (const auto& field : {std::pair{"codec", ""}, {"width", "0"}, {"height", "0"}, {"fps", "0"}, {"extdata", ""}})
    doc.AddElement(field.first, field.second);
  doc.LeaveElement();
  doc.AddElement("updatetime", FormatNow().c_str());
  doc.AddElement("nodes");
  doc.SetAttribute("count", "0");
  doc.SetAttribute("check", "0");
  CreateFrom(doc.GetDocument());
  return loaded_;
}

void CNvsXmlStore::Save() {
  if (changed_ && EnterNvs() && document_.FindChildElement("updatetime"))
    document_.SetChildText(FormatNow().c_str());
  if (path_.size() > 2) {
    if (!lock_.owns_lock()) lock_.lock();
    document_.SaveFile(path_.c_str());
  }
  changed_ = false;
}

bool CNvsXmlStore::EnterPath(std::initializer_list<const char*> path) {
  document_.SetPosition(0, 0, 0);
  std::size_t step = 0;
  for (const char* name : path) {
    if (!document_.FindElement(name)) return false;
    if (++step < path.size() && !document_.EnterElement()) return false;
  }
  return true;
}

int CNvsXmlStore::CountChildren(const char* name) {
  // The main position is the container: count its children of that name.
  int count = 0;
  const int container = document_.MainPosition();
  document_.SetPosition(document_.ParentPosition(), container, 0);
  while (document_.FindChildElement(name)) ++count;
  document_.SetPosition(document_.ParentPosition(), container, 0);
  return count;
}

bool CNvsXmlStore::HasChildElement(const char* name) {
  const int container = document_.MainPosition();
  document_.SetPosition(document_.ParentPosition(), container, 0);
  const bool found = document_.FindChildElement(name);
  document_.SetPosition(document_.ParentPosition(), container, 0);
  return found;
}

int CNvsXmlStore::WriteNvsList(const NvsList& list) {
  if (!loaded_ || !EnterPath({"nvslist"})) return 0;
  while (document_.FindChildElement("nvs")) {
    document_.RemoveChildElement();
  }
  EnterPath({"nvslist"});
  document_.EnterElement();
  for (std::size_t i = 0; i < list.ValidCount(); ++i) {
    const NvsListEntry& entry = list.entries[i];
    document_.AddElement("nvs");
    document_.EnterElement();
    document_.AddElement("nvsid", Decimal(entry.nvsid).c_str());
    document_.AddElement("name", WireNameToUtf8(entry.name, sizeof entry.name).c_str());
    document_.AddElement("online", (entry.flags & kNvsOnline) ? "1" : "0");
    document_.AddElement("alarm", (entry.flags & kNvsAlarm) ? "1" : "0");
    document_.AddElement("adminread", (entry.flags & kNvsAdminRead) ? "1" : "0");
    document_.LeaveElement();
  }
  EnterPath({"nvslist"});
  document_.SetAttribute("count", Decimal(CountChildren("nvs")).c_str());
  document_.SetAttribute("updatetime", FormatNow().c_str());
  changed_ = true;
  return 1;
}

int CNvsXmlStore::AppendWarn(std::int32_t number, std::int32_t nvsid, std::int32_t type, std::time_t time,
                             const char* text) {
  if (!loaded_ || !EnterPath({"warnlist"})) return 0;
  const int count = ToInt(document_.GetAttribute("count"));
  document_.EnterElement();
  while (document_.FindElement("warn")) {
  }
  document_.AddElement("warn", text ? text : "");
  document_.SetAttribute("number", Decimal(number).c_str());
  document_.SetAttribute("nvsid", Decimal(nvsid).c_str());
  document_.SetAttribute("type", Decimal(type).c_str());
  document_.SetAttribute("datetime", FormatTime(time).c_str());
  EnterPath({"warnlist"});
  document_.SetAttribute("count", Decimal(count + 1).c_str());
  document_.SetAttribute("lastnumber", Decimal(number).c_str());
  changed_ = true;
  return 1;
}

void CNvsXmlStore::SetNvsField(const char* name, const char* text) {
  if (!loaded_ || name == nullptr || text == nullptr || !EnterNvs()) return;
  if (!document_.FindChildElement(name)) return;
  if (document_.SetChildText(text)) changed_ = true;
}

void CNvsXmlStore::SetNvsFieldUInt(const char* name, std::uint32_t value) {
  SetNvsField(name, std::to_string(value).c_str());
}

void CNvsXmlStore::SetCoordinates(const char* dx, const char* dy) {
  SetNvsField("dx", dx);
  SetNvsField("dy", dy);
}

void CNvsXmlStore::SetVideoField(const char* name, const char* text) {
  if (!loaded_ || name == nullptr || text == nullptr || !EnterPath({"Lumora", "nvs", "video"})) return;
  if (!document_.FindChildElement(name)) return;
  if (document_.SetChildText(text)) changed_ = true;
}

void CNvsXmlStore::SetVideoFieldUInt(const char* name, std::uint32_t value) {
  SetVideoField(name, std::to_string(value).c_str());
}

void CNvsXmlStore::SetVideo(int h264, std::uint32_t width, std::uint32_t height, std::uint32_t fps,
                            const char* extdata) {
  SetVideoField("codec", h264 ? "h264" : "mpeg4");
  SetVideoFieldUInt("width", width);
  SetVideoFieldUInt("height", height);
  SetVideoFieldUInt("fps", fps);
  if (extdata != nullptr) SetVideoField("extdata", extdata);
}

int CNvsXmlStore::AddNode(int deviceStatus, const char* name, int type, int netId, int nodeAddress) {
  if (!loaded_ || name == nullptr || !EnterNodes()) return 0;
  document_.EnterElement();
  while (document_.FindElement("node")) {
  }
  document_.AddElement("node");
  document_.EnterElement();
  document_.AddElement("devicestatus", Decimal(deviceStatus).c_str());
  document_.AddElement("name", name);
  document_.AddElement("type", Decimal(type).c_str());
  document_.AddElement("netid", Decimal(netId).c_str());
  document_.AddElement("nodeaddr", Decimal(nodeAddress).c_str());
  for (const auto& field : {std::pair{"cmdid", "0"}, {"cmdtext", ""}, {"currentdata", "0"}, {"extdata", "0"},
                            {"nodeinfo", ""}, {"cmdsendrandnum", "0"}, {"cmdsenddata", ""}, {"cmdbackstatus", ""}})
    document_.AddElement(field.first, field.second);
  document_.AddElement("updatetime", FormatNow().c_str());
  EnterNodes();
  document_.SetAttribute("count", Decimal(CountChildren("node")).c_str());
  document_.SetAttribute("check", "0");
  changed_ = true;
  return 1;
}

int CNvsXmlStore::ClearNodes() {
  if (!loaded_ || !EnterNodes()) return 0;
  document_.SetAttribute("count", "0");
  while (document_.FindChildElement("node")) document_.RemoveChildElement();
  changed_ = true;
  return 1;
}

int CNvsXmlStore::GetNodesCount() {
  if (!loaded_ || !EnterNodes()) return 0;
  return ToInt(document_.GetAttribute("count"));
}

std::uint8_t CNvsXmlStore::GetNodesCheck() {
  if (!loaded_ || !EnterNodes()) return 0;
  return static_cast<std::uint8_t>(ToInt(document_.GetAttribute("check")) & 0xFF);
}

void CNvsXmlStore::SetNodesCheck(std::uint32_t value) {
  if (!loaded_ || !EnterNodes()) return;
  if (document_.SetAttribute("check", Decimal(value & 0xFF).c_str())) changed_ = true;
}

bool CNvsXmlStore::FindNodeChild(int netId, int nodeAddress, const char* child) {
  // The first node that matches is remembered with the revision of the
  // document: while nothing else changed, it is still the first one, and
  // a node search of the same node is one child search.
  if (firstMatch_.node != 0 && firstMatch_.revision == document_.Revision() && firstMatch_.netId == netId &&
      firstMatch_.nodeAddress == nodeAddress) {
    document_.SetPosition(0, firstMatch_.node, 0);
    if (document_.FindChildElement(child)) return true;
  }
  firstMatch_ = {};
  if (!EnterNodes()) return false;
  document_.EnterElement();
  while (document_.FindElement("node")) {
    const int node = document_.MainPosition();
    const int parent = document_.ParentPosition();
    // The address first: it tells most nodes apart without the net.
    const int nodeAddr = document_.FindChildElement("nodeaddr") ? ToInt(document_.GetChildText()) : 0;
    const int addressChild = document_.ChildPosition();
    document_.SetPosition(parent, node, 0);
    if (nodeAddr != nodeAddress) continue;
    const int nodeNet = document_.FindChildElement("netid") ? ToInt(document_.GetChildText()) : 0;
    const int netChild = document_.ChildPosition();
    document_.SetPosition(parent, node, 0);
    if (nodeNet == netId || nodeNet == 0) {
      if (firstMatch_.node == 0)
        firstMatch_ = {document_.Revision(), netId, nodeAddress, node, netChild, addressChild};
      if (document_.FindChildElement(child)) return true;
    }
    document_.SetPosition(parent, node, 0);
  }
  return false;
}

int CNvsXmlStore::SetNodeChild(int netId, int nodeAddress, const char* child, const char* text) {
  if (!loaded_ || child == nullptr || text == nullptr || !EnterNodes()) return 0;
  if (!HasChildElement("node")) AddNode(0, "", 0, netId, nodeAddress);
  if (!FindNodeChild(netId, nodeAddress, child)) return 0;
  const int changed = document_.ChildPosition();
  const bool matchedNode = document_.MainPosition() == firstMatch_.node;
  document_.SetChildText(text);
  // A new text of any other child leaves the first match as it was.
  if (matchedNode && changed != firstMatch_.netIdChild && changed != firstMatch_.addressChild)
    firstMatch_.revision = document_.Revision();
  changed_ = true;
  return 1;
}

int CNvsXmlStore::SetNodeChildInt(int netId, int nodeAddress, const char* child, int value) {
  return SetNodeChild(netId, nodeAddress, child, Decimal(value).c_str());
}

int CNvsXmlStore::SetNodeDeviceStatus(int netId, int nodeAddress, int status) {
  return SetNodeChildInt(netId, nodeAddress, "devicestatus", status);
}

int CNvsXmlStore::SetNodeCommand(int netId, int nodeAddress, int sequence, int functionByte) {
  if (!SetNodeChildInt(netId, nodeAddress, "cmdsendrandnum", sequence)) return 0;
  return SetNodeChildInt(netId, nodeAddress, "cmdsenddata", functionByte);
}

int CNvsXmlStore::SetNodeBackStatus(int netId, int nodeAddress, const char* text) {
  return SetNodeChild(netId, nodeAddress, "cmdbackstatus", text);
}

bool CNvsXmlStore::GetNodeChild(int netId, int nodeAddress, const char* child, std::string& out) {
  if (!loaded_ || child == nullptr || !FindNodeChild(netId, nodeAddress, child)) return false;
  out = document_.GetChildText();
  return true;
}

int CNvsXmlStore::GetNodeType(int netId, int nodeAddress) {
  std::string type;
  if (!GetNodeChild(netId, nodeAddress, "type", type)) return 0;
  return ToInt(type.substr(0, 63));
}
