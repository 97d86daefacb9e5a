/* Window and thread message queues, and the hooks an application may set.
 *
 * A window is a handle returned when a thread registers a window procedure;
 * it belongs to that thread. A thread id is the 32-bit id this layer gives
 * each thread. Posting to a window queues the message on its owner thread;
 * pumping that thread's queue calls the window procedure. Posting fails for
 * an unknown window and for a thread that has no queue yet (a queue exists
 * once the thread has called PlatEnsureThreadQueue, PlatRegisterWindow,
 * PlatPeekMessage or PlatGetMessage). */
#ifndef SENTRELL_PLATFORM_H
#define SENTRELL_PLATFORM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define PLAT_API __attribute__((visibility("default")))
#else
#define PLAT_API
#endif

typedef void* PlatWindow; /* opaque, never dereferenced */

typedef struct PlatMsg {
  PlatWindow window; /* NULL for a thread message */
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
} PlatMsg;

#define PLAT_WM_QUIT 0x0012u
#define PLAT_WM_USER 0x0400u

typedef intptr_t (*PlatWindowProc)(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                                   void* user);
typedef void (*PlatPumpHook)(void* user);
typedef void (*PlatTextSink)(const char* text, void* user);

PLAT_API uint32_t PlatCurrentThreadId(void);
PLAT_API void PlatEnsureThreadQueue(void);

PLAT_API PlatWindow PlatRegisterWindow(PlatWindowProc proc, void* user);
PLAT_API void PlatUnregisterWindow(PlatWindow window);
PLAT_API int PlatIsWindow(PlatWindow window);

/* 1 when queued, 0 when the window or thread is unknown or has no queue. */
PLAT_API int PlatPostMessage(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam);
PLAT_API int PlatPostThreadMessage(uint32_t threadId, uint32_t message, uintptr_t wParam, intptr_t lParam);
/* 1 while a message with this id and wParam waits in any queue (posted and
 * not yet taken by a peek or get), else 0. */
PLAT_API int PlatIsMessageQueued(uint32_t message, uintptr_t wParam);

/* Takes (remove != 0) or looks at the first message of the calling thread's
 * queue whose id lies in [minId, maxId] (0, 0: any). 1 when one was found. */
PLAT_API int PlatPeekMessage(PlatMsg* out, uint32_t minId, uint32_t maxId, int remove);
/* Waits for a message of the calling thread: 1 for a message, 0 for
 * PLAT_WM_QUIT, -1 when `timeoutMs` passed (a negative time-out waits forever). */
PLAT_API int PlatGetMessage(PlatMsg* out, int32_t timeoutMs);
/* Calls the window procedure of a window message on its owner thread and
 * returns its result; a thread message, or a window of another thread, gives 0. */
PLAT_API intptr_t PlatDispatchMessage(const PlatMsg* msg);
/* What a thread does while it waits inside the library: runs its pump hook,
 * then takes and dispatches one message in [minId, maxId]. 1 when a message was taken. */
PLAT_API int PlatPumpOne(uint32_t minId, uint32_t maxId);
/* The calling thread's pump hook (NULL removes it). */
PLAT_API void PlatSetPumpHook(PlatPumpHook hook, void* user);

/* The library's message box; without a hook the text goes to standard error. */
PLAT_API void PlatSetMessageBoxHook(PlatTextSink hook, void* user);
PLAT_API void PlatMessageBox(const char* text);

/* Debug output; standard error until a sink is set. */
PLAT_API void PlatSetDebugSink(PlatTextSink sink, void* user);
PLAT_API void PlatDebugOutput(const char* text);

#ifdef __cplusplus
}
#endif

#endif
