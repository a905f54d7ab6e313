#pragma once
// Where the program's data and work files live.

#include <QString>

// The program folder with a trailing "/": the folder of the running executable, or the value of
// the environment variable LUMIVUE_HOME when it is set (tests, read-only installs).
QString ProgramFolder();

// A path below the program folder. Each component of `relative` ("Res/Images/x.png") is matched
// against what exists on disk without regard to case, so the names the program spells in two ways
// ("Images"/"images") reach one folder. Components that do not exist keep the spelling given.
QString ProgramFile(const QString &relative);

// Looks up `relative` below `base` in the same case-tolerant way.
QString ResolvePathIgnoringCase(const QString &base, const QString &relative);
