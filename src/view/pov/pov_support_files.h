// Files of the scene folder besides the scenes: whole-file writes that never
// leave half a file behind, and the include and settings files that make the
// scenes render.
#pragma once

#include <string>

namespace vorlund {

// Writes `text` to a temporary file beside `path`, syncs it (unless `sync` is
// off) and renames it over `path` once it is complete. False (and no file
// changed) when any step before the rename failed.
bool writeFileAtomically(const std::string& path, const std::string& text, bool sync = true);

// The program's own "vorlund.inc": every macro and default a scene uses.
const char* vorlundIncludeText();
// "povray.ini" for the scene folder: tells the ray tracer which language
// version the scenes are written in.
const char* povrayIniText();

// Puts "vorlund.inc" and "povray.ini" into the folder `dir` (a prefix ending
// with '/', or empty for the working folder) where they are missing; a
// user's own files are never replaced. False when one could not be written.
bool installSupportFiles(const std::string& dir);

}  // namespace vorlund
