#include "platform/xml_files_lock.h"

namespace plat {

std::recursive_mutex& XmlFilesLock() {
  static std::recursive_mutex* lock = new std::recursive_mutex;  // outlives every static user
  return *lock;
}

}  // namespace plat
