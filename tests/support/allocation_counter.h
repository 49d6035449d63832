// Counts heap allocations made through operator new while counting is on,
// so a test can show that the firmware allocates nothing.
#pragma once

namespace kvr9::testing {

void StartCountingAllocations();
long StopCountingAllocations();  // allocations since the start

}  // namespace kvr9::testing
