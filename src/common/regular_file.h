#pragma once
// Reading a file that someone else named: a picture, a mask, a sequence.
//
// Only regular files (also through a symbolic link) are read. A FIFO would
// block the reader until someone writes to it, a device such as /dev/zero
// never ends, and a folder or socket holds no picture; each is refused
// before a byte is read. The file is opened without blocking and then
// looked at, so that even opening a FIFO cannot hang.

#include <cstdio>
#include <string>

// The stream for reading, or null. When the file exists but is not a
// regular file, `kind` (when given) says what it is ("a FIFO, not a regular
// file", ...); otherwise errno says why it could not be opened.
std::FILE* open_regular_file(const std::string& path, std::string* kind = nullptr);

// "" when `path` is a regular file that can be opened for reading, else why
// not (what it is, or the system's reason).
std::string regular_file_problem(const std::string& path);

// What `path` is when it exists but is not a regular file ("a FIFO, not a
// regular file", ...); "" for a regular file and for one that cannot be
// looked at (missing, say), which the caller's own open then reports.
std::string non_regular_kind(const std::string& path);

// The stream for writing `path` from the start (created, or emptied), or
// null with errno set. A symbolic link standing under the name is never
// written through (a planted link would otherwise aim the write at any file
// of the user), and only a regular file is replaced (by a new file with its
// mode, as create_output_file does).
std::FILE* create_regular_file(const std::string& path);

// The stream for writing `path` from the start, as fopen(path, "wb") opens
// it (through a symbolic link, onto a device), or null with errno set. A
// regular file of ours under the name is replaced by a new one with its
// mode, which the file system writes out far sooner than one emptied in
// place.
std::FILE* create_output_file(const std::string& path);
// The same as a descriptor (O_CLOEXEC), or -1 with errno set.
int create_output_descriptor(const std::string& path);
