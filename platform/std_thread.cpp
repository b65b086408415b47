#include <system_error>
#include <thread>

#include "platform/failure_text.h"
#include "platform/thread.h"

bool startThread(uint32_t (*routine)(void*), void* argument, std::string* error) {
  try {
    std::thread([routine, argument] { routine(argument); }).detach();
    return true;
  } catch (const std::system_error& failure) {
    *error = platformFailure("could not start a thread", failure.what());
    return false;
  }
}
