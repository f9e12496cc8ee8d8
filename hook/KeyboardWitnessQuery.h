#pragma once
// How another process finds the witness's hidden window (by its name) and
// asks it how many hooks it has reinstalled so far: for tests and diagnostics.

#include <windows.h>

constexpr char kKeyboardWitnessName[] = "MarnellKeyboardWitness";
constexpr UINT kWitnessReinstallsQuery = WM_APP + 0x57;
