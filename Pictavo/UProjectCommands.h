#pragma once
// The main window's project operations: New, Open, Save and Save As, with the unsaved-changes
// question, and the companion folder "<name>_vlpj" beside the project file that carries the
// edited photos (edited copy, its edit script and thumbnail) from one run to the next.

#include <QString>

class TFrmmain;

// Whether the caller may discard the project: asks to save a project with photos that is
// untitled or changed. Saving goes through the window's features.
bool ConfirmDiscard(TFrmmain &window);

// Empties photos and music (template and publish settings stay). False when the user kept the
// project.
bool NewProject(TFrmmain &window);

// The open dialog, then OpenProject with the chosen file.
void OpenProjectDialog(TFrmmain &window);
// Reads the project file: missing photos and music are removed and listed, edited photos are
// copied back from the companion folder into the work folder.
void OpenProject(TFrmmain &window, const QString &path);

// To the current file, or Save As for an untitled project.
void SaveProject(TFrmmain &window);
// The save dialog; true when a file was written.
bool SaveProjectAs(TFrmmain &window);
// Writes the project file and refills its companion folder; false (writing nothing) for a
// project without photos.
bool SaveProjectTo(TFrmmain &window, const QString &path);

// The edit script beside an edited copy: its path with the extension ".xml".
QString EditScriptPath(const QString &editFile);
