#pragma once
// What the program hands to the desktop: web pages and documents, showing a file in the file
// manager, and starting other programs. One replaceable interface, so that tests can record the
// hand-offs instead of starting anything.

#include <QString>
#include <QStringList>

class QUrl;

class TDesktop {
public:
    virtual ~TDesktop() = default;
    // Opens a web address or a local file with the desktop's handler for it. False when no
    // handler could be started.
    virtual bool OpenUrl(const QUrl &url) = 0;
    // Shows the file selected in a file manager window; where the desktop cannot select a file,
    // its folder is opened.
    virtual void ShowInFileManager(const QString &path) = 0;
    // Starts `program` on its own, not waiting for it. False when it could not be started.
    virtual bool StartProgram(const QString &program, const QStringList &arguments) = 0;
    // The first of `programs` found on the search path; empty when none is installed.
    virtual QString FindProgram(const QStringList &programs) = 0;
};

// The desktop in use: the real one unless a test installed another.
TDesktop &Desktop();

// Installs `desktop` (not owned) in place of the real one; nullptr brings the real one back.
void SetDesktop(TDesktop *desktop);
