# Replies of the licence-plate recogniser, the vehicle RFID reader, the card
# readers and the sensor adapter, with the adapter's weather-station records.
target_sources(sentrellcore PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/session/adapter_records_vehicles.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/session/decoders_vehicles.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/session/decoders_vehicles_adapter.cpp
)
