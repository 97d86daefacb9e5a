# Card door access and fingerprint door locks: commands, exports, reply
# decoders and the fingerprint feature reassembly.
target_sources(sentrellcore PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/api/doorlock_clock.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/api/commands_doorlock.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/api/exports_doorlock.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/session/doorlock_feature.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/session/decoders_doorlock.cpp
)
