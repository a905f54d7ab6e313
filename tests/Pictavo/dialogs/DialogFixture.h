#pragma once
// What the dialog tests share: the shell's program folder and scripted prompts, a recording
// desktop, a stand-in main window that records the messages it gets, and a way to act on a modal
// dialog once it is shown.

#include "../shell/ShellFixture.h"
#include "platform/Desktop.h"
#include "platform/WindowMessages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <functional>
#include <memory>

class TRecordingDesktop final : public TDesktop {
public:
    bool OpenUrl(const QUrl &url) override
    {
        opened << url.toString();
        return true;
    }
    void ShowInFileManager(const QString &path) override { shown << path; }
    bool StartProgram(const QString &program, const QStringList &arguments) override
    {
        started << (QStringList{program} + arguments).join(u' ');
        return program == foundProgram || QFileInfo(program).isExecutable();
    }
    QString FindProgram(const QStringList &) override { return foundProgram; }

    QStringList opened, shown, started;
    QString foundProgram; // what FindProgram answers
};

// Stands in for the main window: records the numbers and lParams of the private messages.
class TMessageRecorder final : public QWidget {
public:
    bool event(QEvent *event) override
    {
        if (int(event->type()) >= 0x1770 && int(event->type()) < 0x1790) {
            auto *message = static_cast<TMessageEvent *>(event);
            messages.push_back({message->message(), message->lParam()});
            return true;
        }
        return QWidget::event(event);
    }
    int Count(int message) const
    {
        return int(std::count_if(messages.begin(), messages.end(), [&](auto &m) { return m.first == message; }));
    }
    std::vector<std::pair<int, qint64>> messages;
};

// Runs `action` on the modal dialog of class T as soon as it is the active modal widget. A
// dialog that never shows up fails the test instead of leaving it hanging; one still open after
// 20 s is closed.
template <typename T>
void WhenShown(std::function<void(T &)> action)
{
    auto *timer = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(timer, &QTimer::timeout, [timer, action, started] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(*dialog);
        } else if (started->elapsed() > 20000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the dialog was not shown";
            if (QWidget *other = QApplication::activeModalWidget())
                other->close();
        }
    });
    timer->start(5);
}

// A key press and release as the user types them on `widget`.
inline void PressKey(QWidget *widget, Qt::Key key)
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }
}

// A left click in the middle of `widget`.
inline void ClickWidget(QWidget *widget)
{
    const QPointF at = QRectF(widget->rect()).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }
}

class DialogTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        SetDesktop(&desktop);
    }
    void TearDown() override
    {
        SetDesktop(nullptr);
        ShellTest::TearDown();
    }

    TImageObj &AddPhoto(TProjItem &project, const QString &source = {})
    {
        auto photo = std::make_unique<TImageObj>();
        photo->SetSrcFile(source);
        TImageObj &added = *photo;
        project.Images()->Add(std::move(photo));
        return added;
    }

    TRecordingDesktop desktop;
    TMessageRecorder mainWindow;
};
