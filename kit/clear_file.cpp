#include "clear_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "../platform/files.h"
#include "../platform/write_file.h"

namespace kit {

namespace {

// `complete`: the bytes are the whole file, so their end is the file's end.
bool FirstField(const std::string& data, bool complete, std::string& field) {
    if (data.empty()) return false;
    size_t p = 0;
    while (p < data.size() && (data[p] == ' ' || data[p] == '\t')) ++p;
    if (p < data.size() && data[p] == '"') {
        const size_t close = data.find('"', p + 1);
        if (close == std::string::npos) {
            if (!complete) return false;
            field = data.substr(p + 1);
        } else {
            field = data.substr(p + 1, close - p - 1);
        }
        return true;
    }
    const size_t end = data.find_first_of(",\r\n", p);
    if (end == std::string::npos && !complete) return false;
    field = data.substr(p, end == std::string::npos ? std::string::npos : end - p);
    return true;
}

}  // namespace

std::optional<std::string> ReadClearText(const std::string& appPath) {
    // The type is checked on the opened descriptor, and the open does not
    // wait: a folder, a pipe or a device in the file's place, even one put
    // there a moment before, can neither be read nor block the start.
    const int fd = plat::OpenRegular(plat::NativePath(appPath + ClearFileName));
    if (fd < 0) return std::nullopt;
    std::string data(ClearFileReadLimit, '\0');
    size_t got = 0;
    bool failed = false;
    while (got < data.size()) {
        const ssize_t r = read(fd, &data[got], data.size() - got);
        if (r < 0 && errno == EINTR) continue;
        failed = r < 0;
        if (r <= 0) break;
        got += static_cast<size_t>(r);
    }
    struct stat info;
    const bool sized = fstat(fd, &info) == 0;
    close(fd);
    if (failed) return std::nullopt;  // a read error: what came before it proves nothing
    data.resize(got);
    // Whether a file of exactly the limit has been read whole, its size tells.
    const bool complete = got < ClearFileReadLimit || (sized && static_cast<size_t>(info.st_size) == got);
    std::string field;
    if (!FirstField(data, complete, field)) return std::nullopt;
    return field;
}

bool WriteClearFile(const std::string& appPath, const std::string& program) {
    const std::string path = plat::NativePath(appPath + ClearFileName);
    const std::string line = std::string(ClearMarker) + "\r\n";

    std::string target;
    const plat::WriteFailure f = plat::WriteWholeFile(path, line, target);
    if (!f) return true;
    const std::string through = target != path && !target.empty() ? " (a link to " + target + ")" : "";
    std::fprintf(stderr, "%s: could not %s the clear file %s%s: %s\n", program.c_str(), f.step, path.c_str(),
                 through.c_str(), std::strerror(f.err));
    return false;
}

}  // namespace kit
