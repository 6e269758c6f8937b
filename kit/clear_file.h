// The clear file: the one thing a won game leaves for the manual. The game
// writes it, the manual reads it; both go through here, so its name, its
// marker and the rule for reading it cannot drift apart.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace kit {

// Beside the sound effects, under the program folder (appPath).
inline constexpr char ClearFileName[] = "se\\da.txt";
// The six letters a won game writes as the file's first line.
inline constexpr char ClearMarker[] = "KOLTEV";
// At most this much of the clear file is read: a huge or binary file can
// neither stall nor exhaust the program.
inline constexpr size_t ClearFileReadLimit = 4096;

// The first field of the clear file's first line: leading blanks skipped,
// ending at a comma or the line's end; a field in double quotes runs to the
// closing quote and loses them. Only a regular file is opened, and only its
// first ClearFileReadLimit bytes are read. None when nothing could be read:
// no file, not a regular file, a read error, an empty file, or a field that
// does not end within the bytes read.
std::optional<std::string> ReadClearText(const std::string& appPath);

// Writes the marker line whole, or not at all, into the file the clear
// file's name stands for (a symbolic link is followed and stays a link).
// A failure is reported on one line of stderr starting with `program`.
bool WriteClearFile(const std::string& appPath, const std::string& program);

}  // namespace kit
