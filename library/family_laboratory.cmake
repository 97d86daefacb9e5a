# Laboratory devices: IC-card power, water valves, vehicle RFID, in/out
# register, positioning, timed switches and camera covers.
target_sources(sentrellcore PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/api/commands_laboratory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/api/exports_laboratory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/session/decoders_laboratory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/session/decoders_laboratory_controls.cpp
)
