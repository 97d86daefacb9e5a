# Sampling collectors and pH, CO2 and O2 analysers.
sentrell_add_test(NAME test_family_sampling
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_sampling_commands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_sampling_decoders.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_sampling_session.cpp
  LIBS sentrellcore sentrellstandin
  LABELS threads)
