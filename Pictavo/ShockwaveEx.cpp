#include "ShockwaveEx.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

TShockwaveFlashEx::TShockwaveFlashEx(std::unique_ptr<TShockwaveFlash> player)
    : m_player(std::move(player))
{
    if (QWidget *window = m_player->Widget())
        window->installEventFilter(this);
}

TShockwaveFlashEx::~TShockwaveFlashEx()
{
    if (QWidget *window = m_player->Widget())
        window->removeEventFilter(this);
}

void TShockwaveFlashEx::SetOnFlashCall(FlashCallHandler handler)
{
    m_player->SetOnFlashCall(std::move(handler));
}

QString TShockwaveFlashEx::CallFunction(const QString &request)
{
    return m_player->CallFunction(request);
}

// The control's window procedure: keyboard and mouse input is looked at before the movie gets it.
bool TShockwaveFlashEx::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_player->Widget())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        if (OnKeyDown)
            OnKeyDown(static_cast<QKeyEvent *>(event)->key());
        return false;
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (OnMouseMove)
            OnMouseMove(Qt::NoButton, mouse->modifiers(), mouse->position().toPoint());
        return false;
    }
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (OnMouseDown)
                OnMouseDown(Qt::LeftButton, mouse->modifiers(), mouse->position().toPoint());
            m_buttonDown = true;
            return LockMouseClick;
        }
        if (mouse->button() == Qt::RightButton) {
            m_buttonDown = true;
            return !Menu();
        }
        return false;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (OnMouseUp)
                OnMouseUp(Qt::LeftButton, mouse->modifiers(), mouse->position().toPoint());
            if (m_buttonDown && OnClick)
                OnClick();
            m_buttonDown = false;
            return LockMouseClick;
        }
        if (mouse->button() == Qt::RightButton) {
            if (PopupMenu && m_buttonDown) {
                m_buttonDown = false;
                PopupMenu->popup(mouse->globalPosition().toPoint());
            }
            return LockMouseClick;
        }
        return false;
    }
    case QEvent::MouseButtonDblClick:
        return LockMouseClick && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    default:
        return false;
    }
}
