/* Logs in to a platform server with the installed library: a session from
 * CM_Init, CM_Login as admin, then CM_Free. Exits 0 only when logged in.
 *
 *   login_example [server-address]     (default 127.0.74.1, port 4073) */
#include <stdio.h>

#include <sentrell.h>

int main(int argc, char** argv) {
  const char* server = argc > 1 ? argv[1] : "127.0.74.1";
  IotHandle* handle = CM_Init(1);
  if (handle == NULL) {
    fprintf(stderr, "login_example: CM_Init failed\n");
    return 1;
  }
  const int result = CM_Login(handle, server, "admin", "admin");
  printf("login_example: CM_Login(%s) = %d (%s)\n", server, result, result == 1 ? "logged in" : "not logged in");
  CM_Free(handle);
  return result == 1 ? 0 : 1;
}
