#include "library/session/node_message.h"

void NodeMessage::Header(const char* devtype, const char* msg) {
  text_.Header(2, reply_.nvsid, reply_.netId, reply_.nodeAddress, devtype, msg);
}

void NodeMessage::String(const char* name, const char* value) {
  String(name, "", "string", "", 0, value);
}

void NodeMessage::String(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                         const char* value) {
  text_.String(name, unit, type, subtype, precision, value);
}

void NodeMessage::Element(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                          std::int32_t value) {
  text_.Element(name, unit, type, subtype, precision, value);
}

void NodeMessage::UInt(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                       std::uint32_t value) {
  text_.UInt(name, unit, type, subtype, precision, value);
}

void NodeMessage::UInt64(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                         std::uint64_t value) {
  text_.UInt64(name, unit, type, subtype, precision, value);
}

void NodeMessage::Float(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                        float value) {
  text_.Float(name, unit, type, subtype, precision, value);
}

void NodeMessage::FloatArray(const char* name, const char* unit, const char* type, const char* subtype,
                             int precision, const float* values, std::size_t count) {
  text_.FloatArray(name, unit, type, subtype, precision, values, count);
}

void NodeMessage::IntArray(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                           const std::int32_t* values, std::size_t count) {
  text_.IntArray(name, unit, type, subtype, precision, values, count);
}

void NodeMessage::UIntArray(const char* name, const char* unit, const char* type, const char* subtype,
                            int precision, const std::uint32_t* values, std::size_t count) {
  text_.UIntArray(name, unit, type, subtype, precision, values, count);
}
