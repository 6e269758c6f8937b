// The clear file: the one thing a won game leaves for the manual. The game
// writes it, the manual reads it; both take its name and marker from here.
#pragma once

namespace kit {

// Beside the sound effects, under the program folder (appPath).
inline constexpr char ClearFileName[] = "se\\da.txt";
// The six letters a won game writes as the file's first line.
inline constexpr char ClearMarker[] = "KOLTEV";

}  // namespace kit
