#include "clear_file.h"

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
    std::string data;
    bool complete = false;
    if (plat::ReadStart(plat::NativePath(appPath + ClearFileName), ClearFileReadLimit, &data, &complete) !=
        plat::FileStatus::Ok)
        return std::nullopt;
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
