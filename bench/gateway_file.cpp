#include "bench/gateway_file.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "library/xml/nvs_xml_store.h"

namespace bench {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "sentrell-bench-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("no temporary folder");
  path_ = std::string(name.data()) + "/";
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string WriteGatewayFile(const std::string& folder) {
  // Device kinds of a mixed installation: lamps, curtains, sensors, meters.
  constexpr int kTypes[] = {81, 82, 62, 95, 44, 102, 80, 46};
  CNvsXmlStore store(folder);
  if (!store.OpenNvsFile(kGatewayId) && !store.CreateNvsFile()) return {};
  store.SetServerIp("127.0.0.1");
  store.SetNvsId(kGatewayId);
  store.SetName("bench gateway");
  for (int i = 0; i < kGatewayNodes; ++i) {
    const std::string name = "node " + std::to_string(i + 1);
    store.AddNode(1, name.c_str(), kTypes[i % std::size(kTypes)], kGatewayNetId, NodeAddress(i));
  }
  store.Save();
  return store.GetNodesCount() == kGatewayNodes ? store.Path() : std::string();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return {};
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return {};
  return bytes;
}

}  // namespace bench
