// The benchmarks' clock: the best of several runs of a piece of work.
#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>

// Seconds taken by the fastest of `repeat` runs.
inline double BestSeconds(int repeat, const std::function<void()>& work) {
  LARGE_INTEGER frequency, t0, t1;
  QueryPerformanceFrequency(&frequency);
  double best = 1e30;
  for (int i = 0; i < repeat; ++i) {
    QueryPerformanceCounter(&t0);
    work();
    QueryPerformanceCounter(&t1);
    best = std::min(best, static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(frequency.QuadPart));
  }
  return best;
}
