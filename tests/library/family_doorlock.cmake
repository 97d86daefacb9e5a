# Card door access and fingerprint door locks.
sentrell_add_test(NAME test_family_doorlock
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_doorlock_commands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_doorlock_decoders.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_doorlock_session.cpp
  LIBS sentrellcore sentrellstandin
  LABELS threads)
