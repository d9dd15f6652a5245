// Drives one Strolvex component through arbitrary sequences of scans, clock
// jumps, parameter changes and (de)activations, and checks after every cycle
// what its ports promise.
//
// The component, a port partner and the manager (contexts that run a cycle
// per tick, monitor off) are made once per process. Log messages
// are still formatted but go to /dev/null: thousands of inputs a second
// would flood any terminal.
// Every input starts from the same place: inactive, default parameters, no
// pending scan, a fresh random sequence, the clock at 0; then activated.
// Each input puts things back that way when it ends, so that it leaves no
// memory behind and libFuzzer's leak check stays quiet.
//
// Input encoding: a sequence of steps, each an operation byte (value % 16)
// followed by its arguments. Multi-byte numbers are little-endian; bytes past
// the end read as 0. The scan being prepared starts empty.
//   0           shape     u16 length (% 3001), reading: every step set to it
//   1, 8, 15    run       u16 first, u8 count-1, reading: steps first.. set to it
//   2, 14       readings  u16 first, u8 count-1 (% 32), that many readings
//   3, 9        send      the scan goes out, stamped with the next sequence number
//   4, 10, 11   cycle     one execution cycle, then the checks
//   5, 12       clock     u32 milliseconds added to the clock (it wraps at 2^32)
//   6, 13       parameter u8 parameter (% 12), u8 choice: below 128 an
//                         interesting value, otherwise u8 length (% 24) and
//                         that many bytes
//   7           toggle    deactivate when active, activate otherwise
// Activation is by far the dearest step, hence one code only and a cap.
// A reading is a u8 choice (% 16): 0 NaN, 1 +inf, 2 -inf, 3 -1000, 4 0,
// 5 -0, 6 0.5, 7 the smallest subnormal, 8 1e300, 9 DBL_MAX, 10 99 (just
// below where metres are suspected); 11..13 a typical range, u16 -> 100 +
// value % 5901 mm; 14, 15 a raw 8-byte double.
#include <rtm/Factory.h>

#include <cfloat>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>
#include <string>
#include <vector>

#include "component/Strolvex.h"
#include "component/StrolvexProfile.h"
#include "component/tests/PortProbe.h"
#include "component/tests/TestRuntime.h"

namespace {

const CORBA::ULong kLongestScan = 3000;
// The component's range_data port keeps this many unread scans: the
// middleware's default buffer of a connection.
const std::size_t kInPortCapacity = 8;
// Bounds the work of one input so that the fuzzer keeps its pace.
const int kMaxCyclesPerInput = 64;
const int kMaxActivationsPerInput = 8;
const int kParameterCount = 12;

struct Parameter {
  const char* name;
  const char* defaultValue;
  std::vector<const char*> interesting;
};

const Parameter kParameters[kParameterCount] = {
    {"Human_NUM", "6", {"1", "10", "11", "2"}},
    {"Environmental_maxdata", "4000", {"2800", "100000", "2000000000"}},
    {"LRFdata_min", "44", {"8", "9", "1090", "1091", "384"}},
    {"LRFdata_max", "725", {"8", "9", "726", "1090", "1091", "3000"}},
    {"LRFdata_mid", "384", {"8", "9", "1099", "1100", "-1100"}},
    {"LRFdata_theta", "360", {"180", "270", "720", "100000"}},
    {"LRF_Total_steps", "1024", {"2", "512", "4096"}},
    {"Human_width", "200", {"5000", "100000"}},
    {"Count_mode", "IN,OUT", {"OUT,IN", "in,out", "OUT,IN ", "OUT"}},
    {"Human_setdistance", "2800", {"4000", "4001", "2500"}},
    {"StrolvexData", "2500", {"100000", "4000"}},
    {"Count_area_distance", "2500", {"500", "499", "4000"}},
};

// Values worth trying on any parameter.
const std::vector<const char*> kAnyParameter = {
    "0", "-1", "1", "-2147483648", "2147483647", "2147483648", "-2147483649",
    "99999999999999999999", "", " 7", "7 ", "7x", "0x10", "1e3", "3.5", "+5", "nan"};

class InputBytes {
 public:
  InputBytes(const uint8_t* data, std::size_t size) : next_(data), end_(data + size) {}

  bool exhausted() const { return next_ == end_; }
  uint8_t byte() { return exhausted() ? 0 : *next_++; }
  uint16_t u16() {
    const uint16_t low = byte();
    return static_cast<uint16_t>(low | byte() << 8);
  }
  uint32_t u32() {
    const uint32_t low = u16();
    return low | static_cast<uint32_t>(u16()) << 16;
  }
  double rawDouble() {
    uint64_t bits = u32();
    bits |= static_cast<uint64_t>(u32()) << 32;
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

 private:
  const uint8_t* next_;
  const uint8_t* end_;
};

double reading(InputBytes& in) {
  const uint8_t choice = in.byte() % 16;
  switch (choice) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return -std::numeric_limits<double>::infinity();
    case 3: return -1000.0;
    case 4: return 0.0;
    case 5: return -0.0;
    case 6: return 0.5;
    case 7: return std::numeric_limits<double>::denorm_min();
    case 8: return 1e300;
    case 9: return DBL_MAX;
    case 10: return 99.0;
    case 11:
    case 12:
    case 13: return 100.0 + in.u16() % 5901;
    default: return in.rawDouble();
  }
}

std::string parameterValue(InputBytes& in, const Parameter& parameter) {
  const uint8_t choice = in.byte();
  if (choice < 128) {
    const std::size_t own = parameter.interesting.size();
    const std::size_t pick = choice % (own + kAnyParameter.size() + 1);
    if (pick == 0) return parameter.defaultValue;
    if (pick <= own) return parameter.interesting[pick - 1];
    return kAnyParameter[pick - own - 1];
  }
  std::string text(in.byte() % 24, '\0');
  for (char& c : text) c = static_cast<char>(in.byte());
  return text;
}

// A failed check is a finding: abort so that libFuzzer keeps the input.
void check(bool holds) {
  if (!holds) std::abort();
}

class FuzzedStrolvex : public Strolvex {
 public:
  explicit FuzzedStrolvex(RTC::Manager* manager) : Strolvex(manager) { setClock(&clock); }

  // Only while inactive: nothing an input leaves behind reaches the next one.
  void forgetInput() {
    while (m_range_dataIn.isNew()) m_range_dataIn.read();
    m_random = MsvcRandom();
    m_shortScanWarning = ShortScanWarning();
    m_reportedInvalidConfiguration.clear();
    clock.set(0);
  }

  // The parameters a cycle runs with (the bound variables follow a change
  // only after the cycle in which it was made).
  int32_t slots() const { return m_Human_NUM; }
  int32_t lastStep() const { return m_LRFdata_max; }
  bool configurationAllowsScans() const {
    return m_Human_NUM >= 1 && m_Human_NUM <= 10 && m_LRFdata_min >= 9 &&
           m_LRFdata_min <= 1090 && m_LRFdata_max >= m_LRFdata_min && m_LRFdata_max <= 1090 &&
           m_LRF_Total_steps > 0 && m_LRFdata_theta > 0;
  }

  ManualClock clock;
};

FuzzedStrolvex* strolvex = nullptr;
PortProbe* partner = nullptr;

bool isActive() { return testrt::state(strolvex) == RTC::ACTIVE_STATE; }

struct SentScan {
  CORBA::ULong stamp;
  CORBA::ULong length;
};

// What one input has done so far, for the checks.
struct Session {
  // What the component's in-port holds: the last kInPortCapacity scans not
  // yet read, read oldest first, one per active cycle.
  std::deque<SentScan> pending;
  CORBA::ULong sent = 0;
  int32_t countIn = 0;
  int32_t countOut = 0;
  uint64_t clockMs = 0;
  int cycles = 0;
  int activations = 0;
};

enum class Cycle { kOrdinary, kActivating, kDeactivating };
void cycleAndCheck(Session& session, Cycle kind);

// The transition takes effect at the cycle that follows the request; an
// activation's cycle already takes a waiting scan.
void activate(Session& session) {
  RTC::ExecutionContext_var context = strolvex->get_context(0);
  check(context->activate_component(strolvex->getObjRef()) == RTC::RTC_OK);
  ++session.activations;
  session.countIn = 0;
  session.countOut = 0;
  cycleAndCheck(session, Cycle::kActivating);
}

void deactivate(Session& session) {
  RTC::ExecutionContext_var context = strolvex->get_context(0);
  check(context->deactivate_component(strolvex->getObjRef()) == RTC::RTC_OK);
  cycleAndCheck(session, Cycle::kDeactivating);
}

// Brings the component back to where every input starts.
void settle() {
  if (isActive()) check(testrt::deactivate(strolvex) == RTC::INACTIVE_STATE);
  for (const Parameter& parameter : kParameters) {
    testrt::setParameter(strolvex, parameter.name, parameter.defaultValue);
  }
  strolvex->forgetInput();
  partner->drain();
}

void send(Session& session, const std::vector<double>& ranges) {
  const SentScan scan = {++session.sent, static_cast<CORBA::ULong>(ranges.size())};
  if (session.pending.size() == kInPortCapacity) session.pending.pop_front();
  session.pending.push_back(scan);
  partner->scan.tm.sec = scan.stamp;
  partner->scan.tm.nsec = 0;
  partner->scan.ranges.length(static_cast<CORBA::ULong>(ranges.size()));
  for (CORBA::ULong s = 0; s < ranges.size(); ++s) partner->scan.ranges[s] = ranges[s];
  partner->scanOut.write();
}

// An active cycle takes the oldest waiting scan; it is processed unless the
// configuration is invalid or the scan is shorter than LRFdata_max + 1. Each
// processed scan, and nothing else, writes all five outputs, stamped with
// that scan's time, with one element per slot. An ordinary cycle runs with
// the parameters bound before it (a change follows after the cycle); an
// activation binds them first.
void cycleAndCheck(Session& session, Cycle kind) {
  const bool active = kind == Cycle::kActivating || (kind == Cycle::kOrdinary && isActive());
  bool taken = false;
  SentScan scan = {0, 0};
  if (active && !session.pending.empty()) {
    taken = true;
    scan = session.pending.front();
    session.pending.pop_front();
  }
  const auto processes = [&] {
    return taken && strolvex->configurationAllowsScans() &&
           scan.length >= static_cast<CORBA::ULong>(strolvex->lastStep()) + 1;
  };
  bool processed = kind == Cycle::kOrdinary && processes();
  int32_t slots = strolvex->slots();
  testrt::tick(strolvex);
  ++session.cycles;
  if (kind == Cycle::kActivating) {
    processed = processes();
    slots = strolvex->slots();
  }
  const CORBA::ULong expectedStamp = scan.stamp;

  int samples[5] = {0, 0, 0, 0, 0};
  for (int output = 0; output < 5; ++output) {
    for (; partner->outputs[output].isNew(); ++samples[output]) partner->outputs[output].read();
  }
  for (int output = 0; output < 5; ++output) check(samples[output] == (processed ? 1 : 0));
  if (!processed) return;

  for (const RTC::TimedLongSeq& sample : partner->received) {
    check(sample.tm.sec == expectedStamp && sample.tm.nsec == 0);
  }

  for (int output = 0; output < PortProbe::kCount; ++output) {
    check(partner->received[output].data.length() == static_cast<CORBA::ULong>(slots));
  }
  const RTC::TimedLongSeq& counts = partner->received[PortProbe::kCount];
  check(counts.data.length() == 3);
  const int32_t in = counts.data[0];
  const int32_t out = counts.data[1];
  const int32_t present = counts.data[2];
  check(in >= session.countIn && out >= session.countOut);
  check(present >= 0 && present <= slots);
  session.countIn = in;
  session.countOut = out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("STROLVEX_MONITOR", "off", 1);
  // -f /dev/null: no rtc.conf from the working directory.
  testrt::managerOptions() = {"-f", "/dev/null", "-o", "logger.file_name:/dev/null"};
  testrt::registerType<FuzzedStrolvex>(kStrolvexProfile);
  const char* partnerProfile[] = {"implementation_id", "PortProbe", "type_name", "PortProbe",
                                  "category", "Test", ""};
  testrt::registerType<PortProbe>(partnerProfile);
  strolvex = static_cast<FuzzedStrolvex*>(testrt::create("Strolvex"));
  partner = static_cast<PortProbe*>(testrt::create("PortProbe"));
  check(strolvex != nullptr && partner != nullptr);
  check(testrt::connect(partner, "scan", strolvex, "range_data"));
  for (const char* port : kStrolvexOutputs) check(testrt::connect(strolvex, port, partner, port));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  InputBytes in(data, size);
  Session session;
  activate(session);
  std::vector<double> scan;
  while (!in.exhausted() && session.cycles < kMaxCyclesPerInput) {
    switch (in.byte() % 16) {
      case 0: {
        const CORBA::ULong length = in.u16() % (kLongestScan + 1);
        scan.assign(length, reading(in));
        break;
      }
      case 1:
      case 8:
      case 15: {
        const std::size_t first = in.u16();
        const std::size_t end = first + in.byte() + 1;
        const double value = reading(in);
        for (std::size_t s = first; s < end && s < scan.size(); ++s) scan[s] = value;
        break;
      }
      case 2:
      case 14: {
        const std::size_t first = in.u16();
        const std::size_t count = in.byte() % 32 + 1;
        for (std::size_t k = 0; k < count; ++k) {
          const double value = reading(in);
          if (first + k < scan.size()) scan[first + k] = value;
        }
        break;
      }
      case 3:
      case 9:
        send(session, scan);
        break;
      case 4:
      case 10:
      case 11:
        cycleAndCheck(session, Cycle::kOrdinary);
        break;
      case 5:
      case 12:
        session.clockMs += in.u32();
        strolvex->clock.set(wrapMilliseconds(session.clockMs));
        break;
      case 6:
      case 13: {
        const Parameter& parameter = kParameters[in.byte() % kParameterCount];
        testrt::setParameter(strolvex, parameter.name, parameterValue(in, parameter));
        break;
      }
      default:
        if (isActive()) {
          deactivate(session);
        } else if (session.activations < kMaxActivationsPerInput) {
          activate(session);
        }
        break;
    }
  }
  settle();
  return 0;
}
