// Counts the allocations made through global operator new in a test
// program. Linking HeapCounter.cpp into a program replaces the global
// allocation functions for that whole program, so the tests that use it run
// as programs of their own.
#pragma once

#include <cstddef>

namespace transref::testing {

// Number of global operator new / new[] calls since the program started.
std::size_t HeapAllocations();

}  // namespace transref::testing
