#pragma once
// The products made from a published movie: the stand-alone program, the web page with its movie,
// and the screen saver. Each raises AppError on failure and leaves no partial product behind.

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
