#pragma once
// Readers of the gateway directory files that the library keeps in its XML
// folder: the gateway list "nvs_list.xml" and one file "nvs_<id>.xml" per
// gateway with its properties, video settings and nodes. Every reader opens
// its file itself, under the process-wide lock of these files. A file that
// does not load shows "Can not open XML file!:\n" with the XML document's
// result text and gives -1; otherwise a reader gives 0, with empty results
// where the file lacks the expected elements.
#include <compare>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// One gateway of the gateway list.
struct NvsListRecord {
  std::int32_t nvsid = 0;
  std::string name;
  std::int32_t online = 0;
  std::int32_t alarm = 0;
  std::int32_t adminread = 0;
};

// Element tag to element text.
using XmlTextMap = std::map<std::string, std::string>;

// A node's place in the gateway: ordered by net id, then node address, the
// order of the key (netid << 16) | nodeaddr for 16-bit values. Values that
// do not fit 16 bits keep their order and never collide.
struct NodeKey {
  long long netid = 0;
  long long nodeaddr = 0;
  auto operator<=>(const NodeKey&) const = default;
};
// Two nodes with the same key: the later one of the file is kept.
using NodeMap = std::map<NodeKey, XmlTextMap>;

class CNvsXmlReader {
 public:
  virtual ~CNvsXmlReader() = default;

  // `folder` ends with '/'.
  static int ReadNvsList(const std::string& folder, int& count, std::string& updateTime,
                         std::vector<NvsListRecord>& records);
  // The children of the gateway's "nvs" element, with those of its "video"
  // element in their place.
  static int ReadNvsInfo(const std::string& folder, std::uint32_t nvsid, XmlTextMap& info);
  static int ReadNvsNodes(const std::string& folder, std::uint32_t nvsid, int& count, int& check, NodeMap& nodes);
  // The text of one child element of one node; empty when no node or no
  // element matches.
  static int ReadNodeElement(const std::string& folder, std::uint32_t nvsid, int netid, int nodeaddr,
                             const std::string& element, std::string& text);

  static std::string NvsListPath(const std::string& folder);
  static std::string NvsFilePath(const std::string& folder, std::uint32_t nvsid);
};
