// The XML file loader on any file: byte-order marks, declared encodings and
// whatever follows them. Byte 0 picks the process code page; the rest is
// written to a private file and loaded, walked and saved again.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "tests/fuzz/xml_walk.h"

namespace {

// A folder of the process's own, removed when it ends.
struct Scratch {
  Scratch() : dir(std::filesystem::temp_directory_path() / ("sentrell-fuzz-xml-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir);
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  std::filesystem::path dir;
};

const std::string& FilePath() {
  static const Scratch scratch;
  static const std::string path = (scratch.dir / "input.xml").string();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  ProcessCodePageGuard codePage((data[0] & 1) ? 936 : 0);
  const std::string& path = FilePath();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data) + 1, static_cast<std::streamsize>(size - 1));
  CXmlDocument d;
  d.LoadFile(path.c_str());
  fuzzxml::CheckIndex(d, "after the load");
  fuzzxml::Walk(d);
  d.SaveFile(path.c_str());
  CXmlDocument again;
  again.LoadFile(path.c_str());
  fuzzxml::CheckIndex(again, "after a save and load");
  return 0;
}
