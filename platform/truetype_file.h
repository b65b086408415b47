// Finding, reading and checking the show's font file, before any font
// system is handed it. Shared by every platform's font installation.
#pragma once

#include <string>
#include <vector>

// The file a font name refers to: `name` as given (for a bare name, the
// working directory), else a bare name in `programFolder`. "" when neither
// exists.
std::string locateTrueTypeFile(const std::string& name, const std::string& programFolder);

// Finds `name` (as given, which for a bare name is the working directory,
// then a bare name in `programFolder`), reads it whole and checks that it is
// a TrueType file whose every table, and every glyph the glyph location
// table names, lies inside it. On success `path` is the file used and
// `bytes` its contents; on failure *error says why.
bool loadTrueTypeFile(const std::string& name, const std::string& programFolder, std::string& path,
                      std::vector<unsigned char>& bytes, std::string* error);
