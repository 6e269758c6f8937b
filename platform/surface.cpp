#include "surface.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace plat {

Colour QBColor(int n) {
    static const Colour table[16] = {
        RGB(0, 0, 0),       RGB(0, 0, 128),     RGB(0, 128, 0),   RGB(0, 128, 128),
        RGB(128, 0, 0),     RGB(128, 0, 128),   RGB(128, 128, 0), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(0, 0, 255),     RGB(0, 255, 0),   RGB(0, 255, 255),
        RGB(255, 0, 0),     RGB(255, 0, 255),   RGB(255, 255, 0), RGB(255, 255, 255),
    };
    return table[n & 15];
}

Surface::Surface(int w, int h) { Resize(w, h); }

void Surface::Resize(int w, int h) {
    w_ = std::max(0, w);
    h_ = std::max(0, h);
    px_.assign(static_cast<size_t>(w_) * h_, ToRGB(back_));
}

void Surface::SetPixelRGB(int x, int y, uint32_t rgb) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<size_t>(y) * w_ + x] = rgb & 0xFFFFFF;
}

void Surface::SetBackColor(Colour c) {
    back_ = c;
    std::fill(px_.begin(), px_.end(), ToRGB(c));
}

void Surface::FillBox(int x1, int y1, int x2, int y2, Colour c) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, w_ - 1);
    y2 = std::min(y2, h_ - 1);
    const uint32_t rgb = ToRGB(c);
    for (int y = y1; y <= y2; ++y)
        std::fill(px_.begin() + static_cast<ptrdiff_t>(y) * w_ + x1,
                  px_.begin() + static_cast<ptrdiff_t>(y) * w_ + x2 + 1, rgb);
}

// A pen of width w covers a w by w square centred on the point, the odd pixel
// going right and down, as a square pen would.
void Surface::Dot(int x, int y, Colour c) {
    const int w = std::max(1, DrawWidth);
    const int lo = -(w - 1) / 2;
    FillBox(x + lo, y + lo, x + lo + w - 1, y + lo + w - 1, c);
}

void Surface::Line(int x1, int y1, int x2, int y2, Colour c) {
    int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Dot(x1, y1, c);
        if (x1 == x2 && y1 == y2) break;
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x1 += sx; }
        if (e2 <= dx) { err += dx; y1 += sy; }
    }
}

void Surface::Box(int x1, int y1, int x2, int y2, Colour c) {
    if (DrawWidth <= 1) {
        Line(x1, y1, x2, y1, c);
        Line(x1, y2, x2, y2, c);
        Line(x1, y1, x1, y2, c);
        Line(x2, y1, x2, y2, c);
        return;
    }
    // Thick outlines as four filled bands, so the corners are square.
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const int w = DrawWidth, lo = -(w - 1) / 2, hi = lo + w - 1;
    FillBox(x1 + lo, y1 + lo, x2 + hi, y1 + hi, c);
    FillBox(x1 + lo, y2 + lo, x2 + hi, y2 + hi, c);
    FillBox(x1 + lo, y1 + lo, x1 + hi, y2 + hi, c);
    FillBox(x2 + lo, y1 + lo, x2 + hi, y2 + hi, c);
}

void Surface::Circle(int cx, int cy, int r, Colour c) {
    if (r < 0) return;
    const int w = std::max(1, DrawWidth);
    if (w == 1) {
        // Midpoint circle: one pixel wide, eight-way symmetric.
        int x = r, y = 0, err = 1 - r;
        while (x >= y) {
            const int pts[8][2] = {{x, y}, {y, x}, {-y, x}, {-x, y}, {-x, -y}, {-y, -x}, {y, -x}, {x, -y}};
            for (auto& p : pts) SetPixelRGB(cx + p[0], cy + p[1], ToRGB(c));
            ++y;
            if (err < 0) {
                err += 2 * y + 1;
            } else {
                --x;
                err += 2 * (y - x) + 1;
            }
        }
        return;
    }
    // A wide pen: the ring between r - w/2 and r + w/2, centred on the radius.
    const double inner = r - w / 2.0, outer = r + w / 2.0;
    const int R = static_cast<int>(std::ceil(outer));
    const uint32_t rgb = ToRGB(c);
    for (int y = -R; y <= R; ++y)
        for (int x = -R; x <= R; ++x) {
            const double d = std::sqrt(static_cast<double>(x * x + y * y));
            if (d >= inner && d < outer) SetPixelRGB(cx + x, cy + y, rgb);
        }
}

int BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, uint32_t rop) {
    // Clip against the source, then the destination, moving both origins together.
    if (sx < 0) { x -= sx; w += sx; sx = 0; }
    if (sy < 0) { y -= sy; h += sy; sy = 0; }
    if (x < 0) { sx -= x; w += x; x = 0; }
    if (y < 0) { sy -= y; h += y; y = 0; }
    w = std::min({w, src.Width() - sx, dst.Width() - x});
    h = std::min({h, src.Height() - sy, dst.Height() - y});
    if (w <= 0 || h <= 0) return 1;
    const auto& s = src.Pixels();
    auto& d = dst.Pixels();
    // Source and destination may be one surface; copy rows through a buffer then.
    std::vector<uint32_t> row;
    for (int r = 0; r < h; ++r) {
        const int rr = (&src == &dst && sy < y) ? h - 1 - r : r;
        const uint32_t* sp = s.data() + static_cast<size_t>(sy + rr) * src.Width() + sx;
        uint32_t* dp = d.data() + static_cast<size_t>(y + rr) * dst.Width() + x;
        if (&src == &dst) {
            row.assign(sp, sp + w);
            sp = row.data();
        }
        switch (rop) {
        case SRCPAINT:
            for (int k = 0; k < w; ++k) dp[k] |= sp[k];
            break;
        case SRCAND:
            for (int k = 0; k < w; ++k) dp[k] &= sp[k];
            break;
        default:
            std::copy(sp, sp + w, dp);
            break;
        }
    }
    return 1;
}

}  // namespace plat
