#pragma once
// Identifiers of the resources in zkconfig.rc, shared by the resource script and the code that
// loads them (so plain macros: the resource compiler reads no C++).

// The program's icon; Explorer shows the first icon of an executable, so it has the lowest id.
#define ZK_PROGRAM_ICON 1
