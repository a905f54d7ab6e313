#include "XmlFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

// The encoding named by an ASCII-compatible declaration, lower-cased; empty when none.
QByteArray declaredEncoding(const QByteArray &bytes)
{
    if (!bytes.startsWith("<?xml"))
        return {};
    const qsizetype end = bytes.indexOf("?>");
    static const QRegularExpression pattern(
        QStringLiteral("encoding\\s*=\\s*[\"']([A-Za-z0-9._:-]+)[\"']"));
    const auto match = pattern.match(QString::fromLatin1(bytes.left(end < 0 ? 200 : end)));
    return match.hasMatch() ? match.captured(1).toLower().toLatin1() : QByteArray();
}

bool pugixmlReadsDirectly(const QByteArray &encoding)
{
    return encoding.isEmpty() || encoding.startsWith("utf") || encoding == "iso-8859-1" ||
           encoding == "latin1";
}

} // namespace

XmlLoadResult LoadXmlText(const QByteArray &bytes, pugi::xml_document &document, unsigned options)
{
    XmlLoadResult result;
    result.opened = true;
    options |= pugi::parse_declaration;
    const QByteArray encoding = declaredEncoding(bytes);
    pugi::xml_parse_result parsed;
    if (pugixmlReadsDirectly(encoding)) {
        parsed = document.load_buffer(bytes.constData(), size_t(bytes.size()), options,
                                      pugi::encoding_auto);
    } else {
        QStringDecoder decoder(encoding.constData());
        if (!decoder.isValid()) {
            result.error = QStringLiteral("unknown encoding %1").arg(QString::fromLatin1(encoding));
            return result;
        }
        const QString text = decoder.decode(bytes);
        parsed = document.load_buffer(text.utf16(), size_t(text.size()) * sizeof(char16_t),
                                      options, pugi::encoding_utf16);
    }
    result.wellFormed = bool(parsed);
    if (!parsed)
        result.error = QStringLiteral("%1 at offset %2")
                           .arg(QString::fromUtf8(parsed.description()))
                           .arg(qlonglong(parsed.offset));
    return result;
}

XmlLoadResult LoadXmlFile(const QString &path, pugi::xml_document &document, unsigned options)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        XmlLoadResult result;
        result.error = file.errorString();
        return result;
    }
    return LoadXmlText(file.readAll(), document, options);
}

QString XmlTextContent(const pugi::xml_node &node)
{
    const auto isText = [](const pugi::xml_node &n) {
        return n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata;
    };
    if (isText(node))
        return QString::fromUtf8(node.value());
    // Walked without recursion: element nesting in a file has no depth limit.
    QByteArray text;
    pugi::xml_node current = node.first_child();
    while (current) {
        if (isText(current))
            text += current.value();
        if (current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current != node && !current.next_sibling())
            current = current.parent();
        if (current == node)
            break;
        current = current.next_sibling();
    }
    return QString::fromUtf8(text);
}
