# Infrared household appliances and the air conditioners' states.
sentrell_add_test(NAME test_family_infrared
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_infrared_commands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_infrared_session.cpp
  LIBS sentrellcore sentrellstandin
  LABELS threads)
