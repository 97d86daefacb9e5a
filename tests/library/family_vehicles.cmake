# Licence plates, vehicle and card readers, and the sensor adapter.
sentrell_add_test(NAME test_family_vehicles
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_vehicles_decoders.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_vehicles_adapter_records.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_vehicles_session.cpp
  LIBS sentrellcore sentrellstandin
  LABELS threads)
