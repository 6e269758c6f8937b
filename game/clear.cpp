// A robot beaten, the next one loaded, the fallen revived; after the eighth
// the clear file and the clear presentation.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../kit/clear_file.h"
#include "../platform/audio.h"
#include "form1.h"

namespace game {

void Form1::Taosita() {
    Play(10);
    TestYure();
    TestYure();
    apiResult = plat::BitBlt(Display[0], 608, 32, 128, 272, Display[2], 608, 32, kit::SRCCOPY);

    RobotIndex = static_cast<uint8_t>(RobotIndex + 1);
    SpeedGauge = 0;
    LoadRobot(RobotIndex);
    TstHyouji();
    TspHyouji();
    RoboHyouji(RobotPicture);

    // A counter of its own: the shared ones keep what the displays left.
    for (int c = 0; c <= 6; ++c) {
        if (CharDown[c] == 1) {
            CharDown[c] = 0;
            CharHp[c] = 1;
            CharPos[c] = Sleeping;
        }
    }
    AliveCount = 7;
    KaoHenka();
    HpHyouji();

    if (RobotIndex == 8) {
        SavePas();
        KeyMode = 2;
        Timer2.SetInterval(0);
        Silence();
        EndSyori();
    }
}

namespace {

// Why a write of the clear file failed: the step, and errno's reason.
struct Failure {
    const char* step = nullptr;
    int err = 0;
    explicit operator bool() const { return err != 0; }
};

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
Failure FollowLinks(const std::string& path, std::string& target) {
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
// files holding nothing but the start of the clear line. Anything else of
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
Failure ReplaceWhole(const std::string& target, const std::string& line) {
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
    Failure f;
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
Failure RewriteInPlace(const std::string& target, const std::string& line) {
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
    Failure f;
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

// Writes the clear file whole or not at all, into the file its name stands
// for: a symbolic link is followed and stays a link. A file that cannot be
// written is reported on one line of stderr; the game goes on to its
// presentation either way.
void Form1::SavePas() {
    const std::string path = plat::NativePath(appPath + kit::ClearFileName);
    const std::string line = std::string(kit::ClearMarker) + "\r\n";

    std::string target;
    Failure f = FollowLinks(path, target);
    if (!f) {
        RemoveLeftovers(FolderOf(target), NameOf(target), line);
        if (target != path) RemoveLeftovers(FolderOf(path), NameOf(path), line);
        f = ReplaceWhole(target, line);
        // The folder refuses new files or renames, not the file itself.
        if ((f.err == EACCES || f.err == EPERM) && std::strcmp(f.step, "write") != 0) {
            const Failure g = RewriteInPlace(target, line);
            if (!g || std::strcmp(g.step, "open") != 0) f = g;
        }
    }
    if (!f) return;
    const std::string through = target != path && !target.empty() ? " (a link to " + target + ")" : "";
    std::fprintf(stderr, "tobble7: could not %s the clear file %s%s: %s\n", f.step, path.c_str(), through.c_str(),
                 std::strerror(f.err));
}

void Form1::EndSyori() {
    static const char* const kLetters[16] = {"C", "o", "n", "g", "r", "a", "t", "u",
                                             "l", "a", "t", "i", "o", "n", "s", "!"};
    plat::Surface& screen = Display[0];

    Ueito(2000);
    Play(7);
    for (int strip = 12; strip >= 0; --strip) {
        apiResult = plat::BitBlt(screen, 321, 33 + 10 * strip, 127, 10, Display[2], 321, 33 + 10 * strip, kit::SRCCOPY);
        Ueito(50);
    }
    Ueito(2000);
    screen.FontItalic = true;
    for (int letter = 0; letter <= 15; ++letter) {
        Play(6);
        MojiSyu(0, 36, 1, kit::QBColor(0));
        Locate(0, 185 + 25 * letter, 170, kLetters[letter]);
        MojiSyu(0, 36, 1, HpBarColour);
        Locate(0, 188 + 25 * letter, 173, kLetters[letter]);
        Ueito(300);
    }
    Ueito(1000);
    screen.DrawWidth = 1;
    screen.FillBox(250, 55, 518, 145, kit::QBColor(0));
    screen.Box(250, 55, 518, 145, RobotBarColour);
    MojiSyu(0, 10, 0, kit::QBColor(15));
    Locate(0, 337, 70, "お疲れ様でした！");
    Locate(0, 287, 90, "説明書よりエピローグをご覧下さい！ ");
    Locate(0, 317, 110, "Enterキーで終了します");
}

}  // namespace game
