#pragma once
// The template settings as the editor UI receives them, and the colour form the settings
// dialog shows.

#include <QColor>
#include <QString>

class TTemplate;

// The TemplateInfo document (the argument of the UI's SetTemplateInfo), one line, no blanks.
QString MakeTemplateInfoXml(const TTemplate &settings);

// BgColor holds red in bits 16..23 and blue in bits 0..7, the high byte 0; the colour a dialog
// shows is built back from those three bytes, whatever the high byte holds.
int StoredBgColor(const QColor &shown);
QColor ShownBgColor(int bgColor);
