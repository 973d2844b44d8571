// Deleting the installed files and the install folder at uninstall. Every
// failure is reported to the user where it happens (owner g_hwndOwner).
#pragma once

// Deletes one file. True when it is gone afterwards (deleted now or not there
// at all); false after telling the user that it stays.
bool RemoveFile(const char* path);

// Empties and removes folder (with or without trailing separator) and every
// subfolder. Files left over after the listed ones were deleted are asked
// for one by one unless "RemoveNone" or "CopyAll" decides; "CopyAll" decides
// only for a folder that the install made itself (InstallFolderExisted). A
// folder link is neither entered nor removed, and keeps the folders above it;
// each folder is looked at again as it is entered. A listed name that changed
// on its way to this program stays, and is reported once (message 41). True
// when the folder is gone or was never there; false when anything stayed or
// the user chose Cancel, which stops the whole tree at once.
bool RemoveFolderTree(const char* folder);
