#pragma once
// A control for tests: records every invoke call and StopPlay, and injects requests as if the
// editor UI movie had sent them.

#include "ParseFlashFunc.h"
#include "platform/AppError.h"
#include "platform/ShockwaveFlash.h"

#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QWidget>

class TRecordingFlashControl final : public TShockwaveFlash {
public:
    TRecordingFlashControl() : m_widget(new QWidget)
    {
        m_widget->setObjectName(QLatin1String(FlashWindowClass));
    }
    ~TRecordingFlashControl() override { delete m_widget.data(); }

    QWidget *Widget() override { return m_widget; }
    void SetMovie(const QString &path) override { m_movie = path; }
    QString Movie() const override { return m_movie; }
    bool Menu() const override { return false; }
    void SetOnFlashCall(FlashCallHandler handler) override { m_handler = std::move(handler); }

    QString CallFunction(const QString &request) override
    {
        const auto invoke = ParseInvokeText(request);
        if (!invoke || failing.contains(invoke->function))
            throw AppError(QStringLiteral("no function"));
        calls << request;
        log << invoke->function;
        return {};
    }
    void StopPlay() override { log << QStringLiteral("<StopPlay>"); }

    // A request as the movie sends it: string arguments, or numbers written as <number>.
    void Inject(const QString &request)
    {
        if (m_handler)
            m_handler(request);
    }
    void InjectCommand(const QString &name, const QStringList &arguments = {})
    {
        QString text = QStringLiteral("<invoke name=\"%1\" returntype=\"xml\"><arguments>").arg(name);
        for (const QString &argument : arguments)
            text += QStringLiteral("<string>%1</string>").arg(argument);
        Inject(text + QStringLiteral("</arguments></invoke>"));
    }

    // The invoke texts received, and the function names with "<StopPlay>" between them.
    QStringList calls;
    QStringList log;
    // Functions whose call fails as if the movie lacked them.
    QSet<QString> failing;

private:
    QPointer<QWidget> m_widget;
    QString m_movie;
    FlashCallHandler m_handler;
};
