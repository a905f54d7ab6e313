#include "ProjectFile.h"

QString CompanionFolder(const QString &projectPath)
{
    // The extension starts at the last "." of the file-name part; a name without one gets the
    // suffix appended.
    const qsizetype nameStart = projectPath.lastIndexOf(u'/') + 1;
    const qsizetype dot = projectPath.lastIndexOf(u'.');
    const qsizetype stem = dot >= nameStart ? dot : projectPath.size();
    return projectPath.left(stem) + QStringLiteral("_vlpj");
}
