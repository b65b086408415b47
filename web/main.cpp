// The web page's program: the show (the start panel, then the canvas; the
// song's end or Escape brings the panel back), or, with the address's
// still= (web/still_page.h), one still. A new address fragment in the same
// page load ends what the page shows and follows the new address. main
// only sets the page up: the browser drives everything after it.
#include <string>

#include "platform/message_box.h"
#include "platform/web_page.h"
#include "web/show_page.h"
#include "web/still_page.h"

namespace {

void followAddress() {
  endPageShow();
  setPageTitle("Glass Meridian");
  std::string seconds;
  if (pageParameter("still", &seconds)) {
    showStill(seconds);
  } else {
    openShowPanel();
  }
}

}  // namespace

int main() {
  std::string error;
  if (!webGl2Available(&error)) {
    setPageTitle("Glass Meridian needs WebGL 2");
    showMessage(error.c_str(), "Glass Meridian cannot start");
    return 1;
  }
  onAddressChange(followAddress);
  followAddress();
  return 0;
}
