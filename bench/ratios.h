// Each benchmark that measures a figure against its yardstick reports the ratio here; the
// benchmark's main prints them all on its last line, for scripts to read.
#pragma once

#include <string>
#include <vector>

namespace bench {

// Records (or replaces) the ratio of the named figure to its yardstick.
void ReportRatio(const std::string& name, double ratio);

// "RATIOS name=1.234 name=0.987", in the order the figures were first reported.
std::string RatiosLine();

// CPU time of the calling thread, kernel time included (the reads' copies and page faults are
// kernel time). Unlike the wall clock it does not count the time other processes take the CPU.
double ThreadCpuMilliseconds();

// Median of the values (0 when there are none); single runs on a shared machine scatter.
double Median(std::vector<double> values);

}  // namespace bench
