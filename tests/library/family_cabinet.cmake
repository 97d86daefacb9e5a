# The valuables cabinet and the health devices: commands, exports, replies
# and the stand-in's simulated devices.
sentrell_add_test(NAME test_family_cabinet
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_cabinet_commands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_cabinet_replies.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_cabinet_exports.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/test_cabinet_devices.cpp
  LIBS sentrellcore sentrellstandin
  LABELS threads)
target_include_directories(test_family_cabinet PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/session)
