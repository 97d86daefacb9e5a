#pragma once
// The one lock of the process under which the gateway directory files are
// read and written, shared by the library and the program that loads it.
#include <mutex>

namespace plat {
std::recursive_mutex& XmlFilesLock();
}  // namespace plat
