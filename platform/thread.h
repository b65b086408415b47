// Threads of the program's own: started once, never joined.
#pragma once

#include <cstdint>

#include <string>

// Runs routine(argument) on a new thread that ends with it or with the
// process; its result is dropped. False with the reason when no thread
// could be started.
bool startThread(uint32_t (*routine)(void*), void* argument, std::string* error);
