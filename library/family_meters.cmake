# Electricity, water and gas meter controllers.
target_sources(sentrellcore PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/api/commands_meters.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/api/exports_meters.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/session/decoders_meters.cpp
)
