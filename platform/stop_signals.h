// Requests from outside to stop the program: SIGINT (Ctrl-C), SIGTERM and
// SIGHUP. Once caught they no longer end the process where it stands; the
// program looks for them where it can end cleanly.
#pragma once

// Catches the three signals from now on (one the program was started with
// ignored, as under nohup, stays ignored), and keeps SDL from installing
// handlers of its own for them. A system call that blocks when one arrives
// returns early with EINTR instead of resuming.
void catchStopSignals();

// The number of the last stop signal caught, 0 while none has come.
int stopSignal();

// The exit status of a program that a caught stop signal ended: 128 plus
// the signal's number, as a shell reports a program the signal killed.
int stopExitStatus();
