# Electricity, water and gas meter controllers.
sentrell_add_test(NAME test_family_meters
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_meters_commands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_meters_decoders.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_meters_session.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_meters_simulator.cpp
  LIBS sentrellcore sentrellstandin sentrelltestsupport
  LABELS threads)
