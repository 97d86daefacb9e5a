#include "library/session/nvs_xml_files.h"

#include <cstdio>

#include "platform/files.h"

void DeleteNvsXmlFiles(const std::string& folder) {
  for (const std::string& name : plat::FindFiles(folder, "nvs_*.xml")) {
    const std::string path = folder + name;
    if (plat::DeleteFile(path)) std::printf("DeleteFile OK: %s\n", path.c_str());
    else std::printf("DeleteFile ERROR: %s\n", path.c_str());
  }
}
