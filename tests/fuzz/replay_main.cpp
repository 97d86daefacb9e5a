// Replays fuzz inputs without libFuzzer, for the normal test suite: every
// file named on the command line, and every file in a folder named there
// (in name order, hidden files skipped), goes once through the target.
// Fails when no input was found, so that a wrong path cannot pass unseen.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const fs::path& path) {
  std::vector<fs::path> out;
  if (fs::is_directory(path)) {
    for (const auto& entry : fs::directory_iterator(path))
      if (entry.is_regular_file() && entry.path().filename().string().front() != '.') out.push_back(entry.path());
    std::sort(out.begin(), out.end());
  } else if (fs::is_regular_file(path)) {
    out.push_back(path);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    for (const fs::path& input : InputsOf(argv[i])) {
      std::ifstream file(input, std::ios::binary);
      const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
      // A copy of exactly the input's size, so that a read past its end is seen.
      const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
      LLVMFuzzerTestOneInput(data.data(), data.size());
      ++replayed;
    }
  }
  std::printf("replayed %zu inputs\n", replayed);
  return replayed > 0 ? 0 : 1;
}
