// Exports of the valuables cabinet.
#include "library/api/commands_cabinet.h"
#include "library/api/export_frame.h"
#include "sentrell.h"

extern "C" {

SENTRELL_API int CM_IOT_CABMGZ_GetWeightInBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                              int box) {
  return Command(handle, nvsid, netid, nodeaddr, [box] { return CabmgzGetWeightInBox(box); });
}
SENTRELL_API int CM_IOT_CABMGZ_OpenBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int box) {
  return Command(handle, nvsid, netid, nodeaddr, [box] { return CabmgzOpenBox(box); });
}
SENTRELL_API int CM_IOT_CABMGZ_AddAdvUserToBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               int box, int userNumber, int password, int cardNumber) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [=] { return CabmgzAddAdvUserToBox(box, userNumber, password, cardNumber); });
}
SENTRELL_API int CM_IOT_CABMGZ_RemoveAdvUserFromBox(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                    uint16_t nodeaddr, int box, int userNumber) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [=] { return CabmgzRemoveAdvUserFromBox(box, userNumber); });
}
SENTRELL_API int CM_IOT_CABMGZ_ClearAdminInBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               int box) {
  return Command(handle, nvsid, netid, nodeaddr, [box] { return CabmgzClearAdminInBox(box); });
}
SENTRELL_API int CM_IOT_CABMGZ_RemoveBoxFromCabinet(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                    uint16_t nodeaddr, int box) {
  return Command(handle, nvsid, netid, nodeaddr, [box] { return CabmgzRemoveBoxFromCabinet(box); });
}
SENTRELL_API int CM_IOT_CABMGZ_ClearAdminInCabinet(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                   uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return CabmgzClearAdminInCabinet(); });
}
SENTRELL_API int CM_IOT_CABMGZ_GetAdminInfoFromCabinet(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                       uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return CabmgzGetAdminInfoFromCabinet(); });
}
SENTRELL_API int CM_IOT_CABMGZ_GetBoxInfoOfCabinet(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                   uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return CabmgzGetBoxInfoOfCabinet(); });
}
SENTRELL_API int CM_IOT_CABMGZ_ReinitCabinet(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return CabmgzReinitCabinet(); });
}
SENTRELL_API int CM_IOT_CABMGZ_AddUserToBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                            int box, int cardNumber) {
  return Command(handle, nvsid, netid, nodeaddr, [=] { return CabmgzAddUserToBox(box, cardNumber); });
}
SENTRELL_API int CM_IOT_CABMGZ_RemoveUserFromBox(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                 uint16_t nodeaddr, int box, int cardNumber) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [=] { return CabmgzRemoveUserFromBox(box, cardNumber); });
}
SENTRELL_API int CM_IOT_CABMGZ_ClearUserInBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                              int box) {
  return Command(handle, nvsid, netid, nodeaddr, [box] { return CabmgzClearUserInBox(box); });
}
SENTRELL_API int CM_IOT_CABMGZ_ClearAdvUserInBox(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                 uint16_t nodeaddr, int box) {
  return Command(handle, nvsid, netid, nodeaddr, [box] { return CabmgzClearAdvUserInBox(box); });
}

}  // extern "C"
