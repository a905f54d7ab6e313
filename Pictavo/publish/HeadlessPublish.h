#pragma once
// The publish command without windows:
//   Pictavo --publish PROJECT.vlpj --kind swf|exe|html|scr --output PATH [--size WxH]
// runs the publish stages on the project file and makes the product of the kind at PATH,
// showing the stages and their progress on the terminal. Ctrl+C cancels.

#include <QStringList>

// `arguments` are the program's arguments after its own name. Returns the exit status: 0 when
// published, 1 when the publish failed, 2 for a wrong command line, 130 when cancelled.
int RunHeadlessPublish(const QStringList &arguments);
