// Starting and stopping the print spooler service.
#pragma once

enum SpoolerAction {
    SpoolerStart,
    SpoolerStop,
};

// 1 when the "Spooler" service is in the wanted state, 0 on failure, -1 when
// the state did not come within about five seconds.
int ControlSpooler(SpoolerAction action);
