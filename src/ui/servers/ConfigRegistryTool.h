#pragma once

#include <QString>

#include <string>
#include <vector>

// Runs the registry editor (dvr-regedit, from the program's own folder, else
// from PATH) with the given arguments and waits for it. True only when it
// ran and reported success: a backup that was not written or a file that was
// not imported is never taken for done.
bool RunRegistryEditor(const std::vector<std::string>& arguments, const QString& workingFolder);
