// What the benchmark's two halves share: a figure row of the printed table.
#pragma once

#include <string>
#include <vector>

namespace bench {

// One row: a figure's samples (one per run) with its unit and goal.
struct Row {
    std::string figure;
    std::vector<double> samples;
    std::string unit;
    std::string goal;
    int decimals = 1;
};

// Prints rows as a Markdown table with min, median and max.
void PrintTable(const std::string& heading, const std::vector<Row>& rows);

// The figures taken in-process: block copies, the battle tick and an attack
// headless, the scripted winning game on the virtual clock, and the sound
// device idling with no window.
std::vector<Row> HeadlessFigures(int runs);

}  // namespace bench
