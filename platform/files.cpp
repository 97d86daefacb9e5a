#include "platform/files.h"

#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <system_error>

namespace plat {

std::string ExecutableFolder() {
  std::array<char, 4096> buffer{};
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return {};
  std::string path(buffer.data(), static_cast<std::size_t>(n));
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash + 1);
}

bool CreateFolder(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return true;
  std::filesystem::create_directory(path, error);
  return std::filesystem::is_directory(path, error);
}

std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  std::error_code error;
  std::filesystem::directory_iterator it(folder.empty() ? std::string(".") : folder, error);
  if (error) return names;
  for (const auto& entry : it) {
    std::error_code statError;
    if (!entry.is_regular_file(statError) || entry.is_symlink(statError)) continue;
    const std::string name = entry.path().filename().string();
    if (fnmatch(pattern.c_str(), name.c_str(), FNM_PERIOD) == 0) names.push_back(name);
  }
  return names;
}

bool DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::string WithTrailingSeparator(const std::string& folder) {
  if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) return folder;
  return folder + '/';
}

}  // namespace plat
