#pragma once
// zlib streams for the bodies that tests feed to a session ("zip" pages,
// node lists, camera data, record lists).
#include <zlib.h>

#include <string>

namespace testsupport {

inline std::string Deflate(const std::string& text) {
  uLongf length = compressBound(static_cast<uLong>(text.size()));
  std::string out(length, '\0');
  compress(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(text.data()),
           static_cast<uLong>(text.size()));
  out.resize(length);
  return out;
}

}  // namespace testsupport
