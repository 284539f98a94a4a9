// The few file-system calls the editor's settings file needs, by UTF-8 path: the folder an
// environment variable names, folder status and creation, and whole small text files.
// Windows reaches every path through the wide-character calls; elsewhere the bytes are the
// path.
#pragma once

#include <string>

namespace corvalen::editor {

// The platform's separator between a folder and a name in it.
char PathSeparator();

// The value of environment variable `name` as UTF-8; false (folder empty) when it is unset
// or empty.
bool EnvironmentFolder(const char* name, std::string& folder);

bool FolderExists(const std::string& path);
// Creates one folder (its parent must exist); true when it exists afterwards.
bool CreateFolder(const std::string& path);

// The file's first line without its line end; false when it cannot be opened.
bool ReadFirstLine(const std::string& path, std::string& line);
// Creates or replaces the file with exactly these bytes; false when that fails.
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace corvalen::editor
