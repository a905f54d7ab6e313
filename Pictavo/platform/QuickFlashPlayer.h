#pragma once
// The control that plays the editor UI movie: a QML document (whatever its file is called) shown
// in a QQuickWidget. The movie reaches its host through the context object "flashHost", whose
// call(request) delivers an external-call request; the host reaches the movie's root functions
// through CallFunction: the movie's root offers hasCallback(name) and invokeCallback(name, args)
// for the functions it registered under the names the host uses.

#include "ShockwaveFlash.h"

#include <QObject>
#include <QPointer>

class QQmlComponent;
class QQuickItem;
class QQuickWidget;

class TQuickFlashPlayer final : public QObject, public TShockwaveFlash {
    Q_OBJECT
public:
    // Raises AppError when Qt Quick cannot start (no scene graph, QtQuick module missing).
    TQuickFlashPlayer();
    ~TQuickFlashPlayer() override;

    QWidget *Widget() override;
    // A file that cannot be read or compiled leaves the control empty; the errors go to stderr.
    void SetMovie(const QString &path) override;
    QString Movie() const override { return m_movie; }
    bool Menu() const override { return false; }
    void SetOnFlashCall(FlashCallHandler handler) override { m_onFlashCall = std::move(handler); }
    QString CallFunction(const QString &request) override;
    void StopPlay() override;

    // The movie's root item (null without a movie); tests read the movie's state through it.
    QQuickItem *RootItem() const;

    // The movie's way out: one request text per call.
    Q_INVOKABLE void call(const QString &request);

private:
    QPointer<QQuickWidget> m_view;
    QQmlComponent *m_component = nullptr;
    QString m_movie;
    FlashCallHandler m_onFlashCall;
};
