// The fixed-size record of one track slot and the rule by which its
// histories grow.
#ifndef STROLVEX_TRACKER_TRACKRECORD_H
#define STROLVEX_TRACKER_TRACKRECORD_H

#include <cstdint>

// Marks a coordinate, range or particle that holds no value.
const double kEmptyValue = 100000.0;

const int kParticleCount = 100;
const int kSlotTableSize = 11;  // slots 1..10; entry 0 is never used
const int kMaxSlots = 10;

// Plain record: allocated zero-filled, no constructor. Histories keep the
// newest value at entry 1; entry 0 is never used.
struct TrackRecord {
  double speed_hist[11];    // mm/s, depth 10
  double heading_hist[11];  // degrees, depth 10
  int32_t assoc_clock;      // ms, latest binding
  int32_t prev_assoc_clock; // ms, the binding before
  double meas_y[100];       // candidate of this slot, depth 100
  double meas_x[100];
  double est_y[100];        // estimated position, depth 100
  double est_x[100];
  double est_range[100];    // distance of the estimate from the sensor
  double est_bearing[100];  // negated bearing of the estimate, degrees
  double path_y[100];       // bound measurements, depth 10
  double path_x[100];
  int32_t track_id;         // 1 = free, else the prime of the slot position
  int32_t stale_count;
  int32_t near_slow_count;
  int32_t far_count;
  int32_t behind_count;
  int32_t est_behind_count;
  int32_t pass_state;       // 0 idle, 1/2 armed, 3 counted
  double particle_y[100];
  double particle_x[100];
  double obs_y[100];        // entry 1: measurement last bound to the track
  double obs_x[100];
  double particle_weight[100];
};

// Inserts value at entry position of a history, shifting older entries up
// to entry depth but never beyond the history's last entry; the value that
// stood in the last kept entry is dropped.
template <int Size>
void pushHistory(double (&history)[Size], int depth, double value,
                 int position) {
  const int last = depth < Size - 1 ? depth : Size - 1;
  for (int k = last; k > position; --k) history[k] = history[k - 1];
  history[position] = value;
}

#endif
