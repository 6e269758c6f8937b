// Text on surfaces in the platform's default face: readying the face,
// measuring text, and the blend that lays its coverage over a background.
// Surface::Print draws it.
#pragma once
#include <cstdint>
#include <string>

#include "surface.h"

namespace plat {
// Starts readying the text (its libraries, the face) on a thread of its own,
// beside whatever the caller does next; the first text waits for it. Call
// after SetProgramName (program_name.h).
void PrepareText();
// Waits for that readying, if it is under way: the program ends before its
// first text.
void FinishPreparingText();
// Width in pixels of a text in the surface's current style.
int TextWidth(const Surface& s, const std::string& utf8);

// One colour channel of text laid over a background with coverage `alpha`
// (all three 0 to 255): dst + (src - dst) * alpha / 255, the quotient cut
// towards zero.
inline uint32_t BlendChannel(uint32_t dst, uint32_t src, uint32_t alpha) {
    return src >= dst ? dst + (src - dst) * alpha / 255 : dst - (dst - src) * alpha / 255;
}
}  // namespace plat
