// Glass Meridian: takes nothing on its command line.
#include "host/show.h"
#include "platform/process.h"

int main() { return runShow(programInstance()); }
