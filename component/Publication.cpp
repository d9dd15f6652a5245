#include "component/PublishedValue.h"
#include "component/Strolvex.h"

namespace {

// One element per slot in use, busy or free, so that element k of every
// per-slot port describes slot k + 1.
template <typename SlotValue>
void fillPerSlot(RTC::TimedLongSeq& sample, const RTC::Time& scanTime, int32_t slots,
                 SlotValue valueOfSlot) {
  sample.tm = scanTime;
  sample.data.length(static_cast<CORBA::ULong>(slots));
  for (int32_t k = 0; k < slots; ++k) {
    sample.data[static_cast<CORBA::ULong>(k)] = toPublishedInteger(valueOfSlot(k + 1));
  }
}

}  // namespace

void Strolvex::publishResults() {
  const int32_t n = m_Human_NUM;
  // Outputs carry the time of the scan they were computed from.
  const RTC::Time& scanTime = m_range_data.tm;
  const TrackRecord* tracks = m_tracks;

  fillPerSlot(m_human_dataX, scanTime, n, [tracks](int i) { return tracks[i].est_x[1]; });
  m_human_dataXOut.write();
  fillPerSlot(m_human_dataY, scanTime, n, [tracks](int i) { return tracks[i].est_y[1]; });
  m_human_dataYOut.write();
  fillPerSlot(m_human_dataV, scanTime, n, [tracks](int i) { return tracks[i].speed_hist[1]; });
  m_human_dataVOut.write();
  fillPerSlot(m_human_dataT, scanTime, n, [tracks](int i) { return tracks[i].heading_hist[1]; });
  m_human_dataTOut.write();

  m_count_data.tm = scanTime;
  m_count_data.data.length(3);
  m_count_data.data[0] = m_countIn;
  m_count_data.data[1] = m_countOut;
  m_count_data.data[2] = m_countPresent;
  m_count_dataOut.write();

  // The next scan starts with empty segment slots and no one present.
  for (int32_t i = 1; i <= n; ++i) {
    m_openFirst[i] = 0;
    m_openLast[i] = 0;
    m_segSteps[i].first_step = 0;
    m_segSteps[i].last_step = 0;
  }
  m_countPresent = 0;
}
