# The infrared household appliances' commands and the air conditioners'
# states; their replies are the infrared remote's.
target_sources(sentrellcore PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/api/ac_states_infrared.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/api/commands_infrared.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/api/exports_infrared.cpp
)
