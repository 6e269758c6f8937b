// A robot beaten, the next one loaded, the fallen revived; after the eighth
// the clear file and the clear presentation.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../kit/clear_file.h"
#include "../platform/audio.h"
#include "form1.h"

namespace game {

namespace {
constexpr int kSleeping = 4;
}  // namespace

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
            CharPos[c] = kSleeping;
        }
    }
    AliveCount = 7;
    KaoHenka();
    HpHyouji();

    if (RobotIndex == 8) {
        SavePas();
        KeyMode = 2;
        Timer2.SetInterval(0);
        apiResult = SoundStop();
        PlayM(1);
        CloseM();
        EndSyori();
    }
}

// Writes the clear file whole or not at all: the marker goes to a fresh file
// beside it, which then takes the old one's place in one step, so a run that
// dies half-way never leaves a torn file. A file that cannot be written is
// reported on stderr; the game goes on to its presentation either way.
void Form1::SavePas() {
    const std::string path = plat::NativePath(appPath + kit::ClearFileName);
    const std::string content = std::string(kit::ClearMarker) + "\r\n";
    std::string temp = path + ".XXXXXX";

    const char* step = "create";
    int err = 0;
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        err = errno;
    } else {
        // mkstemp makes the file private; the clear file is an ordinary one.
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
        step = "write";
        errno = 0;
        if (write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()) || fsync(fd) != 0)
            err = errno ? errno : EIO;
        if (close(fd) != 0 && err == 0) err = errno;
        if (err == 0) {
            step = "replace";
            if (std::rename(temp.c_str(), path.c_str()) != 0) err = errno;
        }
        if (err != 0) unlink(temp.c_str());
    }
    if (err != 0)
        std::fprintf(stderr, "tobble7: could not %s the clear file %s: %s\n", step, path.c_str(), std::strerror(err));
}

void Form1::EndSyori() {
    static const char* const kLetters[16] = {"C", "o", "n", "g", "r", "a", "t", "u",
                                             "l", "a", "t", "i", "o", "n", "s", "!"};
    plat::Surface& screen = Display[0];

    Ueito(2000);
    Play(7);
    for (int k = 12; k >= 0; --k) {
        apiResult = plat::BitBlt(screen, 321, 33 + 10 * k, 127, 10, Display[2], 321, 33 + 10 * k, kit::SRCCOPY);
        Ueito(50);
    }
    Ueito(2000);
    screen.FontItalic = true;
    for (int k = 0; k <= 15; ++k) {
        Play(6);
        MojiSyu(0, 36, 1, kit::QBColor(0));
        Locate(0, 185 + 25 * k, 170, kLetters[k]);
        MojiSyu(0, 36, 1, HpBarColour);
        Locate(0, 188 + 25 * k, 173, kLetters[k]);
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
