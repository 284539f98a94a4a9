// What the editor's settings file needs from the file system, by UTF-8 path: the folder an
// environment variable names and the platform's separator (editor/win, editor/native), and
// whole small text files over the engine's file access, which reaches every path on Windows
// through the wide-character calls.
#pragma once

#include <string>

#include "engine/file_access.h"

namespace corvalen::editor {

using corvalen::CreateFolder;
using corvalen::FolderExists;

// The platform's separator between a folder and a name in it.
char PathSeparator();

// The value of environment variable `name` as UTF-8; false (folder empty) when it is unset
// or empty.
bool EnvironmentFolder(const char* name, std::string& folder);

// The file's first line without its line end; false when it cannot be opened.
bool ReadFirstLine(const std::string& path, std::string& line);
// Creates or replaces the file with exactly these bytes; false when that fails.
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace corvalen::editor
