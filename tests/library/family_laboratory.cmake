# Laboratory devices: IC-card power, water valves, vehicle RFID, in/out
# register, positioning, timed switches and camera covers.
sentrell_add_test(NAME test_family_laboratory
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_laboratory_commands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_laboratory_replies.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_laboratory_devices.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_laboratory_session.cpp
  LIBS sentrellcore sentrellstandin
  LABELS threads)
