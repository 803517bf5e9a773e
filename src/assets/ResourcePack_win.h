#pragma once
// Pieces of the Windows work-folder choice, exposed for the Win32 tests.
#include <string>

namespace nerith {

// True when a file can be created (and deleted again) in `folder` (which ends in a backslash).
bool IsFolderWritable(const std::string& folder);

// The per-user work folder "<localAppData>\NerithScr\", created when missing. When it holds no
// PondelSet.ini yet, the one in `windowsFolder` (if any) is copied there first. Returns the folder
// with a trailing backslash, or an empty string when it cannot be made.
std::string PerUserWorkFolder(const std::string& windowsFolder, const std::string& localAppData);

// The current user's local application-data folder, empty when unknown.
std::string LocalAppDataFolder();

// Makes the work-folder decision take the per-user branch as if the Windows directory took no new
// files (the instrumented build does this on request, so that the branch runs in its tests).
// Has an effect only before the first WorkFolder call.
void ForcePerUserWorkFolder();

}  // namespace nerith
