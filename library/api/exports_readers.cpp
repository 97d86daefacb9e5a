// Exports of the message text readers. They take no handle. Texts are
// returned in buffers of the library, one per reader, reused by every call
// of that reader (not reentrant); a text longer than its buffer is cut
// before the last character that does not fit whole.
#include <array>
#include <climits>
#include <cstring>
#include <optional>
#include <string>

#include "library/api/message_readers.h"
#include "library/session/wire_text.h"
#include "sentrell.h"

namespace {

constexpr std::size_t kWordBufferSize = 32;
// A string value may be as long as a whole node text.
constexpr std::size_t kValueBufferSize = 4096 + 1;

const char kEmptyText[] = "";

// Copies the text with its NUL into the reader's buffer and returns it.
template <std::size_t Size>
const char* Hold(std::array<char, Size>& buffer, const std::string& text) {
  const std::string fitted = FitUtf8(text, Size);
  std::memcpy(buffer.data(), fitted.data(), fitted.size());
  buffer[fitted.size()] = '\0';
  return buffer.data();
}

template <std::size_t Size>
const char* HoldOrNull(std::array<char, Size>& buffer, const std::optional<std::string>& text) {
  return text ? Hold(buffer, *text) : nullptr;
}

template <std::size_t Size>
const char* HoldOrEmpty(std::array<char, Size>& buffer, const std::optional<std::string>& text) {
  return text ? Hold(buffer, *text) : kEmptyText;
}

std::array<char, kWordBufferSize> deviceTypeBuffer;
std::array<char, kWordBufferSize> messageBuffer;
std::array<char, kWordBufferSize> unitBuffer;
std::array<char, kWordBufferSize> typeBuffer;
std::array<char, kWordBufferSize> subtypeBuffer;
std::array<char, kValueBufferSize> valueBuffer;

}  // namespace

extern "C" {

SENTRELL_API uint32_t CMPGetVersion(const char* text) {
  try {
    return ReadHeaderUInt(text, "version");
  } catch (...) {
    return 0;
  }
}

SENTRELL_API uint32_t CMPGetNvsID(const char* text) {
  try {
    return ReadHeaderUInt(text, "nvsid");
  } catch (...) {
    return 0;
  }
}

SENTRELL_API uint32_t CMPGetNetID(const char* text) {
  try {
    return ReadHeaderUInt(text, "netid");
  } catch (...) {
    return 0;
  }
}

SENTRELL_API uint32_t CMPGetNodID(const char* text) {
  try {
    return ReadHeaderUInt(text, "nodid");
  } catch (...) {
    return 0;
  }
}

SENTRELL_API const char* CMPGetDeviceType(const char* text) {
  try {
    return HoldOrNull(deviceTypeBuffer, ReadHeaderString(text, "devtype"));
  } catch (...) {
    return nullptr;
  }
}

SENTRELL_API const char* CMPGetMessage(const char* text) {
  try {
    return HoldOrNull(messageBuffer, ReadHeaderString(text, "msg"));
  } catch (...) {
    return nullptr;
  }
}

SENTRELL_API bool IsDataElement(const char* text, const char* name) {
  try {
    return HasDataElement(text, name);
  } catch (...) {
    return false;
  }
}

SENTRELL_API const char* CMPGetDataElementUnit(const char* text, const char* name) {
  try {
    return HoldOrEmpty(unitBuffer, ReadElementString(text, name, "unit"));
  } catch (...) {
    return kEmptyText;
  }
}

SENTRELL_API const char* CMPGetDataElementType(const char* text, const char* name) {
  try {
    return HoldOrEmpty(typeBuffer, ReadElementString(text, name, "type"));
  } catch (...) {
    return kEmptyText;
  }
}

SENTRELL_API const char* CMPGetDataElementSubType(const char* text, const char* name) {
  try {
    return HoldOrEmpty(subtypeBuffer, ReadElementString(text, name, "subtype"));
  } catch (...) {
    return kEmptyText;
  }
}

SENTRELL_API int CMPGetDataElementPrecision(const char* text, const char* name) {
  try {
    return ReadElementInt(text, name, "precision");
  } catch (...) {
    return 0;
  }
}

SENTRELL_API int CMPGetDataElementValueInt(const char* text, const char* name) {
  try {
    return ReadElementInt(text, name, "value");
  } catch (...) {
    return 0;
  }
}

SENTRELL_API uint32_t CMPGetDataElementValueUInt(const char* text, const char* name) {
  try {
    return ReadElementUInt(text, name, "value");
  } catch (...) {
    return 0;
  }
}

SENTRELL_API float CMPGetDataElementValueFloat(const char* text, const char* name) {
  try {
    return ReadElementFloat(text, name, "value");
  } catch (...) {
    return 0.0f;
  }
}

SENTRELL_API const char* CMPGetDataElementValueString(const char* text, const char* name) {
  try {
    return HoldOrNull(valueBuffer, ReadElementString(text, name, "value"));
  } catch (...) {
    return nullptr;
  }
}

SENTRELL_API int CMPGetDataElementValueArrayFloat(const char* text, const char* name, float* values) {
  try {
    const std::vector<float> items = ReadElementFloatArray(text, name, "value");
    if (items.empty() || values == nullptr || items.size() > INT_MAX) return 0;
    std::memcpy(values, items.data(), items.size() * sizeof(float));
    return static_cast<int>(items.size());
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
