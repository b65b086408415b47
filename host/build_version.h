// The version a program was built as and the commit it was built from, as
// `--version` prints them.
#pragma once

// "1.0.0 (3f2a9c1)": the project's version and `git describe --always
// --dirty` of the checkout at build time.
const char* buildVersion();

// Writes "PROGRAM VERSION (COMMIT)" and a line feed to standard output.
// False when the system refused the write (errno says why).
bool printVersion(const char* program);
