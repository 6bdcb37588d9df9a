#pragma once

#include <vector>

// Milliseconds from an arbitrary origin, at the performance counter's
// resolution.
double NowMs();

double Median(std::vector<double> values);
double Worst(const std::vector<double>& values);

// One row of the table that tools/bench.sh prints: a figure, its baseline
// measured in the same run and what that baseline is, their unit, and the
// goal the figure is held to (empty for none).
void PrintRow(const char* figure, double value, double baseline, const char* baselineName, const char* unit,
              const char* goal = "");
