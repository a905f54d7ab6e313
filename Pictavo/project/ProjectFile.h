#pragma once
// Names around a project file.

#include <QString>

// The folder beside a project file that carries its edited photos from one run to the next:
// the file's path with its extension replaced by "_vlpj" (/work/Trip.vlpj -> /work/Trip_vlpj).
QString CompanionFolder(const QString &projectPath);
