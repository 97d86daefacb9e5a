#pragma once
// The host executable's folder, folder creation, file search and deletion.
#include <string>
#include <vector>

namespace plat {

// Folder of the running executable, ending with '/'; empty when unknown.
std::string ExecutableFolder();

// Creates the folder (not its parents); true when it exists afterwards.
bool CreateFolder(const std::string& path);

// Names (not paths) of the regular files in `folder` whose names match the
// shell pattern `pattern` ('*' and '?'); folders never match.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern);

bool DeleteFile(const std::string& path);

// `folder` with a '/' at its end unless it ends with '/' or '\\' already.
std::string WithTrailingSeparator(const std::string& folder);

}  // namespace plat
