#include "platform/failure_text.h"

std::string platformFailure(const std::string& what, const std::string& why) {
  std::string text = why.empty() ? what : what + ": " + why;
  while (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

std::string noInstalledFontFailure(const char* faceName) {
  return platformFailure(std::string("no installed font \"") + (faceName ? faceName : "") + "\" to draw text with");
}
