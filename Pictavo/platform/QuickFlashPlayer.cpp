#include "QuickFlashPlayer.h"

#include "AppError.h"
#include "ParseFlashFunc.h"

#include <QFile>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QUrl>
#include <cstdio>

namespace {

QString componentErrors(const QQmlComponent &component)
{
    QStringList lines;
    for (const QQmlError &error : component.errors())
        lines << error.toString();
    return lines.join(u'\n');
}

} // namespace

TQuickFlashPlayer::TQuickFlashPlayer()
{
    // The movie reads the template catalogue beside it with XMLHttpRequest.
    qputenv("QML_XHR_ALLOW_FILE_READ", "1");
    auto view = std::make_unique<QQuickWidget>();
    view->setObjectName(QLatin1String(FlashWindowClass));
    view->setResizeMode(QQuickWidget::SizeRootObjectToView);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    if (!view->quickWindow())
        throw AppError(QStringLiteral("The editor UI surface could not be created."));
    // The movie must at least be able to import QtQuick.
    QQmlComponent probe(view->engine());
    probe.setData("import QtQuick\nItem {}\n", QUrl());
    std::unique_ptr<QObject> item(probe.create());
    if (!item)
        throw AppError(QStringLiteral("Qt Quick is not available: %1").arg(componentErrors(probe)));
    view->rootContext()->setContextProperty(QStringLiteral("flashHost"), this);
    m_view = view.release();
}

TQuickFlashPlayer::~TQuickFlashPlayer()
{
    delete m_view.data();
}

QWidget *TQuickFlashPlayer::Widget()
{
    return m_view;
}

void TQuickFlashPlayer::SetMovie(const QString &path)
{
    m_movie = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "editor UI movie %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return;
    }
    // The movie is compiled from its bytes, so its file name need not end in ".qml"; relative
    // addresses inside it resolve against the program folder.
    const QUrl url = QUrl::fromLocalFile(path);
    auto *component = new QQmlComponent(m_view->engine(), this);
    component->setData(file.readAll(), url);
    QObject *root = component->create(m_view->rootContext());
    if (!root) {
        std::fprintf(stderr, "editor UI movie %s:\n%s\n", qPrintable(path),
                     qPrintable(componentErrors(*component)));
        delete component;
        return;
    }
    m_view->setContent(url, component, root);
    delete m_component;
    m_component = component;
}

QQuickItem *TQuickFlashPlayer::RootItem() const
{
    return m_view ? m_view->rootObject() : nullptr;
}

QString TQuickFlashPlayer::CallFunction(const QString &request)
{
    const auto invoke = ParseInvokeText(request);
    if (!invoke)
        throw AppError(QStringLiteral("Not an invoke text: %1").arg(request.left(200)));
    QObject *root = RootItem();
    if (!root)
        throw AppError(QStringLiteral("The editor UI movie is not loaded."));
    // The movie registers the functions the host may call under their names; a name it has
    // not registered is an error for the caller.
    QVariant known;
    QMetaObject::invokeMethod(root, "hasCallback", Q_RETURN_ARG(QVariant, known),
                              Q_ARG(QVariant, invoke->function));
    if (!known.toBool())
        throw AppError(QStringLiteral("The editor UI has no function %1.").arg(invoke->function));
    QVariant result;
    if (!QMetaObject::invokeMethod(root, "invokeCallback", Q_RETURN_ARG(QVariant, result),
                                   Q_ARG(QVariant, invoke->function),
                                   Q_ARG(QVariant, QVariant(invoke->arguments))))
        throw AppError(QStringLiteral("Calling %1 in the editor UI failed.").arg(invoke->function));
    return result.toString();
}

void TQuickFlashPlayer::StopPlay()
{
    QObject *root = RootItem();
    if (!root)
        return;
    for (QObject *object : root->findChildren<QObject *>()) {
        if (object->inherits("QQuickAbstractAnimation"))
            object->setProperty("running", false);
    }
}

void TQuickFlashPlayer::call(const QString &request)
{
    if (m_onFlashCall)
        m_onFlashCall(request);
}
