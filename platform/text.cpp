// Text in the platform's default face, found through fontconfig.
#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>

#include "surface.h"
#include "text.h"

namespace plat {
namespace {

std::string g_programName = "program";

// Finds the default face: IPAPGothic, else the best sans-serif with Japanese glyphs.
std::string FindFontFile() {
    if (!FcInit()) return "";
    std::string file;
    auto match = [&](const char* spec, bool needJapanese) -> std::string {
        FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(spec));
        if (!pat) return "";
        FcConfigSubstitute(nullptr, pat, FcMatchPattern);
        FcDefaultSubstitute(pat);
        FcResult res;
        FcPattern* font = FcFontMatch(nullptr, pat, &res);
        std::string out;
        if (font) {
            FcChar8* f = nullptr;
            FcChar8* fam = nullptr;
            FcCharSet* cs = nullptr;
            const bool named = FcPatternGetString(font, FC_FAMILY, 0, &fam) == FcResultMatch;
            const bool hasJa = FcPatternGetCharSet(font, FC_CHARSET, 0, &cs) == FcResultMatch &&
                               FcCharSetHasChar(cs, 0x3042) && FcCharSetHasChar(cs, 0x6226);
            if (FcPatternGetString(font, FC_FILE, 0, &f) == FcResultMatch && (!needJapanese || hasJa)) {
                if (std::string(spec) != "IPAPGothic" || (named && std::string(reinterpret_cast<char*>(fam)) == "IPAPGothic"))
                    out = reinterpret_cast<char*>(f);
            }
            FcPatternDestroy(font);
        }
        FcPatternDestroy(pat);
        return out;
    };
    file = match("IPAPGothic", false);
    if (file.empty()) file = match("sans-serif:lang=ja", true);
    if (file.empty()) {
        std::fprintf(stderr, "%s: no Japanese font found; install fonts-ipafont-gothic to see the text\n",
                     g_programName.c_str());
        file = match("sans-serif", false);
    }
    return file;
}

class Fonts {
public:
    ~Fonts() {
        for (auto& entry : cache_)
            if (entry.second) TTF_CloseFont(entry.second);
        if (opened_) TTF_Quit();
    }
    TTF_Font* Get(float points, bool bold, bool italic) {
        if (!ready_) Init();
        if (file_.empty()) return nullptr;
        // Points at 96 dots per inch; the library's size is the em in pixels.
        const int px = std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0)));
        const auto key = std::make_tuple(px, bold, italic);
        auto it = cache_.find(key);
        if (it != cache_.end()) return it->second;
        TTF_Font* f = TTF_OpenFont(file_.c_str(), px);
        if (f) TTF_SetFontStyle(f, (bold ? TTF_STYLE_BOLD : 0) | (italic ? TTF_STYLE_ITALIC : 0));
        cache_[key] = f;
        return f;
    }

private:
    void Init() {
        ready_ = true;
        if (TTF_Init() != 0) {
            std::fprintf(stderr, "%s: text library failed: %s\n", g_programName.c_str(), TTF_GetError());
            return;
        }
        opened_ = true;
        file_ = FindFontFile();
    }
    bool ready_ = false, opened_ = false;
    std::string file_;
    std::map<std::tuple<int, bool, bool>, TTF_Font*> cache_;
};

Fonts& TheFonts() {
    static Fonts fonts;
    return fonts;
}

}  // namespace

void SetProgramName(const std::string& name) { g_programName = name; }
const std::string& ProgramName() { return g_programName; }

void Surface::Print(const std::string& utf8) {
    TTF_Font* font = TheFonts().Get(FontSize, FontBold, FontItalic);
    if (!font) return;
    // Far off the surface the text is simply not seen; the clamp keeps the sums below in range.
    const int x0 = static_cast<int>(std::lround(std::clamp(CurrentX, -1e9f, 1e9f)));
    const int y0 = static_cast<int>(std::lround(std::clamp(CurrentY, -1e9f, 1e9f)));
    if (!utf8.empty()) {
        SDL_Color white = {255, 255, 255, 255};
        SDL_Surface* glyphs = TTF_RenderUTF8_Blended(font, utf8.c_str(), white);
        if (glyphs) {
            SDL_Surface* argb = SDL_ConvertSurfaceFormat(glyphs, SDL_PIXELFORMAT_ARGB8888, 0);
            SDL_FreeSurface(glyphs);
            if (argb) {
                MarkDirty(x0, y0, argb->w, argb->h);
                const uint32_t fg = ToRGB(ForeColor);
                const int fr = (fg >> 16) & 255, fgG = (fg >> 8) & 255, fb = fg & 255;
                SDL_LockSurface(argb);
                for (int y = 0; y < argb->h; ++y) {
                    const uint32_t* row = reinterpret_cast<const uint32_t*>(
                        static_cast<const uint8_t*>(argb->pixels) + static_cast<size_t>(y) * argb->pitch);
                    const int dy = y0 + y;
                    if (dy < 0 || dy >= Height()) continue;
                    for (int x = 0; x < argb->w; ++x) {
                        const int a = row[x] >> 24;
                        const int dx = x0 + x;
                        if (a == 0 || dx < 0 || dx >= Width()) continue;
                        // Glyphs only: the background shows between the strokes.
                        const uint32_t bg = PixelRGB(dx, dy);
                        const int r = ((bg >> 16) & 255) + (fr - static_cast<int>((bg >> 16) & 255)) * a / 255;
                        const int g = ((bg >> 8) & 255) + (fgG - static_cast<int>((bg >> 8) & 255)) * a / 255;
                        const int b = (bg & 255) + (fb - static_cast<int>(bg & 255)) * a / 255;
                        SetPixelRGB(dx, dy, (static_cast<uint32_t>(r) << 16) | (g << 8) | b);
                    }
                }
                SDL_UnlockSurface(argb);
                SDL_FreeSurface(argb);
            }
        }
    }
    CurrentX = 0;
    CurrentY = static_cast<float>(y0 + TTF_FontLineSkip(font));
}

int TextWidth(const Surface& s, const std::string& utf8) {
    TTF_Font* font = TheFonts().Get(s.FontSize, s.FontBold, s.FontItalic);
    int w = 0, h = 0;
    if (font) TTF_SizeUTF8(font, utf8.c_str(), &w, &h);
    return w;
}

}  // namespace plat
