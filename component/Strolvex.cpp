#include "component/Strolvex.h"

Strolvex::Strolvex(RTC::Manager* manager)
    : RTC::DataFlowComponentBase(manager),
      // Null until activation, so that a cycle or a destruction before it
      // finds no tracking state rather than stale pointers.
      m_scanWork(nullptr),
      m_tracks(nullptr),
      m_trackScratch(nullptr),
      m_range_dataIn("range_data", m_range_data),
      m_human_dataXOut("human_dataX", m_human_dataX),
      m_human_dataYOut("human_dataY", m_human_dataY),
      m_human_dataVOut("human_dataV", m_human_dataV),
      m_human_dataTOut("human_dataT", m_human_dataT),
      m_count_dataOut("count_data", m_count_data),
      m_clock(&m_monotonicClock),
      m_passObserver(nullptr),
      m_unitsWarningGiven(false) {}

// A manager may delete the component while it is still active.
Strolvex::~Strolvex() { releaseTrackingState(); }

RTC::ReturnCode_t Strolvex::onInitialize() {
  addInPort("range_data", m_range_dataIn);
  addOutPort("human_dataX", m_human_dataXOut);
  addOutPort("human_dataY", m_human_dataYOut);
  addOutPort("human_dataV", m_human_dataVOut);
  addOutPort("human_dataT", m_human_dataTOut);
  addOutPort("count_data", m_count_dataOut);

  // Same defaults as the profile's conf.default set.
  bindParameter("Human_NUM", m_Human_NUM, "6");
  bindParameter("Environmental_maxdata", m_Environmental_maxdata, "4000");
  bindParameter("LRFdata_min", m_LRFdata_min, "44");
  bindParameter("LRFdata_max", m_LRFdata_max, "725");
  bindParameter("LRFdata_mid", m_LRFdata_mid, "384");
  bindParameter("LRFdata_theta", m_LRFdata_theta, "360");
  bindParameter("LRF_Total_steps", m_LRF_Total_steps, "1024");
  bindParameter("Human_width", m_Human_width, "200");
  bindParameter("Count_mode", m_Count_mode, "IN,OUT");
  bindParameter("Count_area_distance", m_Count_area_distance, "2500");
  bindParameter("Human_setdistance", m_Human_setdistance, "2800");
  bindParameter("StrolvexData", m_StrolvexData, "2500");
  return RTC::RTC_OK;
}

void Strolvex::setClock(ElapsedClock* clock) {
  m_clock = clock != nullptr ? clock : &m_monotonicClock;
}

void Strolvex::setPassCountingObserver(PassCountingObserver* observer) {
  m_passObserver = observer;
}
