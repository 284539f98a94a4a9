// Opening files by a UTF-8 path. Windows needs the wide-character calls to reach paths outside
// the ANSI code page (bytes that are not UTF-8 are taken as a code-page path there); elsewhere
// the bytes are the path.
#pragma once

#include <cstdio>
#include <string>

namespace corvalen {

// A read-only binary stream of a regular file, or null when the path names no regular file or
// cannot be opened. The caller closes it with std::fclose.
std::FILE* OpenFileForReading(const std::string& utf8Path);

// Whether something (a file or a folder) exists at the path: the file-status query.
bool PathExists(const std::string& utf8Path);

// A binary stream that creates or replaces the file, or null. The caller closes it.
std::FILE* OpenFileForWriting(const std::string& utf8Path);

bool FolderExists(const std::string& utf8Path);
// Creates one folder (its parent must exist); true when it exists afterwards.
bool CreateFolder(const std::string& utf8Path);
// Deletes a file; true when it was deleted.
bool RemoveFile(const std::string& utf8Path);

}  // namespace corvalen
