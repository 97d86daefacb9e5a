#include "comma_locale.h"

#include <langinfo.h>
#include <locale.h>
#include <stdlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

bool HasDecimalComma(const char* name) {
  const locale_t locale = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return false;
  const bool comma = std::strcmp(nl_langinfo_l(RADIXCHAR, locale), ",") == 0;
  freelocale(locale);
  return comma;
}

struct CompiledLocales {
  std::filesystem::path folder;
  ~CompiledLocales() {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
};

constexpr const char* kCompiledName = "de_DE.UTF-8";

std::string CompileLocale() {
  static CompiledLocales compiled;
  char folder[] = "/tmp/sentrell-locale-XXXXXX";
  if (mkdtemp(folder) == nullptr) return {};
  compiled.folder = folder;
  const std::string command = std::string("localedef -i de_DE -f UTF-8 ") + folder + "/" + kCompiledName +
                              " >/dev/null 2>&1";
  if (std::system(command.c_str()) == -1) return {};
  setenv("LOCPATH", folder, 1);
  if (HasDecimalComma(kCompiledName)) return kCompiledName;
  unsetenv("LOCPATH");
  return {};
}

}  // namespace

// glibc's newlocale keeps its copy of LOCPATH (one small block per call) when
// that variable is set, as it is for the compiled locale.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }

std::string CommaLocaleName() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8", "nl_NL.UTF-8"})
    if (HasDecimalComma(name)) return name;
  return CompileLocale();
}
