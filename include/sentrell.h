/* Client library of the field-device platform: sessions with the platform
 * server, gateway (NVS) directory, snapshots, recordings, audio calls, device
 * commands and the readers of the JSON message texts the library delivers.
 *
 * Conventions shared by the functions below:
 * - A session is an opaque IotHandle* made by CM_Init and released by
 *   CM_Free. Every other CM_ function takes it first and returns -1 for a
 *   NULL or invalid handle, and -1 when the operation fails internally; the session
 *   stays usable.
 * - Device commands (CM_IOT_) address a node by gateway id, net id and node
 *   address. They return 1 when the request was handed to the connection,
 *   0 when it was not (no connection to the server, or the send failed).
 *   None waits for the device: replies arrive later as notifications.
 *   Other numeric arguments contribute only the low bits that the device
 *   payload holds (one byte: the low 8 bits, two bytes: the low 16 bits).
 * - Texts are NUL-terminated UTF-8. Date and time texts have the forms
 *   "%d-%d-%d %d:%d:%d", "%d-%d-%d", "%d:%d:%d" or "%02d:%02d" as named.
 * - Output buffers belong to the caller; their sizes are given where the
 *   function takes no capacity argument. Texts returned by the readers
 *   (CMPGet*) belong to the library and stay valid until the next call of the
 *   same reader; the readers are not reentrant.
 * - A comment paragraph that begins "Note:" marks a result or a behaviour that
 *   a caller used to this interface might not expect: a refusal where bytes
 *   would otherwise be cut or overrun, a 0 where a request did not go out, a
 *   state kept per node, a session that ends at once. */
#ifndef SENTRELL_H
#define SENTRELL_H

#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#include "sentrellplatform.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define SENTRELL_API __attribute__((visibility("default")))
#else
#define SENTRELL_API
#endif

typedef struct IotHandle IotHandle;

/* Called on the library's receive thread for every device frame that reaches
 * the device-data path: the gateway id, the message body exactly as received
 * (still zlib-compressed when the server compressed it), its length, and the
 * user value given to CM_SetIOTCallBack. The result is ignored. */
typedef int (*CM_IOTCALLBACK)(uint32_t nvsid, const unsigned char* body, int length, void* user);

/* Notifications, posted to the window and thread targets as message numbers
 * and named by their key word in UDP datagrams "VER=2.1&MSG=%s&DAT=%s".
 * Window and thread messages carry wParam = the address of the library's copy
 * of the text (NUL-terminated) and lParam = its length + 1; NVSLIST carries
 * (0, 0). The copy belongs to the library: read or copy it while handling the
 * message; it stays valid for at least a second after the message was taken. */
enum NotifyMessageId {
  NOTIFY_NODEMSG = 0x27F0, /* a device reply */
  NOTIFY_NVSLIST = 0x27F1, /* the gateway list file was rewritten; no text */
  NOTIFY_WARNMSG = 0x27F2, /* an alarm */
  NOTIFY_NODLIST = 0x27F3, /* {"nvsid":N}: that gateway's node list was refreshed */
  NOTIFY_ROUTING = 0x27F4, /* a routing event of a device */
  NOTIFY_SNAPMSG = 0x27F5  /* a snapshot or auto-snapshot answer */
};

/* ---- Library and session ---- */
/* A new session for mode 1; NULL for any other mode. */
SENTRELL_API IotHandle* CM_Init(int mode);
/* Ends the session and releases the handle, which must not be used again.
 * Note: the session ends before CM_Free returns, also while another thread
 * still waits in a call of this handle: "quit" is sent while connected, the
 * connection is closed, a waiting CM_CallNVS or CM_OpenNVSAudio returns 4
 * within its current wait step and a waiting CM_Login returns; nothing more
 * is sent on the session. CM_GetRecordList keeps its caller's wait. */
SENTRELL_API void CM_Free(IotHandle* handle);
/* Connects to `server` (port 4073), greets it and logs in; blocks the calling
 * thread (running its pump hook) for up to about 21 s. 1 logged in; 0 the log-in
 * was refused or not answered; -1 bad handle, NULL text, no connection or no
 * greeting answer. */
SENTRELL_API int CM_Login(IotHandle* handle, const char* server, const char* user, const char* password);
/* The From, Contact and body texts of the server's greeting. Each buffer may
 * be NULL (skipped). from and contact: 32 bytes each (at most 31 characters
 * and the zero); body: at least 512 bytes (at most 511 characters and the
 * zero, a longer body is cut). 1. */
SENTRELL_API int CM_GetServerInfo(IotHandle* handle, char* from, char* contact, char* body);

/* ---- Notification targets (each returns 1; 0 or NULL removes the target) ---- */
SENTRELL_API int CM_SetNotifyWindow(IotHandle* handle, PlatWindow window);
SENTRELL_API int CM_SetNotifyThreadID(IotHandle* handle, uint32_t threadId);
/* Local UDP port that receives each notification as a datagram to 127.0.0.1. */
SENTRELL_API int CM_SetNotifyUDPPort(IotHandle* handle, int port);
SENTRELL_API int CM_SetIOTCallBack(IotHandle* handle, CM_IOTCALLBACK callback, void* user);

/* ---- Gateway directory and account settings ---- */
/* Folder of the gateway XML files (a '/' is added when it ends in neither '/'
 * nor '\\'). 1 set; -1 also for NULL.
 * Note: 0 for a text shorter than 3 characters or one that with its '/' and
 * zero would not fit 260 bytes; the folder then stays as it was. */
SENTRELL_API int CM_SetNVSXmlPath(IotHandle* handle, const char* folder);
/* Copies the folder text with its zero into `folder`, which must hold 260
 * bytes. 1; 0 with an empty text when the folder does not fit (a folder
 * beside a program of a very long path); -1 also for NULL. */
SENTRELL_API int CM_GetNVSXmlPath(IotHandle* handle, char* folder);
/* Asks for the node states of a gateway: 1212 sent, 0 not sent, -1 also for nvsid 0. */
SENTRELL_API int CM_QueryNodesStatusOfNVS(IotHandle* handle, uint32_t nvsid);
/* Sets the alarm and read rights of the logged-in user: 1 sent, 0 not sent or not logged in. */
SENTRELL_API int CM_ConfigSet(IotHandle* handle, int alarm, int canread);
/* Changes the password of the logged-in user; `unused` is passed on and
 * ignored. 1 sent, 0 not sent, not logged in, or a new password too long to
 * be sent whole (at most 18 bytes); -1 also for NULL. */
SENTRELL_API int CM_ConfigChangePwd(IotHandle* handle, int unused, const char* newPassword);

/* ---- Snapshots (1212 sent, 0 not sent, -1 also for nvsid 0) ---- */
SENTRELL_API int CM_Snapshot(IotHandle* handle, uint32_t nvsid);
/* `json`: {"ver","nvsid","netid","nodelist":[{"nodid","nodetype","cmdlist":[...]}]};
 * -1 also when it does not parse or "nodelist" is not an array. */
SENTRELL_API int CM_SetSnapshot(IotHandle* handle, const char* json);
SENTRELL_API int CM_GetSnapshot(IotHandle* handle, uint32_t nvsid);

/* ---- Recordings of a gateway ---- */
SENTRELL_API int CM_PlayRecord(IotHandle* handle, uint32_t nvsid, const char* fileName);
SENTRELL_API int CM_SeekRecord(IotHandle* handle, uint32_t nvsid, int position);
SENTRELL_API int CM_StopRecord(IotHandle* handle, uint32_t nvsid);
/* Asks for the recordings of `date` and waits up to timeoutMs for the list.
 * `list` may be NULL; otherwise it must be zero-filled and hold at least 4097
 * bytes: it receives at most 4096 bytes of list text and no terminating zero.
 * 1 request sent, 0 not sent. */
SENTRELL_API int CM_GetRecordList(IotHandle* handle, uint32_t nvsid, const char* date, char* list, int timeoutMs);

/* ---- Audio calls ---- */
/* Talk to (CM_CallNVS) or listen at (CM_OpenNVSAudio) a gateway; blocks the
 * calling thread (running its pump hook) for up to about 9 s. 0 accepted;
 * 2 not connected; 4 no answer; 5 the audio connection failed; another value
 * is the server's refusal code; -1 bad handle or nvsid below 256.
 * Note: CM_Free of the handle from another thread ends the wait within one
 * wait step (50 ms) with 4. */
SENTRELL_API int CM_CallNVS(IotHandle* handle, uint32_t nvsid);
SENTRELL_API int CM_OpenNVSAudio(IotHandle* handle, uint32_t nvsid);
/* Ends the call and stops its audio. 0. */
SENTRELL_API int CM_StopCall(IotHandle* handle);

/* ---- Raw device frames ---- */
/* Sends `bytes` unchanged as the body of a device request: 1212 sent, 0 not
 * sent, -1 also for NULL bytes or length 0 or below.
 * Note: -1, nothing sent, also for a frame longer than one 1212-byte block can
 * carry beside the request's header lines (somewhat over 1000 bytes; a frame
 * is never cut). */
SENTRELL_API int CM_SendIOTPacket(IotHandle* handle, uint32_t nvsid, const unsigned char* bytes, int length);

/* ---- Pan-tilt and car gate ---- */
/* Moves the gateway's camera: command and value, their low 8 bits. 1 sent;
 * 0 for nvsid 0 or a connection the server has closed (nothing sent).
 * Note: 0 also when nothing was sent: not connected, or every try (two)
 * failed. */
SENTRELL_API int CM_PTUCtrl(IotHandle* handle, uint32_t nvsid, int command, int value);
/* Raises the barrier, as a free passage when isFree is non-zero; netid and
 * nodeaddr are not used. 1 sent.
 * Note: 0 when nothing was sent: not connected, or every try (three) failed. */
SENTRELL_API int CM_IOT_VLR_UpBar(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int isFree);

/* ---- Switches and simple devices ---- */
/* 0 without sending when the node's recorded type is not a supported lamp. */
SENTRELL_API int CM_IOT_LAMP_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on);
SENTRELL_API int CM_IOT_LAMP_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
/* op: 1 open, 2 close, any other value stops. */
SENTRELL_API int CM_IOT_EC_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int op);
SENTRELL_API int CM_IOT_EC_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_POWER_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on);
SENTRELL_API int CM_IOT_POWER_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_CONTROL_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on);
SENTRELL_API int CM_IOT_CONTROL_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
/* op: 0 off, 1 on, 2 authorise. */
SENTRELL_API int CM_IOT_CONTROLTC_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int op);
SENTRELL_API int CM_IOT_CONTROLTC_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DEVPST_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on);
/* Sounds the siren for durationMs, clamped to 0..60000. */
SENTRELL_API int CM_IOT_WCAW_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int durationMs);
SENTRELL_API int CM_IOT_CC_Control(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int value);
SENTRELL_API int CM_IOT_CC_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DCDB_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_ADAPTER_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int value);
SENTRELL_API int CM_IOT_ADAPTER_ReqType(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_ADAPTER_ReqData(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_HEALTHMON_SetMode(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int mode);
/* op: 1 power on, 2 start measuring, 3 stop measuring, 4 query the result. */
SENTRELL_API int CM_IOT_SPHYGMOMETER_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int op);

/* ---- Sampling collectors and analysers (limits are sent times 10, periods in ms) ---- */
/* A limit whose tenths do not fit 32 bits, or that is not a number, sends nothing (0). */
SENTRELL_API int CM_IOT_DAIS_Sampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DAIS_SetLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, float xLower,
                                      float xUpper, float yLower, float yUpper);
SENTRELL_API int CM_IOT_DAIS_StartContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                     int periodMs, int count);
SENTRELL_API int CM_IOT_DAIS_StopContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DAIS_QueryLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DAIS_QueryRange(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DAIS_ZeroSetting(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DAIS_QueryZeroSetting(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);

SENTRELL_API int CM_IOT_THDC_Sampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_THDC_SetLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                      float temperatureLower, float temperatureUpper, float humidityLower,
                                      float humidityUpper);
SENTRELL_API int CM_IOT_THDC_StartContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                     int periodMs, int count);
SENTRELL_API int CM_IOT_THDC_StopContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_THDC_QueryLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_THDC_QueryRange(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);

SENTRELL_API int CM_IOT_TDC_Sampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_TDC_SetLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, float lower,
                                     float upper);
SENTRELL_API int CM_IOT_TDC_StartContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                    int periodMs, int count);
SENTRELL_API int CM_IOT_TDC_StopContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_TDC_QueryLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_TDC_QueryRange(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);

SENTRELL_API int CM_IOT_IDC_Sampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_IDC_SetLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, float lower,
                                     float upper);
SENTRELL_API int CM_IOT_IDC_StartContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                    int periodMs, int count);
SENTRELL_API int CM_IOT_IDC_StopContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_IDC_QueryLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_IDC_QueryRange(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);

SENTRELL_API int CM_IOT_PH_Query(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_PH_Start(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int periodMs,
                                 int count);
SENTRELL_API int CM_IOT_PH_Stop(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_PH_Calibrate(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_CO2_Query(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_CO2_Start(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int periodMs,
                                  int count);
SENTRELL_API int CM_IOT_CO2_Stop(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_O2_Query(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_O2_Start(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int periodMs,
                                 int count);
SENTRELL_API int CM_IOT_O2_Stop(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);

/* ---- Card door access ---- */
/* time: "%d-%d-%d %d:%d:%d" (local date and time); 0, nothing sent, for a
 * text that names no real date and time. */
SENTRELL_API int CM_IOT_DAC_SetTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, const char* time);
SENTRELL_API int CM_IOT_DAC_SetTimeInterval(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                            int hygiene, int work, int overtime, int rest);
/* data: 4 bytes, one bit per day of the month; only `length` of them are
 * read, the rest is sent as 0. A four-digit year is sent as its last two digits. */
SENTRELL_API int CM_IOT_DAC_SetWorkdayOfMonth(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                              int year, int month, const unsigned char* data, int length);
/* data: up to 48 bytes, one bit per day of the year (only `length` of them
 * are read), sent as two frames 500 ms apart (blocks meanwhile); the result
 * is that of the second frame. */
SENTRELL_API int CM_IOT_DAC_SetWorkdayOfYear(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                             int year, const unsigned char* data, int length);
/* code: the card's code, of which the low six decimal digits are sent. */
SENTRELL_API int CM_IOT_DAC_AddCard(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int attribute,
                                    int code, int cardNumber, int cardId);
SENTRELL_API int CM_IOT_DAC_Authorize(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                      int attribute, int cardNumber, int cardId);
SENTRELL_API int CM_IOT_DAC_RemoveCard(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                       int attribute, int cardNumber, int cardId);
SENTRELL_API int CM_IOT_DAC_Open(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DAC_StartCapture(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DAC_StopCapture(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DAC_GetDoorStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);

/* ---- Fingerprint door lock ---- */
/* time: "%d-%d-%d %d:%d:%d"; 0, nothing sent, for a text that names no real
 * date and time. */
SENTRELL_API int CM_IOT_DLockFinger_SetTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                            const char* time);
SENTRELL_API int CM_IOT_DLockFinger_SetTimeInterval(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                    int hygiene, int work, int overtime, int rest);
/* data: 4 bytes, one bit per day of the month; only `length` of them are
 * read, the rest is sent as 0. */
SENTRELL_API int CM_IOT_DLockFinger_SetWorkdayOfMonth(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                      uint16_t nodeaddr, int year, int month, const unsigned char* data,
                                                      int length);
/* data: up to 48 bytes (only `length` of them are read), sent as two frames
 * 500 ms apart (blocks meanwhile); the result is that of the second frame. */
SENTRELL_API int CM_IOT_DLockFinger_SetWorkdayOfYear(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                     uint16_t nodeaddr, int year, const unsigned char* data, int length);
SENTRELL_API int CM_IOT_DLockFinger_OpenDoor(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DLockFinger_StartCapture(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DLockFinger_StopCapture(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DLockFinger_QueryDoorStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DLockFinger_QueryUserCount(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DLockFinger_RemoveUser(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               int user);
SENTRELL_API int CM_IOT_DLockFinger_RemoveAllUser(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_DLockFinger_QueryUserPermission(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                        uint16_t nodeaddr, int user);
SENTRELL_API int CM_IOT_DLockFinger_SetMatchingLevel(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                     uint16_t nodeaddr, int level);
SENTRELL_API int CM_IOT_DLockFinger_QueryMatchingLevel(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                       uint16_t nodeaddr);
/* feature: base64 text of the 193-byte fingerprint feature (at most 260
 * characters), sent as six frames 100 ms apart (blocks meanwhile). 1 when all
 * six went out, else 0; a longer text, or one that decodes to no bytes, sends
 * nothing and gives 0 (the lock would take it for an empty feature). */
SENTRELL_API int CM_IOT_DLockFinger_SetFingerprintFeature(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                          uint16_t nodeaddr, int user, int permission,
                                                          const char* feature);
SENTRELL_API int CM_IOT_DLockFinger_QueryFingerprintFeature(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                            uint16_t nodeaddr, int user);

/* ---- Valuables cabinet ---- */
SENTRELL_API int CM_IOT_CABMGZ_GetWeightInBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                              int box);
SENTRELL_API int CM_IOT_CABMGZ_OpenBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int box);
/* password: 0..999999 (six decimal digits).
 * Note: any other value sends nothing and gives 0. */
SENTRELL_API int CM_IOT_CABMGZ_AddAdvUserToBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               int box, int userNumber, int password, int cardNumber);
SENTRELL_API int CM_IOT_CABMGZ_RemoveAdvUserFromBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                    int box, int userNumber);
SENTRELL_API int CM_IOT_CABMGZ_ClearAdminInBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               int box);
SENTRELL_API int CM_IOT_CABMGZ_RemoveBoxFromCabinet(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                    int box);
SENTRELL_API int CM_IOT_CABMGZ_ClearAdminInCabinet(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_CABMGZ_GetAdminInfoFromCabinet(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                       uint16_t nodeaddr);
SENTRELL_API int CM_IOT_CABMGZ_GetBoxInfoOfCabinet(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_CABMGZ_ReinitCabinet(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_CABMGZ_AddUserToBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                            int box, int cardNumber);
SENTRELL_API int CM_IOT_CABMGZ_RemoveUserFromBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                 int box, int cardNumber);
SENTRELL_API int CM_IOT_CABMGZ_ClearUserInBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                              int box);
SENTRELL_API int CM_IOT_CABMGZ_ClearAdvUserInBox(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                 int box);

/* ---- Electricity, water and gas meters ----
 * A meter address is one unsigned 64-bit number given as its low and high
 * 32-bit halves. Currents and energy amounts are sent times 1000, calibration
 * values times 10. A NULL date or time text gives -1.
 * Note: an address of more than 16 digits, or a scaled value that is negative
 * or has more than 8 digits, is refused (0, nothing sent). */
SENTRELL_API int CM_IOT_PowerMeterCtrl_Init(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
/* date: "%d-%d-%d". */
SENTRELL_API int CM_IOT_PowerMeterCtrl_SetDate(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               unsigned int addressLow, unsigned int addressHigh, unsigned int code1,
                                               unsigned int code2, const char* date);
/* time: "%d:%d:%d". */
SENTRELL_API int CM_IOT_PowerMeterCtrl_SetTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               unsigned int addressLow, unsigned int addressHigh, unsigned int code1,
                                               unsigned int code2, const char* time);
/* day is sent modulo 31, hour modulo 24. */
SENTRELL_API int CM_IOT_PowerMeterCtrl_SetAccountDay(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                     uint16_t nodeaddr, unsigned int addressLow,
                                                     unsigned int addressHigh, unsigned int code1, unsigned int code2,
                                                     int day, int hour);
SENTRELL_API int CM_IOT_PowerMeterCtrl_ClearAvailableEngeryAmount(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                                  uint16_t nodeaddr);
SENTRELL_API int CM_IOT_PowerMeterCtrl_SetMaximumCurrent(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                         uint16_t nodeaddr, unsigned int addressLow,
                                                         unsigned int addressHigh, unsigned int code1,
                                                         unsigned int code2, float current);
SENTRELL_API int CM_IOT_PowerMeterCtrl_AddAvailableEnergyAmount(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                                uint16_t nodeaddr, unsigned int addressLow,
                                                                unsigned int addressHigh, unsigned int code1,
                                                                unsigned int code2, float amount);
SENTRELL_API int CM_IOT_PowerMeterCtrl_RelayOn(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_PowerMeterCtrl_RelayOff(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_PowerMeterCtrl_QueryData(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
/* parameter: 0 to 14, the meter parameter to read. */
SENTRELL_API int CM_IOT_PowerMeterCtrl_QueryParameter(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                      uint16_t nodeaddr, int parameter);

SENTRELL_API int CM_IOT_WaterMeterCtrl_Calibrate(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                 unsigned int addressLow, unsigned int addressHigh, float value);
SENTRELL_API int CM_IOT_WaterMeterCtrl_ValveTest(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                 unsigned int addressLow, unsigned int addressHigh);
SENTRELL_API int CM_IOT_WaterMeterCtrl_ValveControl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                    unsigned int addressLow, unsigned int addressHigh, int value);
/* on: 1 enters the factory mode, any other value leaves it. */
SENTRELL_API int CM_IOT_WaterMeterCtrl_SetFactoryMode(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                      uint16_t nodeaddr, unsigned int addressLow,
                                                      unsigned int addressHigh, int on);
SENTRELL_API int CM_IOT_WaterMeterCtrl_QueryValveStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                        uint16_t nodeaddr);
SENTRELL_API int CM_IOT_WaterMeterCtrl_QueryData(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_WaterMeterCtrl_QueryMeterId(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                    uint16_t nodeaddr);

SENTRELL_API int CM_IOT_GasMeterCtrl_Calibrate(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               unsigned int addressLow, unsigned int addressHigh, float value);
SENTRELL_API int CM_IOT_GasMeterCtrl_QueryData(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_GasMeterCtrl_QueryMeterId(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);

/* ---- Infrared household appliances ----
 * kind: 1 video recorder, 2 satellite receiver, 3 DVD, 4 CD, 5 air
 * conditioner, 6 television, 7 set-top box; unit: the transmitter channel.
 * CM_IOT_HEACtrl and the CM_IOT_HA_ functions other than CM_IOT_HA_AC and
 * CM_IOT_HA_GetACCurValue return 1 when sent and -1 in every other case
 * (kind outside 1 to 7, not sent, bad handle). */
SENTRELL_API int CM_IOT_HEACtrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int kind, int unit,
                                int key);
SENTRELL_API int CM_IOT_HA_VCR(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key);
SENTRELL_API int CM_IOT_HA_SAT(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key);
SENTRELL_API int CM_IOT_HA_DVD(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key);
SENTRELL_API int CM_IOT_HA_CD(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key);
/* Applies the key to the unit's air-conditioner state and sends the whole state.
 * Note: the state is kept per node and unit (gateway id, net id, node address
 * and unit), not per unit number: air conditioners of different nodes that
 * use the same unit number do not share one state. CM_IOT_HA_GetACCurValue
 * keys its state the same way. */
SENTRELL_API int CM_IOT_HA_AC(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key);
SENTRELL_API int CM_IOT_HA_TV(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key);
SENTRELL_API int CM_IOT_HA_STB(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key);
/* Makes sure the unit has an air-conditioner state (the defaults when new);
 * sends nothing and returns 1. */
SENTRELL_API int CM_IOT_HA_GetACCurValue(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit);

/* ---- Laboratory devices ---- */
SENTRELL_API int CM_IOT_ICREAD_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on);
/* school (also in SetMode2 and SetMode3): the first 6 bytes of the text in
 * GBK are sent, zero-padded when shorter. A NULL text gives -1 (nothing sent).
 * Note: a double-byte character that the sixth byte would cut in two is left
 * out (its first byte is not sent alone). */
SENTRELL_API int CM_IOT_ICREAD_SetMode1(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                        const char* school);
SENTRELL_API int CM_IOT_ICREAD_SetMode2(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                        const char* school, int timing, int startWeekday, int startHour,
                                        int startMinute, int endWeekday, int endHour, int endMinute);
SENTRELL_API int CM_IOT_ICREAD_SetMode3(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                        const char* school, int days, int hours, int minutes);
SENTRELL_API int CM_IOT_ICREAD_QueryConfig(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_ICREAD_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);

SENTRELL_API int CM_IOT_WATER_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on);
SENTRELL_API int CM_IOT_WATER_SetTimer(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                       int onWeekday, int onHour, int onMinute, int offWeekday, int offHour,
                                       int offMinute, int timing);
SENTRELL_API int CM_IOT_WATER_TimerCtrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on);
SENTRELL_API int CM_IOT_WATER_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);

/* op: 0 stop, 1 forward, 2 back, 3 left, 4 right. */
SENTRELL_API int CM_IOT_CARRFIDControl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int op);

SENTRELL_API int CM_IOT_DEVIO_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int school,
                                   int college, int department, int lab);
SENTRELL_API int CM_IOT_DEVIO_GetInfo(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);

SENTRELL_API int CM_IOT_VLCONTROL_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on);
/* begin, end: "%02d:%02d" (hour and minute; a field that does not parse is 0).
 * A NULL text gives -1 (nothing sent). */
SENTRELL_API int CM_IOT_VLCONTROL_SetActiveTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                const char* begin, const char* end);
SENTRELL_API int CM_IOT_VLCONTROL_QueryActiveTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_VLCONTROL_SetDelayTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               int value);
SENTRELL_API int CM_IOT_IFCONTROL_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on);
/* begin, end: "%02d:%02d" (hour and minute; a field that does not parse is 0).
 * A NULL text gives -1 (nothing sent). */
SENTRELL_API int CM_IOT_IFCONTROL_SetActiveTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                const char* begin, const char* end);
SENTRELL_API int CM_IOT_IFCONTROL_QueryActiveTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr);
SENTRELL_API int CM_IOT_IFCONTROL_SetDelayTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               int value);

/* ---- Message text readers (no handle; `text` is one JSON message text) ----
 * Every call parses the whole text. Numbers read 0 and element texts read ""
 * when the text is NULL or not a JSON object, or the member is absent or of
 * another type; the header texts and the value text read NULL then. Use
 * IsDataElement to tell an absent element from a 0 or empty one.
 * Numbers are read as JSON numbers, true (1), false and null (0); reals are
 * truncated toward zero when read as integers; an unsigned member must lie in
 * 0..4294967295 and a signed one in the range of int.
 * Returned texts are in buffers of the library (one per reader) that the
 * next call of the same reader overwrites. A text longer than its buffer is
 * cut at the end of the last whole character that fits. */
SENTRELL_API uint32_t CMPGetVersion(const char* text);
SENTRELL_API uint32_t CMPGetNvsID(const char* text);
SENTRELL_API uint32_t CMPGetNetID(const char* text);
SENTRELL_API uint32_t CMPGetNodID(const char* text);
/* "devtype": at most 31 bytes (a 32-byte buffer). */
SENTRELL_API const char* CMPGetDeviceType(const char* text);
/* "msg": at most 31 bytes (a 32-byte buffer). */
SENTRELL_API const char* CMPGetMessage(const char* text);
/* Whether the text's "data" object has an element of that name. */
SENTRELL_API bool IsDataElement(const char* text, const char* name);
/* Unit, type and subtype: at most 31 bytes each (32-byte buffers). */
SENTRELL_API const char* CMPGetDataElementUnit(const char* text, const char* name);
SENTRELL_API const char* CMPGetDataElementType(const char* text, const char* name);
SENTRELL_API const char* CMPGetDataElementSubType(const char* text, const char* name);
SENTRELL_API int CMPGetDataElementPrecision(const char* text, const char* name);
SENTRELL_API int CMPGetDataElementValueInt(const char* text, const char* name);
SENTRELL_API uint32_t CMPGetDataElementValueUInt(const char* text, const char* name);
SENTRELL_API float CMPGetDataElementValueFloat(const char* text, const char* name);
/* A string "value": at most 4096 bytes (a 4097-byte buffer), which holds
 * every text value of the library's messages whole. */
SENTRELL_API const char* CMPGetDataElementValueString(const char* text, const char* name);
/* Writes every element of an array "value" into `values`, each converted to
 * float (0 for an element that is not a number), and returns their number;
 * returns 0 and writes nothing when the value is absent or not an array, or
 * `values` is NULL. `values` must hold as many floats as the array has
 * elements: the library's own messages carry at most 119 elements in one
 * array, so an array of 119 floats holds every array they deliver. */
SENTRELL_API int CMPGetDataElementValueArrayFloat(const char* text, const char* name, float* values);

#ifdef __cplusplus
}
#endif

#endif
