#pragma once
// The program's help: lumivue.chm in the program folder, compiled HTML help, and beside it the
// same pages as the folder help/, which any browser shows. Desktops without a viewer for compiled
// help get the pages; a topic ("faq.html#share_swf_website") opens at its anchor in the pages.

#include <QString>

// The help file of the program folder.
QString HelpFilePath();

// Opens the help at `topic` (empty: its first page). Nothing happens when the program folder
// holds no help file; a viewer that fails to start is not reported.
void OpenHelpFile(const QString &topic = {});
