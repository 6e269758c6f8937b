// The battle tick.
#include "form1.h"

namespace game {

void Form1::Timer2_Timer() {
    // Walk the frames and draw every sprite; the rest of the tick comes with
    // the battle rules.
    for (i = 0; i <= 6; ++i) {
        if (CharDown[i] == 0) CharAnimFrame[i] = static_cast<int16_t>(-CharAnimFrame[i]);
        DrawChar = static_cast<uint8_t>(i);
        PutC(CharX[i], CharY[i], CharAnimFrame[i]);
    }
}

}  // namespace game
