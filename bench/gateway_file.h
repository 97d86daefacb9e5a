#pragma once
// The gateway file the benchmarks work on: "nvs_<id>.xml" with 256 nodes,
// written through the store the way a session writes a node list, in a
// temporary folder of its own.
#include <cstdint>
#include <string>

namespace bench {

constexpr std::uint32_t kGatewayId = 1000001;
constexpr int kGatewayNodes = 256;
constexpr std::uint16_t kGatewayNetId = 1;

// Node i (0 .. kGatewayNodes - 1) has this address on net kGatewayNetId.
inline std::uint16_t NodeAddress(int i) { return static_cast<std::uint16_t>(1 + i % kGatewayNodes); }

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // Ends with '/'.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Creates the gateway file in `folder` (ending with '/') and returns its
// path; empty when the store could not write it.
std::string WriteGatewayFile(const std::string& folder);

// The whole content of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace bench
