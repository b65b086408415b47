// Glass Meridian: takes nothing on its command line.
#include "host/show.h"

int main() { return runShow(0); }
