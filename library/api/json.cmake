# JSON message texts: the compact writer, the builders and the exported readers.
target_sources(sentrellcore PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/json_real.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/json_writer.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/json_parse.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/json_message.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/message_readers.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/exports_readers.cpp
)
