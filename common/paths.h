#pragma once
#include <QString>

// The program's folder: $VOLTARIS_APPDIR when set; else the executable's
// folder when it holds the data files and is writable; else a per-user data
// folder. The per-user folder is seeded on the first call of each run with
// every data file it lacks, from the executable's folder and the installed
// data folder (share/voltaris); a file the user already has is never
// replaced. No trailing separator.
QString apppath();

// The work folder (logs, default inputs): $VOLTARIS_TEMP when set, else
// "voltaris" in the user's documents folder. Created when first asked for.
QString worktemp();

// A file name joined to a folder with the platform's separator.
QString joinpath(const QString& folder, const QString& name);
