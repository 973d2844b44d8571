// "CopyAll": the whole source tree (the current directory during the install
// run) listed once in g_copyAllList, then copied entry by entry.
#pragma once

// Most files a CopyAll tree may hold; a larger tree copies none of them.
enum { kCopyAllCapacity = 1000 };

// Fills g_copyAllList from the current directory's tree, depth-first; folder
// links are not followed, also one that replaced a folder after it was
// listed. A name that changed on its way to this program is skipped and
// reported once (message 41, owner g_hwndOwner). The number of files, or -1
// when the collection failed (more than kCopyAllCapacity files, a relative
// path that does not fit a list slot, or no memory for the list).
int CollectCopyAllFiles();

// Makes CopyAll entry n current: g_entryName = the relative path, and
// g_entryTarget = g_installDir followed by it. False when the target path
// does not fit or does not lie below g_installDir.
bool SelectCopyAllEntry(int n);
