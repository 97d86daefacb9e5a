# The valuables cabinet's commands, exports and replies, and the replies of
# the health monitor and the blood-pressure meter.
target_sources(sentrellcore PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/api/commands_cabinet.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/api/exports_cabinet.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/session/decoders_cabinet.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/session/decoders_cabinet_health.cpp
)
