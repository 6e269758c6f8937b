// The files beside the programs: their names in native form, and reading
// them. Only regular files are opened: a named pipe or a device put in place
// of a tune or an effect would block an ordinary open until something writes
// to it, freezing the program.
#pragma once
#include <cstddef>
#include <string>

namespace plat {

// Maps the "\" separators of the programs' relative names to "/".
std::string NativePath(const std::string& path);

enum class FileStatus {
    Ok,
    Missing,     // no such file (or a folder on the way is missing)
    NotRegular,  // a folder, pipe, socket or device
    TooLarge,    // more bytes than the reader takes
    Unreadable,  // exists but cannot be opened or read (permissions, I/O error)
};

// Opens path for reading when it is a regular file; -1 otherwise, with the
// reason in *status. The open never waits on a pipe or device. The caller
// closes the descriptor (it is close-on-exec and blocking).
int OpenRegular(const std::string& path, FileStatus* status = nullptr);

// Up to n bytes from the start of the regular file at path; fewer when the
// file is shorter, none when it is not a regular file or cannot be read.
std::string ReadHead(const std::string& path, size_t n);

// The whole regular file at path into *bytes when it holds at most maxBytes;
// never reads more than maxBytes + 1. *bytes is left empty unless Ok.
FileStatus ReadRegular(const std::string& path, size_t maxBytes, std::string* bytes);

// Up to n bytes from the start of the regular file at path into *bytes (never
// more taken from the system), and *whole when they are all the file holds.
// *bytes is left empty unless Ok.
FileStatus ReadStart(const std::string& path, size_t n, std::string* bytes, bool* whole);

// The short form of a path that the music command carries: the path itself
// (in native separators) when it is a regular file, empty text otherwise, with
// one line on stderr saying why (once per file in a run).
std::string GetShortPathName(const std::string& path);

// Messages about the music name a file relative to this folder: by default
// the folder of the running program, where the programs keep their tunes.
void SetProgramFolder(const std::string& folder);

// One line on stderr, once per file in a run: "<program>: no music: <file> <why>",
// the file relative to the program folder when it lies inside it.
void ReportNoMusic(const std::string& path, const std::string& why);

// One line on stderr, once per file in a run, for a sound effect that cannot
// be played: "<program>: <file> <why>; the default sound plays in its place".
void ReportDefaultSound(const std::string& path, const std::string& why);

// How a reader's status reads in that line ("is missing", ...); empty for Ok.
std::string Why(FileStatus status, size_t maxBytes = 0);

}  // namespace plat
