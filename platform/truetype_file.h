// Finding, reading and checking the show's font file, before any font
// system is handed it. Shared by every platform's font installation.
#pragma once

#include <string>
#include <vector>

#include "platform/font_atlas.h"

// The file a font name refers to: `name` as given (for a bare name, the
// working directory), else a bare name in `programFolder`. "" when neither
// exists.
std::string locateTrueTypeFile(const std::string& name, const std::string& programFolder);

// Finds `name` (as given, which for a bare name is the working directory,
// then a bare name in `programFolder`), reads it whole and checks that it is
// a complete TrueType file (checkTrueTypeBytes). On success `path` is the
// file used and `bytes` its contents; on failure *error says why.
bool loadTrueTypeFile(const std::string& name, const std::string& programFolder, std::string& path,
                      std::vector<unsigned char>& bytes, std::string* error);

// Whether `bytes`, read from `path`, are a TrueType file whose every table,
// and every glyph the glyph location table names, lies inside it, and
// whose sizes can draw text (checkTrueTypeMetrics); false with the reason,
// naming `path`, in *error.
bool checkTrueTypeBytes(const std::vector<unsigned char>& bytes, const std::string& path, std::string* error);

// The sizes a font request scales by (font_atlas.h), read from the head,
// hhea and OS/2 tables as FreeType reports them. False, `metrics` untouched,
// with the reason in *error (when given) when the file is not complete or a
// table is missing or short.
bool trueTypeFaceMetrics(const std::vector<unsigned char>& bytes, FaceMetrics& metrics, std::string* error = nullptr);

// Whether the face's sizes can draw text: characters that advance (a
// maximum and an average advance above 0) and a line (ascent plus descent)
// of at least half an em with an ascent. False with the reason, naming
// `path`, in *error.
bool checkTrueTypeMetrics(const std::vector<unsigned char>& bytes, const std::string& path, std::string* error);

// The family name (name ID 1), "" when the file is not complete or has none.
std::string trueTypeFamily(const std::vector<unsigned char>& bytes);
