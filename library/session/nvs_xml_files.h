#pragma once
#include <string>

// Removes the cached "nvs_*.xml" files (the gateway list, the warning list and
// every gateway's node file) from `folder`, printing each deletion.
void DeleteNvsXmlFiles(const std::string& folder);
