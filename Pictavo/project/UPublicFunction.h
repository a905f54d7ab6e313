#pragma once
// File, path, date, clock and colour helpers used all over the program.

#include <QString>
#include <cstdint>

// "%d.%d.%d.%d" of the file's version record; empty for a file without one.
QString ProgramVersion(const QString &programPath);

// The user's documents folder without a trailing "/"; empty when the desktop has none.
QString DocumentsFolder();

// `path` when no file of that name exists; otherwise the first free name of the form
// folder-of-path + base + "(n)" + ext, n counting from 1.
QString UniqueFileName(const QString &path, const QString &base, const QString &ext);

// The file's last-write time in local time at two-second resolution, "yyyy-mm-dd hh:mm:ss"
// (24-hour clock); at exactly midnight only the date. Raises AppError for a missing file.
QString FileDateText(const QString &path);

// Size of the file (or folder entry) at `path`; -1 when nothing exists there.
int64_t GetFileSize64(const QString &path);

// False for the empty name and for names holding any of  " * / : < > ? \ |
bool IsValidFileName(const QString &name);

// "hh:mm:ss" with at least two digits each; hours are not limited (100:00:00).
QString SecondsToClock(int64_t seconds);

// Removes the folder and everything in it, as far as it can; always true. Symbolic links are
// removed themselves, never followed.
bool DeleteFolder(const QString &folder);

// Copies the regular files and sub-folders of `source` into `target` (created when missing, one
// level only: its parent must exist), overwriting. Symbolic links, sockets, FIFOs and device
// files are not copied. Failures are ignored.
void CopyFolder(const QString &source, const QString &target);

// Appends "/" when `path` does not end with one (an empty path becomes "/").
void IncludeBackslash(QString &path);

// Returns the integer before the first "-" and leaves in `text` only what follows that "-".
// Raises AppError when that part is not a decimal integer (also when there is no "-").
int TakeNumberBeforeDash(QString &text);

// Colour in the 0x00BBGGRR form plus alpha -> 0xAARRGGBB, and back.
uint32_t ColorToRGB(uint32_t color, uint8_t alpha);
uint32_t RGBToColor(uint32_t value, uint8_t &alpha);
