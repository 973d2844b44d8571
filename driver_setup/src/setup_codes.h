// Result codes of a driver-setup run; the code of a run is its exit code.
#pragma once

enum SetupCode {
    SetupSucceeded = 0,
    SetupUnsupportedWindows = -1,
    SetupAlreadyRunning = -2,
    SetupNoProgramPath = -3,
    SetupNoConfigFile = -4,
    SetupNoSetup64 = -5,
    SetupBadArguments = -6,
    SetupNoOsEntry = -17,
    SetupNoDriverList = -18,
    SetupNoInfName = -19,
    SetupNoFileList = -20,
    SetupNoGroupCount = -25,
    SetupNoGroupName = -26,
    SetupBadTargetKind = -27,
    SetupDriverStoreFailed = -33,
    SetupSystemCopyFailed = -34,
    SetupSystemX86CopyFailed = -35,
    SetupTargetCopyFailed = -36,
    SetupSpoolerNotStopped = -54,
    // The install step was called without a complete configuration.
    SetupNotReady = 255,
};
