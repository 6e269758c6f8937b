// Writing a small file whole, into the file its name stands for.
#include "write_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace plat {
namespace {


std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a name stands for: symbolic links followed to their end, which
// need not exist yet. A chain that never ends is ELOOP.
WriteFailure FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        // Anything but a link (a missing file too) is the end; a folder that is
        // missing or a file shows itself at the write.
        if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return {};
        std::string to(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t len = readlink(target.c_str(), to.data(), to.size());
        if (len < 0) return {"follow", errno};
        if (static_cast<size_t>(len) >= to.size()) return {"follow", ENAMETOOLONG};
        to.resize(static_cast<size_t>(len));
        target = to[0] == '/' ? to : FolderOf(target) + "/" + to;
    }
    return {"follow", ELOOP};
}

// Removes what a run killed during a write left beside the file: name.XXXXXX
// files holding nothing but the start of the new text. Anything else of
// that shape is somebody's own file and stays.
void RemoveLeftovers(const std::string& folder, const std::string& name, const std::string& line) {
    DIR* d = opendir(folder.c_str());
    if (!d) return;
    const std::string prefix = name + ".";
    while (const dirent* e = readdir(d)) {
        const std::string entry = e->d_name;
        if (entry.size() != prefix.size() + 6 || entry.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string path = folder + "/" + entry;
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || static_cast<size_t>(st.st_size) > line.size())
            continue;
        const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        char held[16];
        const ssize_t got = read(fd, held, sizeof held);
        close(fd);
        const size_t size = got >= 0 ? static_cast<size_t>(got) : 0;
        if (got == st.st_size && line.compare(0, size, held, size) == 0) unlink(path.c_str());
    }
    closedir(d);
}

// The whole file replaced in one step: the line goes to a fresh file in the
// same folder, which then takes the old one's place, so a run that dies
// half-way never leaves a torn file.
WriteFailure ReplaceWhole(const std::string& target, const std::string& line) {
    std::string temp = target + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return {"create", errno};
    // mkstemp makes the file private: give it the old file's permissions, or
    // an ordinary file's.
    struct stat old {};
    if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    WriteFailure f;
    errno = 0;
    if (write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()) || fsync(fd) != 0)
        f = {"write", errno ? errno : EIO};
    if (close(fd) != 0 && !f) f = {"write", errno};
    if (!f && rename(temp.c_str(), target.c_str()) != 0) f = {"replace", errno};
    if (f) {
        unlink(temp.c_str());
        return f;
    }
    // The new name made lasting. The file is in place already, so a folder
    // that cannot be synced is no failure.
    const int dir = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return {};
}

// For a folder that takes no new files while the file itself is writable:
// the file rewritten where it stands. The line goes over the start of the old
// text before the rest is cut off, and a failed write puts back what it
// covered, so the old file stays whole on failure here too.
WriteFailure RewriteInPlace(const std::string& target, const std::string& line) {
    int fd = open(target.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    const bool readable = fd >= 0;
    if (fd < 0 && errno == EACCES) fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return {"open", errno};
    struct stat st {};
    const int err = fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    if (err != 0) {
        close(fd);
        return {"open", err};
    }
    std::string covered(line.size(), '\0');
    ssize_t had = 0;
    if (readable) had = pread(fd, covered.data(), covered.size(), 0);
    WriteFailure f;
    errno = 0;
    if (pwrite(fd, line.data(), line.size(), 0) != static_cast<ssize_t>(line.size()))
        f = {"write", errno ? errno : EIO};
    else if (ftruncate(fd, static_cast<off_t>(line.size())) != 0)
        f = {"write", errno};
    else if (fsync(fd) != 0)
        f = {"write", errno};
    // Puts back what the line covered; should even that fail, nothing more can
    // be done than report the first failure.
    if (f && readable && had >= 0 && pwrite(fd, covered.data(), static_cast<size_t>(had), 0) == had)
        static_cast<void>(ftruncate(fd, st.st_size) == 0);
    if (close(fd) != 0 && !f) f = {"write", errno};
    return f;
}

}  // namespace

WriteFailure WriteWholeFile(const std::string& path, const std::string& bytes, std::string& target) {
    WriteFailure f = FollowLinks(path, target);
    if (f) return f;
    RemoveLeftovers(FolderOf(target), NameOf(target), bytes);
    if (target != path) RemoveLeftovers(FolderOf(path), NameOf(path), bytes);
    f = ReplaceWhole(target, bytes);
    // The folder refuses new files or renames, not the file itself.
    if ((f.err == EACCES || f.err == EPERM) && std::strcmp(f.step, "write") != 0) {
        const WriteFailure g = RewriteInPlace(target, bytes);
        if (!g || std::strcmp(g.step, "open") != 0) f = g;
    }
    return f;
}

}  // namespace plat
