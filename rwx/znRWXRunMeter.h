// The figures of a batch run in progress, as the converter and the
// program's save window show them: objects done of the total, bytes
// written, the rate and an estimate of the time left.
#pragma once

#include <cstdint>
#include <string>

struct TznRunFigures {
  int Done = 0;        // objects done, those of a resumed run included
  int Count = 0;       // objects of the run
  int64_t Bytes = 0;   // bytes written by this run
  int DoneHere = 0;    // objects this run did itself
  double Seconds = 0;  // since this run started
};

// "1234 of 56789 objects, 12.3 MB, 2468 objects/s, 22 s left"; the rate
// and the time left once this run has done an object and half a second
// has passed.
std::string RunFiguresText(const TznRunFigures& figures);
// The same without the objects: "12.3 MB, 2468 objects/s, 22 s left".
std::string RunFlowText(const TznRunFigures& figures);

// A span of seconds as "45 s", "3 min 07 s" or "2 h 05 min".
std::string DurationText(double seconds);
