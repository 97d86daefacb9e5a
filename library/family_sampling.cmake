# Sampling collectors and pH, CO2 and O2 analysers: commands, exports, reply decoders.
target_sources(sentrellcore PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/api/commands_sampling.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/api/exports_sampling.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/session/decoders_sampling.cpp)
