#pragma once

// While installed, every C++ exception thrown anywhere in the process (any thread, any
// library, caught later or not) writes the call stack of its throw point to the run log as
// one entry: one line per frame with the module's file name, the offset from the module's
// base, and the function with the offset into it. No absolute addresses are written.
//
// Works by taking over the C++ runtime's __cxa_throw in the executable, so it needs an
// executable built with exported symbols (tavlo_executable).
void InstallExceptionTrace();
void RemoveExceptionTrace();
