#pragma once

#include <string>

// Windows paths of the program ("c:\DVR\Live\Capture", "C:\Program Files\DVR")
// mapped onto this machine. One folder stands for drive C: (the user's home,
// or DVR_DRIVE_C); "C:\Program Files\DVR" is the folder the programs are in.
namespace drive {

// The folder standing for drive C:.
std::string DriveCRoot();

// The folder the running program was started from (the install folder).
std::string InstallFolder();

// Maps a Windows path; a path without a drive letter is only re-slashed.
// Folder names of the program's fixed tree keep one spelling whatever case
// the caller used, since Windows treats them as one folder.
std::string MapWindowsPath(const std::string& windowsPath);

// Creates one folder (mapped); false when it could not be made and is not there.
bool CreateFolder(const std::string& windowsPath);

} // namespace drive
