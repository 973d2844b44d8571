// The hand-over marker: a file in the system directory that tells an
// uninstall is under way. The instance that hands over creates it, the copy
// deletes it; both build its path here.
#pragma once

// "<system directory>\<install key>.tmp" into path (kPathSize), the install
// key made a plain file name: characters that no file name may hold or that
// would name a stream (":"), separators, control and wildcard characters, and
// a trailing dot or blank become "_", and a device name (CON, NUL, COM1, ...,
// also with an extension) gets a "_" in front. False when it does not fit.
bool FormatMarkerPath(char* path);
