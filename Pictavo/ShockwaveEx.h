#pragma once
// The control class the main window embeds: any control player (the editor UI movie player, or a
// stand-in) with mouse, click and key events of its own, a context menu of the host's choosing,
// and a switch that locks left clicks out of the movie.

#include "platform/ShockwaveFlash.h"

#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>

class QMenu;

class TShockwaveFlashEx final : public QObject, public TShockwaveFlash {
public:
    using MouseEvent = std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, QPoint)>;

    explicit TShockwaveFlashEx(std::unique_ptr<TShockwaveFlash> player);
    ~TShockwaveFlashEx() override;

    QWidget *Widget() override { return m_player->Widget(); }
    void SetMovie(const QString &path) override { m_player->SetMovie(path); }
    QString Movie() const override { return m_player->Movie(); }
    bool Menu() const override { return m_player->Menu(); }
    void SetOnFlashCall(FlashCallHandler handler) override;
    QString CallFunction(const QString &request) override;
    void StopPlay() override { m_player->StopPlay(); }

    TShockwaveFlash &Player() { return *m_player; }

    // Events; each fires only when assigned.
    MouseEvent OnMouseDown, OnMouseUp, OnMouseMove;
    std::function<void()> OnClick;
    std::function<void(int key)> OnKeyDown;
    // Shown at the clicked point after a right click, when set (not owned).
    QMenu *PopupMenu = nullptr;
    // While true, left clicks, left double clicks and right releases never reach the movie.
    bool LockMouseClick = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<TShockwaveFlash> m_player;
    bool m_buttonDown = false; // a left or right press not yet followed by a left release
};
