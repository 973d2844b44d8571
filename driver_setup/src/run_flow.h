// The two runs of the driver installer: Setup (32-bit, hands over to Setup64
// on 64-bit Windows) and Setup64. Each returns the exit code of the program.
#pragma once

int RunSetup();
int RunSetup64();
