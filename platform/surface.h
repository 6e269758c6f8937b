// Pixel surfaces with the drawing state of a picture control: current text
// position, font, colours and pen width; lines, boxes, circles, text, and
// block copies with the three raster operations the programs use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// A colour as the programs pass it: 0x00BBGGRR.
using Colour = uint32_t;
constexpr Colour RGB(int r, int g, int b) {
    return static_cast<Colour>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
// The sixteen-colour palette (0 black, 7 light grey, 12 light red, 15 white, ...).
Colour QBColor(int n);

enum RasterOp : uint32_t {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,  // destination OR source
    SRCAND = 0x008800C6,    // destination AND source
};

// A rectangle of pixels: x, y of its top-left corner, its width and height.
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

class Surface {
public:
    Surface() = default;
    Surface(int w, int h);

    int Width() const { return w_; }
    int Height() const { return h_; }
    void Resize(int w, int h);  // clears to the back colour

    // Pixels are stored as 0x00RRGGBB.
    uint32_t PixelRGB(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
    void SetPixelRGB(int x, int y, uint32_t rgb);
    // Read only: every write goes through a drawing call, which records
    // where it drew.
    const std::vector<uint32_t>& Pixels() const { return px_; }

    // Where pixels were written since the last TakeDirty(), as a few
    // rectangles on the surface that together cover every written pixel
    // (they may cover more). The window shows only these on its next update.
    // Taking them leaves the picture as it is, so a shown surface stays const.
    std::vector<Rect> Dirty() const;
    bool IsDirty() const { return dirty_.whole ? w_ > 0 && h_ > 0 : !dirty_.rects.empty(); }
    std::vector<Rect> TakeDirty() const;

    // Drawing state, as a picture control keeps it.
    float CurrentX = 0, CurrentY = 0;
    float FontSize = 9;
    bool FontBold = false, FontItalic = false;
    Colour ForeColor = 0;
    int DrawWidth = 1;
    // Where the surface sits in its window; only the visible layer is moved.
    int Left = 0, Top = 0;

    void SetBackColor(Colour c);  // clears the whole surface to c
    Colour BackColor() const { return back_; }

    // Both corners belong to the box; the pen is centred on the outline.
    // Whatever lies off the surface leaves no mark, for any coordinates.
    void Line(int x1, int y1, int x2, int y2, Colour c);
    void Box(int x1, int y1, int x2, int y2, Colour c);
    void FillBox(int x1, int y1, int x2, int y2, Colour c);
    void Circle(int cx, int cy, int r, Colour c);

    // Draws text at (CurrentX, CurrentY) without a background, in the current
    // style; afterwards the position is at the start of the next line.
    void Print(const std::string& utf8);

    // Plain pixel fill without pen logic (a dot of the current pen at (x, y)).
    void Dot(int x, int y, Colour c);

private:
    friend int BitBlt(Surface&, int, int, int, int, const Surface&, int, int, uint32_t);
    // Records that (x, y, w, h) was written; clipped to the surface. Only the
    // drawing calls write, so only they record.
    void MarkDirty(int x, int y, int w, int h);
    // Fills the part of a box (corners included, in order) that lies on the surface.
    void FillRect(int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t rgb);

    int w_ = 0, h_ = 0;
    Colour back_ = 0;
    std::vector<uint32_t> px_;
    // A window shows a surface it has not shown before whole, whatever its
    // list says (it knows the surface by its address), so a copy- or
    // move-constructed surface needs no mark of its own; it keeps the list
    // it came with, so that one returned by value keeps what its maker took.
    // An assigned surface keeps its address and may be the one on show: its
    // new picture has changed everywhere.
    struct DirtyList {
        std::vector<Rect> rects;
        bool whole = false;
        DirtyList() = default;
        DirtyList(const DirtyList& o) = default;
        DirtyList& operator=(const DirtyList&) {
            rects.clear();
            whole = true;
            return *this;
        }
    };
    mutable DirtyList dirty_;
};

// Block copy of a w by h rectangle, clipped to both surfaces. Returns non-zero.
int BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, uint32_t rop);

inline uint32_t ToRGB(Colour c) { return ((c & 255) << 16) | (c & 0xFF00) | ((c >> 16) & 255); }

}  // namespace plat
