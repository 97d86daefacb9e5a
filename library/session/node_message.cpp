#include "library/session/node_message.h"

#include "library/api/json_message.h"

void NodeMessage::Header(const char* devtype, const char* msg) {
  BuildMessageHeader(buffer_, kCapacity, 2, reply_.nvsid, reply_.netId, reply_.nodeAddress, devtype, msg);
}

void NodeMessage::String(const char* name, const char* value) {
  String(name, "", "string", "", 0, value);
}

void NodeMessage::String(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                         const char* value) {
  SetDataElementString(buffer_, kCapacity, name, unit, type, subtype, precision, value);
}

void NodeMessage::Element(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                          std::int32_t value) {
  SetDataElement(buffer_, kCapacity, name, unit, type, subtype, precision, value);
}

void NodeMessage::UInt(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                       std::uint32_t value) {
  SetDataElementUInt(buffer_, kCapacity, name, unit, type, subtype, precision, value);
}

void NodeMessage::UInt64(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                         std::uint64_t value) {
  SetDataElementUInt64(buffer_, kCapacity, name, unit, type, subtype, precision, value);
}

void NodeMessage::Float(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                        float value) {
  SetDataElementFloat(buffer_, kCapacity, name, unit, type, subtype, precision, value);
}

void NodeMessage::FloatArray(const char* name, const char* unit, const char* type, const char* subtype,
                             int precision, const float* values, std::size_t count) {
  SetDataElementFloatArray(buffer_, kCapacity, name, unit, type, subtype, precision, values, count);
}

void NodeMessage::IntArray(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                           const std::int32_t* values, std::size_t count) {
  SetDataElementIntArray(buffer_, kCapacity, name, unit, type, subtype, precision, values, count);
}

void NodeMessage::UIntArray(const char* name, const char* unit, const char* type, const char* subtype,
                            int precision, const std::uint32_t* values, std::size_t count) {
  SetDataElementUIntArray(buffer_, kCapacity, name, unit, type, subtype, precision, values, count);
}
