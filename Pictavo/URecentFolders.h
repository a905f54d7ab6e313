#pragma once
// The recent-folders list, TempData.dat in the program folder: three lines naming the folder last
// used to pick photos, to save a project and to publish.

#include <QString>
#include <QStringList>

class TRecentFolders {
public:
    enum Line { PhotoFolder = 0, ProjectFolder = 1, OutputFolder = 2 };

    // Reads TempData.dat of the program folder. Unless it holds exactly three lines, the list is
    // the defaults: the program folder's "Res/images", then twice the default working folder.
    void Load();
    // Writes the list back (CR LF line ends); a failure is not reported.
    void Save() const;

    QString Folder(Line line) const { return m_lines.value(line); }
    void SetFolder(Line line, const QString &folder);
    const QStringList &Lines() const { return m_lines; }

    // The documents folder's "Vexasoft Lumivue/", made when missing; the documents folder itself
    // when it cannot be made.
    static QString DefaultWorkingFolder();
    static QString FilePath();

private:
    QStringList m_lines;
};
