// Writing a file whole or not at all (through ReplacingFile), and asking whether a name is taken:
// the file services the export commands rely on. POSIX calls on Linux
// (posix/), KERNEL32 on Windows (windows/).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

namespace klv::files {

// Writes the parts one after another to a temporary file in the folder of
// file_name and renames it over file_name once every byte is written (and,
// when an existing file is replaced, flushed to disk). On any failure (the
// folder is missing or not a folder, the disk or the file-size limit runs
// out, the name is a folder) the temporary file is removed, an existing file
// of that name keeps its contents, and false is returned. A replaced file's
// permission bits pass to the new one; a symbolic link is followed, so the
// file it names is replaced.
bool write_whole_file(const char* file_name, std::initializer_list<std::span<const std::uint8_t>> parts);

// Whether anything (a file, a folder, a link, even a dangling one) has the name.
bool file_exists(const std::string& name);

}  // namespace klv::files
