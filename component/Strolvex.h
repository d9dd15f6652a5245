// The Strolvex component: tracks people and counts their passes in the scans
// of a fixed 2D laser range finder.
#ifndef STROLVEX_COMPONENT_STROLVEX_H
#define STROLVEX_COMPONENT_STROLVEX_H

#include <rtm/idl/BasicDataTypeSkel.h>
#include <rtm/idl/ExtendedDataTypesSkel.h>
#include <rtm/idl/InterfaceDataTypesSkel.h>
#include <rtm/DataFlowComponentBase.h>
#include <rtm/InPort.h>
#include <rtm/Manager.h>
#include <rtm/OutPort.h>

#include <cstdint>
#include <string>

#include "component/ShortScanWarning.h"
#include "scan/ScanWork.h"
#include "tracker/ElapsedClock.h"
#include "tracker/MsvcRandom.h"
#include "tracker/TrackRecord.h"

class PassCountingObserver;

struct SegmentSteps {
  int32_t first_step;
  int32_t last_step;
};

class Strolvex : public RTC::DataFlowComponentBase {
 public:
  explicit Strolvex(RTC::Manager* manager);
  ~Strolvex() override;

  RTC::ReturnCode_t onInitialize() override;
  RTC::ReturnCode_t onActivated(RTC::UniqueId exec_handle) override;
  RTC::ReturnCode_t onDeactivated(RTC::UniqueId exec_handle) override;
  RTC::ReturnCode_t onExecute(RTC::UniqueId exec_handle) override;

  // Replaces the tracker's time source (not owned); null restores the
  // monotonic clock. Replay uses it to run a recording at its own pace.
  void setClock(ElapsedClock* clock);
  // Shows pass counting, slot by slot, to observer (not owned; null for
  // none). The sweep counts under other counting distances with it.
  void setPassCountingObserver(PassCountingObserver* observer);

 protected:
  // Execution cycle.
  bool initTrackingState();
  void releaseTrackingState();
  // The processing chain of one admitted scan, publication included.
  void processScan();
  // Zero-filled storage for one heap block; null when it cannot be had.
  virtual void* allocateZeroed(std::size_t bytes);
  bool admitScan();
  bool configurationIsValid();
  bool scanIsLongEnough();
  void warnIfScanLooksLikeMetres();

  // Scan intake and segments.
  void readScan();
  void filterIsolatedSteps(int window, int minNeighbours);
  void extractSegments();
  void stepToPoint(int32_t step);

  // Tracker.
  void trackerStep();
  void measureCandidates(TrackRecord* tracks);
  void associateCandidates(TrackRecord* tracks);
  int32_t findFreeSlot(const int32_t* ids, int mode);
  void drawForCycle();
  int32_t bindingsOf(int i);
  int predictionDraws(int i);
  void resampleParticles();
  void predictParticles();
  void weighParticles(int i);
  void estimatePositions();
  void updateMotion(int i);
  void updateAgeing(int i);
  void releaseStaleTracks();
  void releaseSlot(TrackRecord& track);
  int32_t drawRandom() { return m_random.next(); }
  int32_t readClock() { return m_clock->nowMs(); }

  // Publication.
  void publishResults();

  // Working state, in this order.
  ScanWork* m_scanWork;
  double m_segFirstX[kScanSteps];
  double m_segFirstY[kScanSteps];
  double m_segLastX[kScanSteps];
  double m_segLastY[kScanSteps];
  double m_segWidth[kScanSteps];
  SegmentSteps m_segSteps[kSlotTableSize];
  int32_t m_openFirst[kSlotTableSize];
  int32_t m_openLast[kSlotTableSize];
  double m_pointX;
  double m_pointY;
  double m_pointAngle;
  double m_pointRange;
  double m_candBearing[kSlotTableSize];
  double m_candRange[kSlotTableSize];
  int32_t m_candMidStep[kSlotTableSize];
  int32_t m_countIn;
  int32_t m_countOut;
  int32_t m_countPresent;
  int32_t m_assocPair[kSlotTableSize][kSlotTableSize];
  TrackRecord* m_tracks;
  TrackRecord* m_trackScratch;

  // Configuration.
  int32_t m_Human_NUM;
  int32_t m_Environmental_maxdata;
  int32_t m_LRFdata_min;
  int32_t m_LRFdata_max;
  int32_t m_LRFdata_mid;
  int32_t m_LRFdata_theta;
  int32_t m_LRF_Total_steps;
  int32_t m_Human_width;
  std::string m_Count_mode;
  int32_t m_Human_setdistance;
  int32_t m_StrolvexData;
  int32_t m_Count_area_distance;

  // Ports.
  RTC::RangeData m_range_data;
  RTC::InPort<RTC::RangeData> m_range_dataIn;
  RTC::TimedLongSeq m_human_dataX;
  RTC::OutPort<RTC::TimedLongSeq> m_human_dataXOut;
  RTC::TimedLongSeq m_human_dataY;
  RTC::OutPort<RTC::TimedLongSeq> m_human_dataYOut;
  RTC::TimedLongSeq m_human_dataV;
  RTC::OutPort<RTC::TimedLongSeq> m_human_dataVOut;
  RTC::TimedLongSeq m_human_dataT;
  RTC::OutPort<RTC::TimedLongSeq> m_human_dataTOut;
  RTC::TimedLongSeq m_count_data;
  RTC::OutPort<RTC::TimedLongSeq> m_count_dataOut;

  // Determinism and input guards.
  MsvcRandom m_random;
  // This cycle's draws, generated up front in the order the slots take
  // them (each slot's resampling draws, then its prediction draws), and
  // where each slot's share starts.
  int32_t m_cycleDraws[kMaxSlots * 3 * kParticleCount];
  int32_t m_resampleDrawsAt[kSlotTableSize];
  int32_t m_predictionDrawsAt[kSlotTableSize];
  MonotonicClock m_monotonicClock;
  ElapsedClock* m_clock;
  PassCountingObserver* m_passObserver;
  std::string m_reportedInvalidConfiguration;
  ShortScanWarning m_shortScanWarning;
  bool m_unitsWarningGiven;
};

#endif
