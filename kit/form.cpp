#include "form.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "../platform/files.h"

namespace kit {

Form::Form(plat::Host& host) : host_(host), loop_(host, *this, Display[0]) {
    loop_.Attach(Timer1, 1);
    loop_.Attach(Timer2, 2);
    loop_.Attach(Timer3, 3);
    loop_.Attach(Timer4, 4);
}

bool Form::Run() {
    if (!loaded_) {
        loaded_ = true;
        try {
            Form_Load();
        } catch (const plat::EndProgram&) {
            return true;  // ended before the window was ever shown
        }
        host_.Show(Display[0]);
    }
    return loop_.Run();
}

std::string Form::ProgramFolderPath() {
    std::string p = host_.ProgramFolder();
    if (p.empty() || (p.back() != '/' && p.back() != '\\')) p += '/';
    return p;
}

void Form::OnTimer(int index) {
    switch (index) {
    case 1: Timer1_Timer(); break;
    case 2: Timer2_Timer(); break;
    case 3: Timer3_Timer(); break;
    case 4: Timer4_Timer(); break;
    default: break;
    }
}

// ---------------------------------------------------------------- the window

void Form::Form_Load() {
    // The window itself is 800x600 with a black ground (the host made it so).
    for (i = 0; i <= 2; ++i) {
        Display[i].Resize(768, 576);
        Display[i].Left = 16;
        Display[i].Top = 12;
        Display[i].SetBackColor(QBColor(0));
    }
    HenSyoki();
    Timer1.SetInterval(1);
}

void Form::Display_Click(int Index) {
    (void)Index;
    Silence();
    End();
}

void Form::Tunagi(int src, int dst) {
    apiResult = plat::BitBlt(Display[dst], 0, 0, 768, 576, Display[src], 0, 0, SRCCOPY);
}

void Form::End() { throw plat::EndProgram{}; }

// ------------------------------------------------------ tiles, frames, text

void Form::PutChip(int layer, int x, int y, int n) {
    const int sx = (n % 6) * 32, sy = (n / 6) * 32;
    pixelX = static_cast<int16_t>(x * 32);
    pixelY = static_cast<int16_t>(y * 32);
    apiResult = plat::BitBlt(Display[layer], pixelX, pixelY, 32, 32, Chip, sx, sy, SRCCOPY);
}

void Form::PutChipL(int layer, int x, int y, int n) {
    const int sx = (n % 12) * 16, sy = (n / 12) * 16;
    pixelX = static_cast<int16_t>(x * 16);
    pixelY = static_cast<int16_t>(y * 16);
    apiResult = plat::BitBlt(Display[layer], pixelX, pixelY, 16, 16, Chip, sx, sy, SRCCOPY);
}

void Form::Dodai() {
    for (i = 0; i <= 23; ++i)
        for (j = 0; j <= 17; ++j) PutChip(2, i, j, BaseTile);
}

void Form::MakeWaku(int layer, int x, int y, int xx, int yy) {
    // The counters are 16-bit: a corner beyond their range would never be
    // reached, and the loop would not end.
    for (int corner : {x, y, xx, yy})
        if (corner < INT16_MIN || corner > INT16_MAX) return;
    const int right = xx - 1, bottom = yy - 1;  // bounds worked out once
    for (i = static_cast<int16_t>(x + 1); i <= right; ++i) {
        PutChipL(layer, i, y, 5);
        PutChipL(layer, i, yy, 5);
    }
    for (i = static_cast<int16_t>(y + 1); i <= bottom; ++i) {
        PutChipL(layer, x, i, 4);
        PutChipL(layer, xx, i, 4);
    }
    PutChipL(layer, x, y, 2);
    PutChipL(layer, xx, y, 3);
    PutChipL(layer, x, yy, 14);
    PutChipL(layer, xx, yy, 15);
}

void Form::MojiSyu(int layer, double size, int bold, Colour colour) {
    Display[layer].FontSize = static_cast<float>(size);
    Display[layer].FontBold = bold == 1;
    Display[layer].ForeColor = colour;
}

void Form::Locate(int layer, int x, int y, const std::string& text) {
    Display[layer].CurrentX = static_cast<float>(x);
    Display[layer].CurrentY = static_cast<float>(y);
    Display[layer].Print(text);
}

// A number prints with a blank (or minus sign) before it and a blank after it.
void Form::Locate(int layer, int x, int y, int value) { Locate(layer, x, y, static_cast<double>(value)); }

void Form::Locate(int layer, int x, int y, double value) {
    char buf[64];
    const double mag = std::fabs(value);
    if (mag == std::floor(mag) && mag < 1e15)
        std::snprintf(buf, sizeof buf, "%s%.0f ", value < 0 ? "-" : " ", mag);
    else
        std::snprintf(buf, sizeof buf, "%s%g ", value < 0 ? "-" : " ", mag);
    Locate(layer, x, y, std::string(buf));
}

// ------------------------------------------------- music, sound, waiting

void Form::OpenM(int n) {
    const std::string full = appPath + MusicTable[n];
    const std::string shortForm = plat::GetShortPathName(full);
    host_.Music().Send("open " + shortForm + " alias bgm");
}

void Form::PlayM(int n) {
    switch (n) {
    case 0: host_.Music().Send("play bgm"); break;
    case 1: host_.Music().Send("stop bgm"); break;
    case 2: host_.Music().Send("seek bgm to start"); break;
    default: break;
    }
}

void Form::CloseM() { host_.Music().Send("close bgm"); }

void Form::Mjyoutai() {
    std::string mode;
    host_.Music().Send("status bgm mode", &mode);
    if (mode.size() > 9) mode.resize(9);  // the reply buffer holds ten characters with its NUL
    if (mode == "stopped") {
        PlayM(2);
        PlayM(0);
    }
}

void Form::Play(int n) {
    const std::string name = appPath + "se\\" + SoundTable[n];
    apiResult = plat::SndPlaySound(host_.Sound(), name.c_str(), 1, &host_.Log());
}

int32_t Form::SoundStop() { return plat::SndPlaySound(host_.Sound(), nullptr, 1, &host_.Log()); }

void Form::Silence() {
    apiResult = SoundStop();
    PlayM(1);
    CloseM();
}

void Form::Ueito(int ms) {
    const uint32_t start = host_.Ticks();
    for (;;) {
        const int32_t elapsed = static_cast<int32_t>(host_.Ticks() - start);
        if (elapsed > ms) return;
        // A quit from outside (a signal, the window system's close) is not
        // kept waiting: the handler runs on to its end without its pauses.
        if (loop_.QuitQueued()) return;
        // Sleep towards the first reading past the length and keep the screen
        // fresh; no handler runs.
        host_.Nap(Display[0], loop_.Queue(), start + static_cast<uint32_t>(ms) + 1);
    }
}

}  // namespace kit
