#pragma once
// The pictures of the main window's drawn title bar and status bar, and its title-bar buttons.

#include <QString>

class QLabel;
class QToolButton;
class QWidget;

enum class SkinPicture { TitleLeft, TitleMiddle, TitleRight, Icon, StatusLeft, StatusMiddle, StatusRight };
enum class SkinButton { Minimise, Maximise, Restore, Close };

// A picture label named `name`; the middle pieces stretch with their panel.
QLabel *MakeSkinPicture(QWidget *parent, const QString &name, SkinPicture picture);
// A 19 x 23 button named `name` with its up, hot and down looks.
QToolButton *MakeSkinButton(QWidget *parent, const QString &name, SkinButton button);
