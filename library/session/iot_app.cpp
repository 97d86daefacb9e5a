#include "library/session/iot_app.h"

CIotApp& TheIotApp() {
  static CIotApp app;
  return app;
}
