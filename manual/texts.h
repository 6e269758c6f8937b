// The manual's fixed texts: the explanation pages, the character pages, the
// prologue and the epilogue. An empty string is a blank line that keeps its
// place, so the lines after it do not move up.
#pragma once

namespace manual::texts {

struct PageLines {
    const char* const* lines;
    int count;
};

// Explanation pages of menu items 1 to 12, lines 0 to count - 1; [0] unused.
extern const PageLines Pages[13];
// Character pages of menu items 13, 14 and 15, lines in their page order.
extern const PageLines People[3];
// The prologue: page 0 to 13, line 0 to 20.
extern const char* const ProText[14][21];
// The epilogue story: entries 1 to 97; [0] unused.
extern const char* const EpilogueLines[98];

}  // namespace manual::texts
