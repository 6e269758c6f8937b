#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <climits>
#include <cstdio>
#include <mutex>
#include <set>

#include "program_name.h"

namespace plat {

namespace {

std::mutex g_reportMu;
std::string g_folder;  // empty: not yet known
std::set<std::string> g_reported;

std::string RunningProgramFolder() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "";
    const std::string p(buf, static_cast<size_t>(n));
    const size_t slash = p.rfind('/');
    return slash == std::string::npos ? "" : p.substr(0, slash);
}

// Reads until n bytes are in or the file ends; *failed when a read failed
// (what came before it proves nothing). `expect`: how many bytes there are
// likely to be; the buffer starts at that and grows as needed, where one of
// `n` (a megabyte, for a tune of some kilobytes) would be zeroed first.
std::string ReadUpTo(int fd, size_t n, size_t expect = SIZE_MAX, bool* failed = nullptr) {
    std::string bytes(std::min(n, std::max<size_t>(expect, 1)), '\0');
    size_t got = 0;
    while (got < n) {
        if (got == bytes.size()) bytes.resize(std::min(n, bytes.size() * 2));
        const ssize_t r = read(fd, &bytes[got], bytes.size() - got);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0 && failed) *failed = true;
        if (r <= 0) break;
        got += static_cast<size_t>(r);
    }
    bytes.resize(got);
    return bytes;
}

}  // namespace

std::string NativePath(const std::string& path) {
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

int OpenRegular(const std::string& path, FileStatus* status) {
    FileStatus dummy;
    FileStatus& st = status ? *status : dummy;
    // O_NONBLOCK keeps the open itself from waiting for a writer on a pipe;
    // the type is then checked on what was opened, so nothing can be swapped in between.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        st = errno == ENOENT || errno == ENOTDIR ? FileStatus::Missing
             : errno == ENXIO                   ? FileStatus::NotRegular  // a socket
                                                : FileStatus::Unreadable;
        return -1;
    }
    struct stat info;
    const bool known = fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        st = known ? FileStatus::NotRegular : FileStatus::Unreadable;
        close(fd);
        return -1;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    st = FileStatus::Ok;
    return fd;
}

std::string ReadHead(const std::string& path, size_t n) {
    const int fd = OpenRegular(path);
    if (fd < 0) return "";
    std::string head = ReadUpTo(fd, n);
    close(fd);
    return head;
}

FileStatus ReadRegular(const std::string& path, size_t maxBytes, std::string* bytes) {
    bytes->clear();
    FileStatus status;
    const int fd = OpenRegular(path, &status);
    if (fd < 0) return status;
    struct stat info;
    const bool sized = fstat(fd, &info) == 0;
    if (sized && static_cast<unsigned long long>(info.st_size) > maxBytes) {
        close(fd);
        return FileStatus::TooLarge;
    }
    // The file may grow while it is read: one byte past the limit tells.
    bool failed = false;
    std::string all = ReadUpTo(fd, maxBytes + 1, sized ? static_cast<size_t>(info.st_size) + 1 : SIZE_MAX, &failed);
    close(fd);
    if (failed) return FileStatus::Unreadable;
    if (all.size() > maxBytes) return FileStatus::TooLarge;
    *bytes = std::move(all);
    return FileStatus::Ok;
}

FileStatus ReadStart(const std::string& path, size_t n, std::string* bytes, bool* whole) {
    bytes->clear();
    *whole = false;
    FileStatus status;
    const int fd = OpenRegular(path, &status);
    if (fd < 0) return status;
    bool failed = false;
    std::string start = ReadUpTo(fd, n, SIZE_MAX, &failed);
    struct stat info;
    // Fewer than n bytes are the whole file; exactly n are, when its size says so.
    *whole = start.size() < n || (fstat(fd, &info) == 0 && static_cast<unsigned long long>(info.st_size) == start.size());
    close(fd);
    if (failed) {
        *whole = false;
        return FileStatus::Unreadable;
    }
    *bytes = std::move(start);
    return FileStatus::Ok;
}

std::string GetShortPathName(const std::string& path) {
    const std::string native = NativePath(path);
    FileStatus status;
    const int fd = OpenRegular(native, &status);
    if (fd < 0) {
        ReportNoMusic(native, Why(status));
        return "";
    }
    close(fd);
    return native;
}

void SetProgramFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(g_reportMu);
    g_folder = folder;
}

namespace {

// One line on stderr, once per file in a run, with the file relative to the
// program folder when it lies inside it.
void ReportOnce(const std::string& path, const std::string& before, const std::string& after) {
    std::lock_guard<std::mutex> lock(g_reportMu);
    // The programs have a handful of files; a bound keeps a stream of made-up
    // names (a fuzzer's) from growing the set without end.
    if (g_reported.size() >= 256 || !g_reported.insert(path).second) return;
    if (g_folder.empty()) g_folder = RunningProgramFolder();
    std::string shown = path;
    std::string prefix = g_folder;
    if (!prefix.empty() && prefix.back() != '/') prefix += '/';
    if (!prefix.empty() && shown.size() > prefix.size() && shown.compare(0, prefix.size(), prefix) == 0)
        shown.erase(0, prefix.size());
    std::fprintf(stderr, "%s: %s%s %s\n", ProgramName().c_str(), before.c_str(), shown.c_str(), after.c_str());
}

}  // namespace

void ReportNoMusic(const std::string& path, const std::string& why) { ReportOnce(path, "no music: ", why); }

void ReportDefaultSound(const std::string& path, const std::string& why) {
    ReportOnce(path, "", why + "; the default sound plays in its place");
}

std::string Why(FileStatus status, size_t maxBytes) {
    switch (status) {
    case FileStatus::Ok: return "";
    case FileStatus::Missing: return "is missing";
    case FileStatus::NotRegular: return "is not a regular file";
    case FileStatus::Unreadable: return "cannot be read";
    case FileStatus::TooLarge:
        if (maxBytes >= (1u << 20) && maxBytes % (1u << 20) == 0)
            return "is larger than " + std::to_string(maxBytes >> 20) + " MiB";
        return "is larger than " + std::to_string(maxBytes) + " bytes";
    }
    return "";
}

}  // namespace plat
