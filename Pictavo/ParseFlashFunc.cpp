#include "ParseFlashFunc.h"

#include "platform/AppError.h"
#include "platform/XmlFile.h"

#include <limits>
#include <pugixml.hpp>

namespace {

AppError notAnInteger(const QString &text)
{
    return AppError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

// A decimal integer with an optional sign and nothing around it.
template <typename T>
T strictInteger(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.trimmed() == text ? text.toLongLong(&ok, 10) : 0;
    if (!ok || value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
        throw notAnInteger(text);
    return T(value);
}

} // namespace

int StrToInt(const QString &text)
{
    return strictInteger<int>(text);
}

int64_t StrToInt64(const QString &text)
{
    return strictInteger<int64_t>(text);
}

TFlashRequest::TFlashRequest(const QString &request)
{
    pugi::xml_document document;
    const XmlLoadResult loaded = LoadXmlText(request.toUtf8(), document);
    if (!loaded.wellFormed)
        throw AppError(QStringLiteral("The editor UI sent a request that is not valid XML: %1")
                           .arg(loaded.error));
    const pugi::xml_node root = document.document_element();
    m_name = QString::fromUtf8(root.attribute("name").value());
    for (pugi::xml_node argument : root.last_child().children())
        m_arguments << XmlTextContent(argument);
}

QString TFlashRequest::Argument(int index) const
{
    return m_arguments.value(index);
}

int TFlashRequest::IntArgument(int index) const
{
    return StrToInt(Argument(index));
}

int64_t TFlashRequest::Int64Argument(int index) const
{
    return StrToInt64(Argument(index));
}

int TFlashRequest::IntArgumentOr(int index, int fallback) const
{
    try {
        return IntArgument(index);
    } catch (const AppError &) {
        return fallback;
    }
}

QString MakeInvokeText(const QString &function, const QStringList &arguments)
{
    QString text = QStringLiteral("<invoke name=\"") + function +
                   QStringLiteral("\" returntype=\"xml\"><arguments>");
    const QStringList sent = arguments.isEmpty() ? QStringList{QString()} : arguments;
    for (const QString &argument : sent)
        text += QStringLiteral("<string>") + argument + QStringLiteral("</string>");
    return text + QStringLiteral("</arguments></invoke>");
}

std::optional<InvokeCall> ParseInvokeText(const QString &text)
{
    static const QString nameStart = QStringLiteral("<invoke name=\"");
    static const QString open = QStringLiteral("<string>");
    static const QString close = QStringLiteral("</string>");
    const qsizetype start = text.indexOf(nameStart);
    if (start < 0)
        return std::nullopt;
    const qsizetype nameBegin = start + nameStart.size();
    const qsizetype nameEnd = text.indexOf(u'"', nameBegin);
    if (nameEnd <= nameBegin)
        return std::nullopt;
    InvokeCall call{text.mid(nameBegin, nameEnd - nameBegin), {}};

    // Arguments end at the last "</arguments>", since an argument may hold that text too.
    const qsizetype argsBegin = text.indexOf(QStringLiteral("<arguments>"), nameEnd);
    qsizetype argsEnd = text.lastIndexOf(QStringLiteral("</arguments>"));
    if (argsBegin < 0)
        return call;
    if (argsEnd < argsBegin)
        argsEnd = text.size();
    qsizetype at = text.indexOf(open, argsBegin);
    while (at >= 0 && at < argsEnd) {
        const qsizetype valueBegin = at + open.size();
        // Find the </string> that closes this one, stepping over nested <string> elements.
        qsizetype scan = valueBegin;
        int depth = 1;
        qsizetype valueEnd = -1;
        while (depth > 0) {
            const qsizetype nextOpen = text.indexOf(open, scan);
            const qsizetype nextClose = text.indexOf(close, scan);
            if (nextClose < 0)
                break;
            if (nextOpen >= 0 && nextOpen < nextClose) {
                ++depth;
                scan = nextOpen + open.size();
            } else {
                --depth;
                scan = nextClose + close.size();
                valueEnd = nextClose;
            }
        }
        if (depth > 0) { // unterminated: the rest up to </arguments> is the argument
            call.arguments << text.mid(valueBegin, argsEnd - valueBegin);
            break;
        }
        call.arguments << text.mid(valueBegin, valueEnd - valueBegin);
        at = text.indexOf(open, scan);
    }
    return call;
}
