#include "platform/window.h"

#include "platform/failure_text.h"

bool checkWindowRequest(const WindowRequest& request, bool windowOpen, std::string* error) {
  if (windowOpen) {
    *error = platformFailure("a window is already open");
    return false;
  }
  if (request.width <= 0 || request.height <= 0) {
    *error = platformFailure("cannot open a window of " + std::to_string(request.width) + " x " +
                             std::to_string(request.height) + " pixels");
    return false;
  }
  return true;
}
