// Counts the calls of the global allocation operators of this test program
// while counting is on.
#ifndef STROLVEX_COMPONENT_TESTS_ALLOCATIONCOUNTER_H
#define STROLVEX_COMPONENT_TESTS_ALLOCATIONCOUNTER_H

#include <cstddef>

namespace allocation_counter {

void start();
// Stops counting; the number of allocations and their bytes since start().
std::size_t stop(std::size_t* bytes = nullptr);

}  // namespace allocation_counter

#endif
