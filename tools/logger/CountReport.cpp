#include "tools/logger/CountReport.h"

std::string CountReport::update(long in, long out, long present) {
  const bool changed = samples_ == 0 || in != in_ || out != out_ || present != present_;
  ++samples_;
  in_ = in;
  out_ = out;
  present_ = present;
  if (!changed) return std::string();
  return "count IN " + std::to_string(in) + " OUT " + std::to_string(out) + " present " +
         std::to_string(present);
}

std::string CountReport::summary() const {
  std::string text = "Strolvex counted IN " + std::to_string(in_) + " OUT " + std::to_string(out_) +
                     " in " + std::to_string(samples_) + " samples";
  if (malformed_ > 0) text += " (" + std::to_string(malformed_) + " samples without three counts)";
  return text;
}
