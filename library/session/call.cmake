# The audio call: signalling, the media connection, G.711 and its exports.
target_sources(sentrellcore PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/audio_call_socket.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/call_texts.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/g711.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/media_frame.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/session_call.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/../api/exports_call.cpp
)
