#include "QuickFlashPlayer.h"

#include "AppError.h"
#include "ParseFlashFunc.h"

#include <QFile>
#include <QMetaMethod>
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

// The movie's root function `name` taking exactly `arity` arguments.
QMetaMethod findFunction(const QObject *root, const QString &name, qsizetype arity)
{
    const QMetaObject *meta = root->metaObject();
    const QByteArray wanted = name.toUtf8();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Method && method.name() == wanted &&
            method.parameterCount() == arity)
            return method;
    }
    return {};
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
    const QMetaMethod function = findFunction(root, invoke->function, invoke->arguments.size());
    if (!function.isValid() || invoke->arguments.size() > 3)
        throw AppError(QStringLiteral("The editor UI has no function %1 with %2 argument(s).")
                           .arg(invoke->function)
                           .arg(invoke->arguments.size()));
    const QStringList &args = invoke->arguments;
    QVariant result;
    bool called = false;
    switch (args.size()) {
    case 1:
        called = function.invoke(root, Qt::DirectConnection, Q_RETURN_ARG(QVariant, result),
                                 Q_ARG(QVariant, args[0]));
        break;
    case 2:
        called = function.invoke(root, Qt::DirectConnection, Q_RETURN_ARG(QVariant, result),
                                 Q_ARG(QVariant, args[0]), Q_ARG(QVariant, args[1]));
        break;
    case 3:
        called = function.invoke(root, Qt::DirectConnection, Q_RETURN_ARG(QVariant, result),
                                 Q_ARG(QVariant, args[0]), Q_ARG(QVariant, args[1]),
                                 Q_ARG(QVariant, args[2]));
        break;
    default:
        called = function.invoke(root, Qt::DirectConnection, Q_RETURN_ARG(QVariant, result));
        break;
    }
    if (!called)
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
