#include "demo/shell/api_binding.h"

#include <dlfcn.h>

namespace {

constexpr const char* kLibraryName = "libsentrell.so";

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

}  // namespace

std::vector<std::string> DefaultLibraryCandidates(const std::string& programDir) {
  std::vector<std::string> candidates;
  if (!programDir.empty()) {
    candidates.push_back(JoinPath(programDir, kLibraryName));
    candidates.push_back(JoinPath(JoinPath(programDir, "../lib"), kLibraryName));
  }
  candidates.emplace_back(kLibraryName);
  return candidates;
}

ApiBinding BindSentrellApi(const std::vector<std::string>& candidates, SentrellApi& api) {
  ApiBinding binding;
  api = MissingApi();
  void* library = nullptr;
  for (const std::string& candidate : candidates) {
    dlerror();
    library = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library != nullptr) {
      binding.libraryPath = candidate;
      break;
    }
    const char* error = dlerror();
    binding.loadError = error != nullptr ? error : candidate + ": cannot be loaded";
  }
  if (library == nullptr) return binding;
  binding.loaded = true;
  binding.loadError.clear();

#define DEMO_API_BIND(name)                                                  \
  if (void* symbol = dlsym(library, #name); symbol != nullptr) {             \
    api.name = reinterpret_cast<decltype(api.name)>(symbol);                 \
  } else {                                                                   \
    binding.missing.emplace_back(#name);                                     \
  }
  DEMO_BOUND_EXPORTS(DEMO_API_BIND)
#undef DEMO_API_BIND
  return binding;
}

std::vector<std::string> BindingReport(const ApiBinding& binding) {
  std::vector<std::string> lines;
  if (!binding.loaded) {
    lines.push_back(std::string(kLibraryName) + " not loaded (" + binding.loadError +
                    "): every library function fails");
    return lines;
  }
  for (const std::string& name : binding.missing)
    lines.push_back(std::string(kLibraryName) + ": export " + name + " not found");
  return lines;
}
