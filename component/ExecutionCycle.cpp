#include <cstdlib>

#include "component/Strolvex.h"
#include "monitor/Monitor.h"

RTC::ReturnCode_t Strolvex::onActivated(RTC::UniqueId) {
  openMonitorWindow();
  if (!initTrackingState()) {
    RTC_ERROR(("not enough memory for the tracking state (%u bytes); activation refused",
               static_cast<unsigned>(2 * kSlotTableSize * sizeof(TrackRecord) + sizeof(ScanWork))));
    return RTC::RTC_ERROR;
  }
  return RTC::RTC_OK;
}

RTC::ReturnCode_t Strolvex::onDeactivated(RTC::UniqueId) {
  releaseTrackingState();
  return RTC::RTC_OK;
}

RTC::ReturnCode_t Strolvex::onExecute(RTC::UniqueId) {
  if (!m_range_dataIn.isNew()) return RTC::RTC_OK;
  if (admitScan()) processScan();
  return RTC::RTC_OK;
}

void Strolvex::processScan() {
  readScan();
  filterIsolatedSteps(10, 9);
  extractSegments();
  trackerStep();
  snapshotScan(m_scanWork, m_Human_NUM);
  snapshotTracks(m_tracks);
  pumpMonitorMessages();
  publishResults();
}

void* Strolvex::allocateZeroed(std::size_t bytes) { return std::calloc(1, bytes); }

bool Strolvex::initTrackingState() {
  // A runtime may activate again without a deactivation in between (after
  // an error): blocks still held are given back, not lost.
  releaseTrackingState();
  m_tracks = static_cast<TrackRecord*>(allocateZeroed(kSlotTableSize * sizeof(TrackRecord)));
  m_trackScratch = static_cast<TrackRecord*>(allocateZeroed(kSlotTableSize * sizeof(TrackRecord)));
  m_scanWork = static_cast<ScanWork*>(allocateZeroed(sizeof(ScanWork)));
  if (m_tracks == nullptr || m_trackScratch == nullptr || m_scanWork == nullptr) {
    releaseTrackingState();
    return false;
  }

  m_pointX = 0.0;
  m_pointY = 0.0;
  m_pointAngle = 0.0;
  m_pointRange = 0.0;
  m_countIn = 0;
  m_countOut = 0;
  m_countPresent = 0;
  for (int i = 0; i < kSlotTableSize; ++i) {
    for (int j = 0; j < kSlotTableSize; ++j) m_assocPair[i][j] = 0;
    TrackRecord& track = m_tracks[i];
    track.track_id = 1;
    for (int k = 0; k < kParticleCount; ++k) {
      track.particle_y[k] = kEmptyValue;
      track.particle_x[k] = kEmptyValue;
      track.est_y[k] = kEmptyValue;
      track.est_x[k] = kEmptyValue;
      track.path_y[k] = kEmptyValue;
      track.path_x[k] = kEmptyValue;
      track.est_range[k] = kEmptyValue;
    }
    m_openFirst[i] = 0;
    m_openLast[i] = 0;
    m_candBearing[i] = 0.0;
    m_candRange[i] = 0.0;
    m_candMidStep[i] = 0;
    m_segSteps[i].first_step = 0;
    m_segSteps[i].last_step = 0;
  }
  for (int s = 0; s < kScanSteps; ++s) {
    m_segFirstX[s] = 0.0;
    m_segFirstY[s] = 0.0;
    m_segLastX[s] = 0.0;
    m_segLastY[s] = 0.0;
    m_segWidth[s] = 0.0;
  }
  m_unitsWarningGiven = false;
  return true;
}

void Strolvex::releaseTrackingState() {
  std::free(m_tracks);
  std::free(m_trackScratch);
  std::free(m_scanWork);
  m_tracks = nullptr;
  m_trackScratch = nullptr;
  m_scanWork = nullptr;
}
