// The window both programs share: its three layers, the tile sheet, the timers,
// and the routines for tiles, frames, text, music, sound effects and waiting.
#pragma once

#include <cstdint>
#include <string>

#include "../platform/host.h"
#include "../platform/surface.h"

namespace kit {

using plat::Colour;
using plat::QBColor;
using plat::RGB;
using plat::SRCAND;
using plat::SRCCOPY;
using plat::SRCPAINT;

// The cream of the game's chicken gauge and of the manual's boxes and panels.
inline constexpr Colour Cream = RGB(255, 240, 191);

class Form : public plat::Handlers {
public:
    explicit Form(plat::Host& host);
    ~Form() override = default;

    // Form_Load, then the event loop until the program ends (true) or, headless,
    // until the test's time is up (false). Call again to go on.
    bool Run();

    // --- The window ---
    void Form_Load();
    void Display_Click(int Index);
    void Tunagi(int src, int dst);

    // --- Tiles, frames, text ---
    void PutChip(int layer, int x, int y, int n);
    void PutChipL(int layer, int x, int y, int n);
    void Dodai();
    // Corners outside -32768..32767 are refused: nothing is drawn.
    void MakeWaku(int layer, int x, int y, int xx, int yy);
    void MojiSyu(int layer, double size, int bold, Colour colour);
    void Locate(int layer, int x, int y, const std::string& text);
    void Locate(int layer, int x, int y, const char* text) { Locate(layer, x, y, std::string(text)); }
    void Locate(int layer, int x, int y, int value);
    void Locate(int layer, int x, int y, double value);

    // --- Music, sound effects, waiting ---
    void OpenM(int n);
    void PlayM(int n);
    void CloseM();
    void Mjyoutai();
    void Play(int n);
    int32_t SoundStop();  // the asynchronous sound call with no name
    // Silences both programs before they end or once a game is over: the
    // sound effect stopped (its result into apiResult), the music stopped
    // and closed.
    void Silence();
    void Ueito(int ms);

    // Ends the program at once: no further code of the running handler runs.
    [[noreturn]] void End();

    // --- Supplied by each program ---
    virtual void HenSyoki() = 0;
    virtual void Timer1_Timer() {}
    virtual void Timer2_Timer() {}
    virtual void Timer3_Timer() {}
    virtual void Timer4_Timer() {}
    virtual void Display_KeyDown(int Index, int KeyCode, int Shift) {
        (void)Index, (void)KeyCode, (void)Shift;
    }

    // --- State of the window ---
    plat::Surface Display[3];
    plat::Surface Chip;
    plat::Timer Timer1, Timer2, Timer3, Timer4;
    int16_t i = 0, j = 0;
    int16_t pixelX = 0, pixelY = 0;
    int32_t apiResult = 0;
    std::string appPath;
    std::string MusicTable[11];
    std::string SoundTable[11];
    int BaseTile = 0;

    // The folder of the running program, with one separator at its end.
    std::string ProgramFolderPath();

    plat::Host& host() { return host_; }
    plat::EventLoop& loop() { return loop_; }

protected:
    void OnTimer(int index) override;
    void OnKeyDown(int key) override { Display_KeyDown(0, key, 0); }
    void OnLayerClick() override { Display_Click(0); }

private:
    plat::Host& host_;
    plat::EventLoop loop_;
    bool loaded_ = false;
};

}  // namespace kit
