#include <system_error>
#include <thread>

#include "platform/thread.h"

bool startThread(uint32_t (*routine)(void*), void* argument) {
  try {
    std::thread([routine, argument] { routine(argument); }).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}
