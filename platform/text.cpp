// Text in the platform's default face, found through fontconfig.
#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <list>
#include <map>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "library.h"
#include "program_name.h"
#include "sdl_ptr.h"
#include "surface.h"
#include "text.h"

namespace plat {
namespace {

// SDL_ttf and fontconfig, with FreeType, HarfBuzz and GLib beneath them, are
// loaded (dlopen) on a thread of their own beside the window's set-up rather
// than before the program starts.
struct TtfLibrary : Library {
    TtfLibrary() : Library("libSDL2_ttf-2.0.so.0") {}
    PLAT_FUNCTION(TTF_Init)
    PLAT_FUNCTION(TTF_Quit)
    PLAT_FUNCTION(TTF_OpenFont)
    PLAT_FUNCTION(TTF_CloseFont)
    PLAT_FUNCTION(TTF_SetFontStyle)
    PLAT_FUNCTION(TTF_RenderUTF8_Blended)
    PLAT_FUNCTION(TTF_FontAscent)
    PLAT_FUNCTION(TTF_FontLineSkip)
    PLAT_FUNCTION(TTF_SizeUTF8)
};
struct FontconfigLibrary : Library {
    FontconfigLibrary() : Library("libfontconfig.so.1") {}
    PLAT_FUNCTION(FcInit)
    PLAT_FUNCTION(FcNameParse)
    PLAT_FUNCTION(FcConfigSubstitute)
    PLAT_FUNCTION(FcDefaultSubstitute)
    PLAT_FUNCTION(FcFontMatch)
    PLAT_FUNCTION(FcPatternGetString)
    PLAT_FUNCTION(FcPatternGetCharSet)
    PLAT_FUNCTION(FcCharSetHasChar)
    PLAT_FUNCTION(FcPatternDestroy)
};
const TtfLibrary& Ttf() { return Loaded<TtfLibrary>(); }
const FontconfigLibrary& Fc() { return Loaded<FontconfigLibrary>(); }

// Why the text libraries cannot be used, or empty.
std::string TextLibraryError() {
    if (!Ttf().Error().empty()) return Ttf().Error();
    return Fc().Error();
}

// Finds the default face: IPAPGothic, else the best sans-serif with Japanese
// glyphs. What there is to say goes to `said`, for the caller to print.
std::string FindFontFile(std::string& said) {
    const FontconfigLibrary& t = Fc();
    if (!t.FcInit()) return "";
    std::string file;
    auto match = [&](const char* spec, bool needJapanese) -> std::string {
        FcPattern* pat = t.FcNameParse(reinterpret_cast<const FcChar8*>(spec));
        if (!pat) return "";
        t.FcConfigSubstitute(nullptr, pat, FcMatchPattern);
        t.FcDefaultSubstitute(pat);
        FcResult res;
        FcPattern* font = t.FcFontMatch(nullptr, pat, &res);
        std::string out;
        if (font) {
            FcChar8* f = nullptr;
            FcChar8* fam = nullptr;
            FcCharSet* cs = nullptr;
            const bool named = t.FcPatternGetString(font, FC_FAMILY, 0, &fam) == FcResultMatch;
            const bool hasJa = t.FcPatternGetCharSet(font, FC_CHARSET, 0, &cs) == FcResultMatch &&
                               t.FcCharSetHasChar(cs, 0x3042) && t.FcCharSetHasChar(cs, 0x6226);
            if (t.FcPatternGetString(font, FC_FILE, 0, &f) == FcResultMatch && (!needJapanese || hasJa)) {
                if (std::string(spec) != "IPAPGothic" || (named && std::string(reinterpret_cast<char*>(fam)) == "IPAPGothic"))
                    out = reinterpret_cast<char*>(f);
            }
            t.FcPatternDestroy(font);
        }
        t.FcPatternDestroy(pat);
        return out;
    };
    file = match("IPAPGothic", false);
    if (file.empty()) file = match("sans-serif:lang=ja", true);
    if (file.empty()) {
        said += ProgramName() + ": no Japanese font found; install fonts-ipafont-gothic to see the text\n";
        file = match("sans-serif", false);
    }
    return file;
}

// The size of the library's font for a size in points at 96 dots per inch:
// the library's size is the em in pixels.
int FontPixels(float points) { return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))); }

// How far the library's italic leans a glyph per pixel of height: it shears
// the outlines about the baseline by this much.
constexpr double kItalicLean = 0.207;

// A text rendered once: the coverage of its ink (1 to 255) as runs along its
// rows, within a w by h box whose top-left corner lies (dx, dy) from the text
// position. Only inked pixels are kept, so drawing visits nothing else.
struct RenderedText {
    struct Run {
        int x, y, n;  // n pixels from (x, y) in the box
        size_t at;    // their coverage: alpha[at] onwards
    };
    int dx = 0, dy = 0, w = 0, h = 0;
    std::vector<Run> runs;
    std::vector<uint8_t> alpha;
};

// Keeps the inked pixels of a w by h coverage (0 where there is no ink) as
// runs along its rows, within their bounding box, which lies (dx, dy) from
// the coverage's corner (dx, dy are then moved by the caller).
template <typename Coverage>
void Encode(const Coverage& coverage, int w, int h, RenderedText& out) {
    int left = w, right = -1, top = h, bottom = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (coverage(x, y) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    // Cleared, not replaced: a text made on every draw reuses its lists.
    out.dx = out.dy = out.w = out.h = 0;
    out.runs.clear();
    out.alpha.clear();
    if (right < 0) return;
    out.w = right - left + 1;
    out.h = bottom - top + 1;
    out.dx = left;
    out.dy = top;
    // Counted first, so that each list is allocated once, at its size.
    size_t runs = 0, inked = 0;
    for (int y = 0; y < out.h; ++y)
        for (int x = 0, before = 0; x < out.w; ++x) {
            const bool ink = coverage(left + x, top + y) != 0;
            inked += ink;
            runs += ink && !before;
            before = ink;
        }
    out.runs.reserve(runs);
    out.alpha.reserve(inked);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) {
            const uint8_t a = coverage(left + x, top + y);
            if (a == 0) continue;
            if (out.runs.empty() || out.runs.back().y != y || out.runs.back().x + out.runs.back().n != x)
                out.runs.push_back({x, y, 0, out.alpha.size()});
            ++out.runs.back().n;
            out.alpha.push_back(a);
        }
}

bool SameInk(const RenderedText& a, const RenderedText& b) {
    if (a.dx != b.dx || a.dy != b.dy || a.w != b.w || a.h != b.h || a.alpha != b.alpha ||
        a.runs.size() != b.runs.size())
        return false;
    for (size_t k = 0; k < a.runs.size(); ++k)
        if (a.runs[k].x != b.runs[k].x || a.runs[k].y != b.runs[k].y || a.runs[k].n != b.runs[k].n ||
            a.runs[k].at != b.runs[k].at)
            return false;
    return true;
}

// Renders white text once and keeps its coverage; the colour is laid on when
// it is drawn, so every colour of one text shares one entry.
bool Render(TTF_Font* font, bool italic, const std::string& utf8, RenderedText& out) {
    const SDL_Color white = {255, 255, 255, 255};
    SdlSurfacePtr glyphs(Ttf().TTF_RenderUTF8_Blended(font, utf8.c_str(), white));
    if (glyphs && (glyphs->format->BytesPerPixel != 4 || glyphs->format->Amask == 0))
        glyphs.reset(SDL_ConvertSurfaceFormat(glyphs.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!glyphs) return false;
    const uint32_t amask = glyphs->format->Amask;
    const int ashift = glyphs->format->Ashift;
    const auto coverage = [&](int x, int y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(glyphs->pixels) +
                                                            static_cast<size_t>(y) * glyphs->pitch);
        return static_cast<uint8_t>((row[x] & amask) >> ashift);
    };
    SDL_LockSurface(glyphs.get());
    Encode(coverage, glyphs->w, glyphs->h, out);
    if (out.w > 0) {
        // The italic shear leans what hangs below the baseline to the left of
        // the text's start; moved right by that overhang, the text leans right
        // from its start and leaves no ink left of it.
        const int below = glyphs->h - Ttf().TTF_FontAscent(font);
        const int overhang = italic && below > 0 ? static_cast<int>(std::ceil(kItalicLean * below)) : 0;
        out.dx += overhang;
    }
    SDL_UnlockSurface(glyphs.get());
    return true;
}

// Numbers change from one tick to the next (a gauge counting down): rendered
// by the font library, each new one cost a whole layout, and kept, fresh
// memory on every tick, whose first touch is slow on a virtual machine. An
// upright text made only of the characters numbers are printed with is put
// together instead, on every draw and kept nowhere, from those characters,
// each rendered once, side by side at their advances. That is the library's
// own result in a font whose digits neither kern nor reach past their
// neighbours; a font is used so only once every pair of those characters and
// a few long texts came out the same both ways, and its first texts put
// together are compared with the library's too. Any difference leaves that
// font to the library for good. It takes the battle's CPU from about 0.38 %
// of a core to 0.30 % (build/bench, medians of ten runs, back to back).
class NumberTexts {
public:
    static bool Fits(const std::string& utf8) {
        if (utf8.empty()) return false;
        for (char c : utf8)
            if (!Allowed(c)) return false;
        return true;
    }

    // The text put together, valid until the next call; null when the font
    // is left to the library.
    const RenderedText* Make(TTF_Font* font, const std::string& utf8) {
        Font& f = fonts_[font];
        if (f.state == Font::Unchecked) f.state = Check(font, f) ? Font::Trusted : Font::Refused;
        if (f.state == Font::Refused || !Assemble(f, utf8, made_)) return nullptr;
        if (f.compared < kCompared) {
            RenderedText real;
            if (!Render(font, false, utf8, real) || !SameInk(real, made_)) {
                f.state = Font::Refused;
                return nullptr;
            }
            ++f.compared;
        }
        return &made_;
    }

private:
    static constexpr const char* kChars = " -.0123456789";
    static constexpr int kCompared = 32;
    static bool Allowed(char c) { return c != 0 && std::strchr(kChars, c) != nullptr; }

    struct Font {
        enum State { Unchecked, Trusted, Refused } state = Unchecked;
        int compared = 0;
        RenderedText glyph[128];
        int advance[128] = {};
    };

    bool Check(TTF_Font* font, Font& f) {
        // A character's advance, as the library lays it out: how much wider
        // two of it are than one.
        for (const char* c = kChars; *c; ++c) {
            const uint8_t k = static_cast<uint8_t>(*c);
            int one, two, h;
            if (Ttf().TTF_SizeUTF8(font, std::string(1, *c).c_str(), &one, &h) != 0 ||
                Ttf().TTF_SizeUTF8(font, std::string(2, *c).c_str(), &two, &h) != 0 ||
                !Render(font, false, std::string(1, *c), f.glyph[k]))
                return false;
            f.advance[k] = two - one;
        }
        std::vector<std::string> texts = {"0123456789", "-9876543210 ", " 1111111111 ", " 8.25 ", "-0.5 "};
        for (const char* a = kChars; *a; ++a)
            for (const char* b = kChars; *b; ++b) texts.push_back(std::string{*a, *b});
        RenderedText real;
        for (const std::string& t : texts)
            if (!Render(font, false, t, real) || !Assemble(f, t, made_) || !SameInk(real, made_)) return false;
        return true;
    }

    bool Assemble(const Font& f, const std::string& utf8, RenderedText& out) {
        // Where each character's ink lies from the text's position.
        int left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN, x = 0;
        for (char c : utf8) {
            const RenderedText& g = f.glyph[static_cast<uint8_t>(c)];
            if (g.w > 0) {
                left = std::min(left, x + g.dx);
                right = std::max(right, x + g.dx + g.w);
                top = std::min(top, g.dy);
                bottom = std::max(bottom, g.dy + g.h);
            }
            x += f.advance[static_cast<uint8_t>(c)];
        }
        if (left == INT32_MAX) {
            Encode([](int, int) { return uint8_t{0}; }, 0, 0, out);
            return true;
        }
        const int w = right - left, h = bottom - top;
        if (static_cast<int64_t>(w) * h > (int64_t{1} << 22)) return false;
        // Ink that overlaps is added up as the library does: its coverage ORed.
        grid_.assign(static_cast<size_t>(w) * h, 0);
        x = 0;
        for (char c : utf8) {
            const RenderedText& g = f.glyph[static_cast<uint8_t>(c)];
            for (const RenderedText::Run& run : g.runs) {
                uint8_t* row = grid_.data() + static_cast<size_t>(g.dy + run.y - top) * w + (x + g.dx + run.x - left);
                for (int k = 0; k < run.n; ++k) row[k] |= g.alpha[run.at + k];
            }
            x += f.advance[static_cast<uint8_t>(c)];
        }
        Encode([&](int cx, int cy) { return grid_[static_cast<size_t>(cy) * w + cx]; }, w, h, out);
        out.dx += left;
        out.dy += top;
        return true;
    }

    std::vector<uint8_t> grid_;
    RenderedText made_;
    std::map<TTF_Font*, Font> fonts_;
};

class Fonts {
public:
    ~Fonts() {
        if (preparing_.joinable()) preparing_.join();
        for (auto& entry : cache_) Ttf().TTF_CloseFont(entry.second);
        if (opened_) Ttf().TTF_Quit();
    }

    // Loads the libraries, finds the face and opens it in a surface's default
    // style on a thread, beside the caller; the first text waits for it.
    void Prepare() {
        if (ready_ || loaded_ || preparing_.joinable()) return;
        try {
            preparing_ = std::thread([this] { Load(); });
        } catch (const std::system_error&) {
            // No thread to be had: the first text does it all.
        }
    }

    void Finish() {
        if (preparing_.joinable()) preparing_.join();
    }

    TTF_Font* Get(float points, bool bold, bool italic) {
        if (!ready_) Init();
        if (file_.empty()) return nullptr;
        std::string said;
        TTF_Font* f = Open(FontPixels(points), bold, italic, said);
        std::fputs(said.c_str(), stderr);
        return f;
    }

    // The text rendered in the font `Get` gave for the same style; null when
    // the library could not render it.
    const RenderedText* Text(TTF_Font* font, float points, bool bold, bool italic, const std::string& utf8) {
        if (!italic && NumberTexts::Fits(utf8))
            if (const RenderedText* made = numbers_.Make(font, utf8)) return made;
        // The key: style, size, then the text.
        const int px = FontPixels(points);
        key_.assign(1, static_cast<char>((bold ? 1 : 0) | (italic ? 2 : 0)));
        key_.append(reinterpret_cast<const char*>(&px), sizeof px);
        key_ += utf8;
        if (auto it = index_.find(key_); it != index_.end()) {
            recent_.splice(recent_.begin(), recent_, it->second);
            return &it->second->text;
        }
        RenderedText text;
        if (!Render(font, italic, utf8, text)) return nullptr;
        recent_.push_front({key_, std::move(text)});
        index_.emplace(recent_.front().key, recent_.begin());
        bytes_ += Cost(recent_.front());
        // The least recently drawn go first; the newest always stays.
        while (recent_.size() > 1 && (recent_.size() > kMaxTexts || bytes_ > kMaxTextBytes)) {
            bytes_ -= Cost(recent_.back());
            index_.erase(recent_.back().key);
            recent_.pop_back();
        }
        return &recent_.front().text;
    }

private:
    static constexpr size_t kMaxTexts = 1024, kMaxTextBytes = size_t{4} << 20;
    struct Entry {
        std::string key;
        RenderedText text;
    };
    static size_t Cost(const Entry& e) {
        return sizeof(Entry) + e.key.capacity() + e.text.runs.capacity() * sizeof(RenderedText::Run) +
               e.text.alpha.capacity();
    }

    // The font at a size in pixels and a style, opened once. What there is to
    // say goes to `said`.
    TTF_Font* Open(int px, bool bold, bool italic, std::string& said) {
        const auto key = std::make_tuple(px, bold, italic);
        auto it = cache_.find(key);
        if (it != cache_.end()) return it->second;
        TTF_Font* f = Ttf().TTF_OpenFont(file_.c_str(), px);
        if (!f) {
            // Not kept, so a later call tries again; said once, not on every text.
            if (!openFailureTold_)
                said += ProgramName() + ": font " + file_ + " could not be opened: " + TTF_GetError() + "\n";
            openFailureTold_ = true;
            return nullptr;
        }
        Ttf().TTF_SetFontStyle(f, (bold ? TTF_STYLE_BOLD : 0) | (italic ? TTF_STYLE_ITALIC : 0));
        cache_[key] = f;
        return f;
    }

    // Everything up to the first text: on the preparing thread, or on the
    // caller's when there is none. The messages wait for the first text.
    void Load() {
        loaded_ = true;
        const std::string error = TextLibraryError();
        if (!error.empty()) {
            said_ = ProgramName() + ": text library failed: " + error + "\n";
            return;
        }
        if (Ttf().TTF_Init() != 0) {
            said_ = ProgramName() + ": text library failed: " + TTF_GetError() + "\n";
            return;
        }
        opened_ = true;
        file_ = FindFontFile(said_);
        if (!file_.empty()) Open(FontPixels(Surface().FontSize), false, false, said_);
    }

    void Init() {
        ready_ = true;
        Finish();
        if (!loaded_) Load();
        std::fputs(said_.c_str(), stderr);
        said_.clear();
    }
    bool ready_ = false, opened_ = false, openFailureTold_ = false;
    bool loaded_ = false;  // Load has run, here or on the preparing thread
    std::thread preparing_;
    std::string said_;  // what the preparing said, for the first text to print
    std::string file_;
    std::map<std::tuple<int, bool, bool>, TTF_Font*> cache_;
    // Rendered texts, most recently drawn first; the index's keys are views
    // of the entries' own keys, which stay put in the list.
    std::list<Entry> recent_;
    std::unordered_map<std::string_view, std::list<Entry>::iterator> index_;
    size_t bytes_ = 0;
    std::string key_;
    NumberTexts numbers_;
};

Fonts& TheFonts() {
    static Fonts fonts;
    return fonts;
}

}  // namespace

void PrepareText() { TheFonts().Prepare(); }
void FinishPreparingText() { TheFonts().Finish(); }

void Surface::Print(const std::string& utf8) {
    Fonts& fonts = TheFonts();
    TTF_Font* font = fonts.Get(FontSize, FontBold, FontItalic);
    if (!font) return;
    // Far off the surface the text is simply not seen; the clamp keeps the sums below in range.
    const int x0 = static_cast<int>(std::lround(std::clamp(CurrentX, -1e9f, 1e9f)));
    const int y0 = static_cast<int>(std::lround(std::clamp(CurrentY, -1e9f, 1e9f)));
    const RenderedText* text = utf8.empty() ? nullptr : fonts.Text(font, FontSize, FontBold, FontItalic, utf8);
    if (text && text->w > 0) {
        // Where the ink lands: [left, right) by [top, bottom), clipped to the surface once.
        const int textX = x0 + text->dx, textY = y0 + text->dy;
        const int left = std::max(textX, 0), right = std::min(textX + text->w, w_);
        const int top = std::max(textY, 0), bottom = std::min(textY + text->h, h_);
        MarkDirty(textX, textY, text->w, text->h);
        const uint32_t fg = ToRGB(ForeColor);
        const uint32_t fr = (fg >> 16) & 255, fgG = (fg >> 8) & 255, fb = fg & 255;
        for (const RenderedText::Run& run : text->runs) {
            const int y = textY + run.y;
            if (y < top || y >= bottom) continue;
            const int start = textX + run.x;
            const int from = std::max(start, left), to = std::min(start + run.n, right);
            const uint8_t* cover = text->alpha.data() + run.at;
            uint32_t* row = px_.data() + static_cast<size_t>(y) * w_;
            for (int x = from; x < to; ++x) {
                const uint32_t a = cover[x - start], bg = row[x];
                row[x] = a == 255 ? fg
                                  : (BlendChannel((bg >> 16) & 255, fr, a) << 16) |
                                        (BlendChannel((bg >> 8) & 255, fgG, a) << 8) | BlendChannel(bg & 255, fb, a);
            }
        }
    }
    CurrentX = 0;
    CurrentY = static_cast<float>(y0 + Ttf().TTF_FontLineSkip(font));
}

int TextWidth(const Surface& s, const std::string& utf8) {
    TTF_Font* font = TheFonts().Get(s.FontSize, s.FontBold, s.FontItalic);
    int w = 0, h = 0;
    if (font) Ttf().TTF_SizeUTF8(font, utf8.c_str(), &w, &h);
    return w;
}

}  // namespace plat
