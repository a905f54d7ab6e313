#pragma once
// The products made from a published movie: the stand-alone program, the web page with its movie,
// and the screen saver. Each raises AppError on failure and leaves no partial product behind.
// Then the hand-offs that finish a publish: installing the screen saver, sending the movie.

#include <QByteArray>
#include <QString>

// The address the web page's object element installs the player from, and the player's page
// that the embed element points to.
extern const char *const FlashPlayerInstallerUrl;
extern const char *const FlashPlayerPluginPageUrl;

// The program file: the player program, the movie, 0xFA123456 and the movie's length, both
// little-endian. Replaces `output`.
void MakeProgram(const QString &movie, const QString &output, const QString &player);

// The page's text for movie name `name` (the page's file name without extension) and stage size.
QByteArray WebPageText(const QString &name, int width, int height);

// Writes the web page to `output` and copies `movie` beside it as name + ".swf".
void MakeWebPage(const QString &movie, const QString &output, int width, int height);

// The screen saver: the host program, the movie as a block (4-byte big-endian length, data), and
// the host's length little-endian. False, writing nothing, when `host` does not exist.
bool MakeScreenSaver(const QString &movie, const QString &output, const QString &host);

// The screen saver's installation: the file is copied into the user's screen-saver folder and the
// desktop's screen-saver settings are opened where the desktop has them; otherwise the copy is
// shown in the file manager. False when the copy failed (nothing further happens then).
bool InstallScreenSaver(const QString &path);

// The folder screen savers are installed into: "screensavers" in the user's data folder.
QString ScreenSaverFolder();

// Starts the program folder's e-mail program on the movie. When it cannot be started, a message
// with the command line and the "msg_run_is_failed" text. False in that case.
bool SendByMail(const QString &path);
