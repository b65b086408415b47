#pragma once

// Shows a modal message with an OK button where a display exists and
// always writes "caption: text" to stderr.
void showMessage(const char* text, const char* caption);
