// A scene that keeps every track slot busy, for measuring the per-scan cost
// under load: the simulator's room with a group of people standing in the
// ring where tracks start, each swaying on a small loop of their own.
#ifndef STROLVEX_BENCH_BUSYSCENE_H
#define STROLVEX_BENCH_BUSYSCENE_H

#include <vector>

#include "tools/scanlog/ScanLog.h"
#include "tools/simulator/Scene.h"

class BusyScene {
 public:
  explicit BusyScene(int people);

  // Scan n, taken at n * 100 ms, in whole millimetres like a real scanner.
  // Scan 0 shows the empty room (it becomes the background); the people
  // are there from scan 1 on. The sway repeats every 40 s (400 scans).
  void render(int n, ScanRecord& scan) const;

 private:
  int people_;
  SensorLayout layout_;
  std::vector<Vec2> directions_;
  std::vector<double> roomRanges_;
};

#endif
