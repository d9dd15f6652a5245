#include "monitor/Monitor.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "monitor/MonitorFrame.h"
#include "monitor/MonitorOutput.h"
#include "monitor/MonitorSnapshot.h"
#include "monitor/MonitorWindow.h"
#include "monitor/PngFrameFile.h"

namespace {

// One monitor per process, shared by every component instance; instances
// may run on different execution context threads.
struct MonitorState {
  std::mutex mutex;
  bool outputChosen = false;
  MonitorOutput output;
  MonitorWindow window;
  bool pngFailureReported = false;
  MonitorSnapshot snapshot{};  // all zero: the first frame shows the axes alone
};

// Never destroyed: an execution context thread may still pump while the
// process exits.
MonitorState& monitorState() {
  static MonitorState* state = new MonitorState();
  return *state;
}

const MonitorOutput& chosenOutput(MonitorState& state) {
  if (!state.outputChosen) {
    state.output =
        chooseMonitorOutput(std::getenv("STROLVEX_MONITOR"), &canOpenDisplay);
    std::fprintf(stderr, "Strolvex monitor: %s\n",
                 state.output.description.c_str());
    state.outputChosen = true;
  }
  return state.output;
}

void writePng(MonitorState& state, const std::string& path) {
  if (writeFramePng(composeMonitorFrame(state.snapshot), path)) return;
  if (state.pngFailureReported) return;
  std::fprintf(stderr, "Strolvex monitor: cannot write %s\n", path.c_str());
  state.pngFailureReported = true;
}

void paintMonitor(MonitorState& state) {
  const MonitorOutput& output = chosenOutput(state);
  switch (output.kind) {
    case MonitorOutput::kWindow:
      if (state.window.isOpen()) {
        state.window.show(composeMonitorFrame(state.snapshot));
      }
      break;
    case MonitorOutput::kPng:
      writePng(state, output.path);
      break;
    case MonitorOutput::kOff:
      break;
  }
}

void createMonitorWindow(MonitorState& state) {
  if (!state.window.isOpen()) state.window.create();
}

}  // namespace

// A window closed since the last activation is opened anew.
void openMonitorWindow() {
  MonitorState& state = monitorState();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (chosenOutput(state).kind == MonitorOutput::kWindow) {
    // A close that came while no cycle ran is noticed before deciding
    // whether a new window is needed.
    state.window.handlePendingEvents();
    createMonitorWindow(state);
    state.window.handlePendingEvents();
  }
  paintMonitor(state);
}

// With the monitor off no frame is ever drawn, so there is nothing to keep.
void snapshotScan(const ScanWork* scanWork, int trackCount) {
  if (scanWork == nullptr) return;
  MonitorState& state = monitorState();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (chosenOutput(state).kind == MonitorOutput::kOff) return;
  takeScanSnapshot(state.snapshot, *scanWork, trackCount);
}

void snapshotTracks(const TrackRecord* tracks) {
  if (tracks == nullptr) return;
  MonitorState& state = monitorState();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (chosenOutput(state).kind == MonitorOutput::kOff) return;
  takeTrackSnapshot(state.snapshot, tracks);
}

void pumpMonitorMessages() {
  MonitorState& state = monitorState();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (chosenOutput(state).kind == MonitorOutput::kWindow) {
    state.window.handlePendingEvents();
  }
  paintMonitor(state);
}
