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
    dirty_.rects.clear();
    dirty_.whole = true;
}

void Surface::SetPixelRGB(int x, int y, uint32_t rgb) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) {
        px_[static_cast<size_t>(y) * w_ + x] = rgb & 0xFFFFFF;
        MarkDirty(x, y, 1, 1);
    }
}

void Surface::SetBackColor(Colour c) {
    back_ = c;
    std::fill(px_.begin(), px_.end(), ToRGB(c));
    dirty_.rects.clear();
    dirty_.whole = true;
}

std::vector<Rect> Surface::Dirty() const {
    if (dirty_.whole) return w_ > 0 && h_ > 0 ? std::vector<Rect>{{0, 0, w_, h_}} : std::vector<Rect>{};
    return dirty_.rects;
}

std::vector<Rect> Surface::TakeDirty() const {
    std::vector<Rect> out = Dirty();
    dirty_.rects.clear();
    dirty_.whole = false;
    return out;
}

namespace {

// Few rectangles keep a window update cheap; beyond that they are merged.
constexpr size_t kMaxDirty = 8;

bool Contains(const Rect& a, const Rect& b) {
    return b.x >= a.x && b.y >= a.y && b.x + b.w <= a.x + a.w && b.y + b.h <= a.y + a.h;
}

// Overlapping or edge to edge.
bool Meets(const Rect& a, const Rect& b) {
    return a.x <= b.x + b.w && b.x <= a.x + a.w && a.y <= b.y + b.h && b.y <= a.y + a.h;
}

Rect Union(const Rect& a, const Rect& b) {
    const int x = std::min(a.x, b.x), y = std::min(a.y, b.y);
    return {x, y, std::max(a.x + a.w, b.x + b.w) - x, std::max(a.y + a.h, b.y + b.h) - y};
}

int64_t Area(const Rect& r) { return int64_t{r.w} * r.h; }

}  // namespace

void Surface::MarkDirty(int x, int y, int w, int h) {
    // Clip in 64 bits: callers pass any coordinates.
    const int64_t x1 = std::max<int64_t>(x, 0), y1 = std::max<int64_t>(y, 0);
    const int64_t x2 = std::min<int64_t>(int64_t{x} + w, w_), y2 = std::min<int64_t>(int64_t{y} + h, h_);
    if (x1 >= x2 || y1 >= y2 || dirty_.whole) return;
    auto& dirty = dirty_.rects;
    Rect r{static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2 - x1), static_cast<int>(y2 - y1)};
    // The last rectangle first: runs of writes tend to fall inside it.
    if (!dirty.empty() && Contains(dirty.back(), r)) return;
    for (const Rect& d : dirty)
        if (Contains(d, r)) return;
    // Absorb every rectangle the new one meets, until none is left to meet.
    for (size_t k = 0; k < dirty.size();) {
        if (Meets(dirty[k], r)) {
            r = Union(dirty[k], r);
            dirty.erase(dirty.begin() + static_cast<std::ptrdiff_t>(k));
            k = 0;
        } else {
            ++k;
        }
    }
    if (dirty.size() == kMaxDirty) {
        // Merge with the one whose union grows least.
        size_t best = 0;
        int64_t growth = INT64_MAX;
        for (size_t k = 0; k < dirty.size(); ++k) {
            const int64_t g = Area(Union(dirty[k], r)) - Area(dirty[k]) - Area(r);
            if (g < growth) growth = g, best = k;
        }
        r = Union(dirty[best], r);
        dirty.erase(dirty.begin() + static_cast<std::ptrdiff_t>(best));
        // The grown rectangle may now meet others.
        MarkDirty(r.x, r.y, r.w, r.h);
        return;
    }
    dirty.push_back(r);
}

namespace {

// Wide enough for squares of any sum or difference of int coordinates.
__extension__ typedef __int128 Wide;

// The largest v >= 0 with v * v <= n.
int64_t ISqrt(Wide n) {
    if (n <= 0) return 0;
    int64_t v = static_cast<int64_t>(std::sqrt(static_cast<long double>(n)));
    while (v > 0 && static_cast<Wide>(v) * v > n) --v;
    while (static_cast<Wide>(v + 1) * (v + 1) <= n) ++v;
    return v;
}

// The pen's square around a point spans [p + lo, p + hi] on each axis, the
// odd pixel going right and down, as a square pen would.
struct Pen {
    int64_t lo, hi;
    explicit Pen(int drawWidth) {
        const int64_t w = std::max(1, drawWidth);
        lo = -(w - 1) / 2;
        hi = lo + w - 1;
    }
};

}  // namespace

void Surface::FillRect(int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t rgb) {
    x1 = std::max<int64_t>(x1, 0);
    y1 = std::max<int64_t>(y1, 0);
    x2 = std::min<int64_t>(x2, w_ - 1);
    y2 = std::min<int64_t>(y2, h_ - 1);
    if (x1 > x2 || y1 > y2) return;
    for (int64_t y = y1; y <= y2; ++y) std::fill(px_.begin() + y * w_ + x1, px_.begin() + y * w_ + x2 + 1, rgb);
    MarkDirty(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2 - x1 + 1), static_cast<int>(y2 - y1 + 1));
}

void Surface::FillBox(int x1, int y1, int x2, int y2, Colour c) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    FillRect(x1, y1, x2, y2, ToRGB(c));
}

void Surface::Dot(int x, int y, Colour c) {
    const Pen pen(DrawWidth);
    FillRect(x + pen.lo, y + pen.lo, int64_t{x} + pen.hi, int64_t{y} + pen.hi, ToRGB(c));
}

// The points of the line are those of the usual error-stepping walk from the
// first end to the second: the major coordinate moves one step at a time and
// the minor one is the nearest, halves rounding towards the second end. Each
// point gets a dot of the pen. Rather than walking, every row of the surface
// finds the run of points whose dots cover it, so lines far off the surface
// or of any length cost no more than the surface's height.
void Surface::Line(int x1, int y1, int x2, int y2, Colour c) {
    const Pen pen(DrawWidth);
    const int64_t a = std::abs(int64_t{x2} - x1), b = std::abs(int64_t{y2} - y1);
    const int64_t sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    const bool xMajor = a >= b;
    const int64_t n = std::max(a, b);
    const auto minorSteps = [&](int64_t k) -> int64_t {
        const Wide major = xMajor ? a : b, minor = xMajor ? b : a;
        return major == 0 ? 0 : static_cast<int64_t>((2 * minor * k + major) / (2 * major));
    };
    const auto stepsX = [&](int64_t k) { return xMajor ? k : minorSteps(k); };
    const auto stepsY = [&](int64_t k) { return xMajor ? minorSteps(k) : k; };
    // The first k in [0, n + 1] whose point is at least `t` steps along y.
    const auto firstWithStepsY = [&](int64_t t) {
        int64_t lo = 0, hi = n + 1;
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo) / 2;
            if (stepsY(mid) >= t) hi = mid; else lo = mid + 1;
        }
        return lo;
    };
    const uint32_t rgb = ToRGB(c);
    const int64_t top = std::max<int64_t>(std::min(y1, y2) + pen.lo, 0);
    const int64_t bottom = std::min<int64_t>(int64_t{std::max(y1, y2)} + pen.hi, Height() - 1);
    for (int64_t row = top; row <= bottom; ++row) {
        // The dots covering this row belong to points with y in [row - hi, row - lo].
        const int64_t from = sy > 0 ? row - pen.hi - y1 : y1 - row + pen.lo;
        const int64_t to = sy > 0 ? row - pen.lo - y1 : y1 - row + pen.hi;
        const int64_t k0 = firstWithStepsY(from), k1 = firstWithStepsY(to + 1) - 1;
        if (k0 > k1) continue;
        const int64_t xa = x1 + sx * stepsX(k0), xb = x1 + sx * stepsX(k1);
        FillRect(std::min(xa, xb) + pen.lo, row, std::max(xa, xb) + pen.hi, row, rgb);
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
    const Pen pen(DrawWidth);
    const uint32_t rgb = ToRGB(c);
    FillRect(x1 + pen.lo, y1 + pen.lo, x2 + pen.hi, y1 + pen.hi, rgb);
    FillRect(x1 + pen.lo, y2 + pen.lo, x2 + pen.hi, y2 + pen.hi, rgb);
    FillRect(x1 + pen.lo, y1 + pen.lo, x1 + pen.hi, y2 + pen.hi, rgb);
    FillRect(x2 + pen.lo, y1 + pen.lo, x2 + pen.hi, y2 + pen.hi, rgb);
}

void Surface::Circle(int cx, int cy, int r, Colour c) {
    if (r < 0) return;
    const uint32_t rgb = ToRGB(c);
    const int64_t w = std::max(1, DrawWidth);
    if (w == 1) {
        // The midpoint walk of the first octant visits (x(y), y) for y = 0, 1, ...
        // while x(y) >= y, where x(y) is the largest x with x(x - 1) < r² - y²;
        // the other seven octants mirror it. Only offsets that can land on the
        // surface as a row or a column are visited.
        const auto plot = [&](int64_t x, int64_t y) { FillRect(x, y, x, y, rgb); };
        if (r == 0) {
            plot(cx, cy);
            return;
        }
        const Wide r2 = Wide{r} * r;
        const auto xAt = [&](int64_t y) -> int64_t {
            const Wide m = r2 - Wide{y} * y;
            return m <= 0 ? -1 : (ISqrt(4 * m - 3) + 1) / 2;  // x(x - 1) <= m - 1
        };
        if (int64_t{cx} - r >= 0 && int64_t{cy} - r >= 0 && int64_t{cx} + r < w_ && int64_t{cy} + r < h_) {
            // All of it on the surface (a ring drawn on every battle tick):
            // one walk, written in place and recorded once.
            for (int64_t y = 0; y <= r; ++y) {
                const int64_t x = xAt(y);
                if (x < y) break;
                const int64_t pts[8][2] = {{x, y}, {y, x}, {-y, x}, {-x, y}, {-x, -y}, {-y, -x}, {y, -x}, {x, -y}};
                for (auto& p : pts) px_[static_cast<size_t>(cy + p[1]) * w_ + static_cast<size_t>(cx + p[0])] = rgb;
            }
            MarkDirty(cx - r, cy - r, 2 * r + 1, 2 * r + 1);
            return;
        }
        const int64_t ranges[4][2] = {{-int64_t{cy}, Height() - 1 - int64_t{cy}},
                                      {int64_t{cy} - Height() + 1, cy},
                                      {-int64_t{cx}, Width() - 1 - int64_t{cx}},
                                      {int64_t{cx} - Width() + 1, cx}};
        for (const auto& range : ranges)
            for (int64_t y = std::max<int64_t>(range[0], 0); y <= std::min<int64_t>(range[1], r); ++y) {
                const int64_t x = xAt(y);
                if (x < y) break;
                const int64_t pts[8][2] = {{x, y}, {y, x}, {-y, x}, {-x, y}, {-x, -y}, {-y, -x}, {y, -x}, {x, -y}};
                for (auto& p : pts) plot(cx + p[0], cy + p[1]);
            }
        return;
    }
    // A wide pen: the ring of pixels whose distance d from the centre has
    // r - w/2 <= d < r + w/2, worked in doubled units so it stays whole,
    // filled row by row.
    const Wide outer = 2 * Wide{r} + w, inner = 2 * Wide{r} - w;
    const int64_t reach = int64_t{r} + (w + 1) / 2;
    const int64_t top = std::max<int64_t>(int64_t{cy} - reach, 0);
    const int64_t bottom = std::min<int64_t>(int64_t{cy} + reach, Height() - 1);
    for (int64_t row = top; row <= bottom; ++row) {
        const Wide d = 4 * Wide{row - cy} * (row - cy);
        if (d >= outer * outer) continue;
        const int64_t xo = ISqrt((outer * outer - 1 - d) / 4);  // 4(x² + dy²) < outer²
        int64_t xi = 0;                                          // 4(x² + dy²) >= inner²
        if (inner > 0 && inner * inner > d) {
            const Wide q = (inner * inner - d + 3) / 4;
            xi = ISqrt(q);
            if (Wide{xi} * xi < q) ++xi;
        }
        if (xi > xo) continue;
        FillRect(cx - xo, row, cx - xi, row, rgb);
        FillRect(cx + xi, row, cx + xo, row, rgb);
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
    auto& d = dst.px_;
    dst.MarkDirty(x, y, w, h);
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
