#include <SDL.h>
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/message_box.h"
#include "platform/stoppable_wait.h"

namespace {

// SDL shows a box through a process of its own (zenity, or a child that
// draws it): a box cut short by a stop is closed by ending that process,
// which the show's exit would leave on screen.
void endBoxProcesses() {
  DIR* processes = opendir("/proc");
  if (processes == nullptr) return;
  while (const dirent* entry = readdir(processes)) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (pid <= 0 || *end != '\0') continue;
    std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
    std::string line;
    std::getline(stat, line);
    // "PID (NAME) STATE PPID ...": the name may hold anything but the last ')'.
    const size_t close = line.rfind(')');
    int parent = 0;
    if (close != std::string::npos && std::sscanf(line.c_str() + close + 1, " %*c %d", &parent) == 1 &&
        parent == getpid())
      kill(static_cast<pid_t>(pid), SIGTERM);
  }
  closedir(processes);
}

}  // namespace

void showMessage(const char* text, const char* caption) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
  // Fails at once without a display; stderr has said it already.
  if (!runUntilStopped([text, caption] { SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr); }))
    endBoxProcesses();
}
