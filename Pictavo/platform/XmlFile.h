#pragma once
// Reading XML files into pugixml documents, whatever encoding their declaration names.

#include <QString>
#include <pugixml.hpp>

struct XmlLoadResult {
    bool opened = false;     // the file could be read
    bool wellFormed = false; // and parsed as XML
    QString error;           // what went wrong, for a log line
};

// UTF-8, UTF-16 and UTF-32 (with or without byte-order mark) are read directly; any other
// encoding named in the declaration is converted first when the platform knows it.
// `options` are pugixml's parse options; the declaration is always kept.
XmlLoadResult LoadXmlFile(const QString &path, pugi::xml_document &document,
                          unsigned options = pugi::parse_default);

// The same for XML text already in memory.
XmlLoadResult LoadXmlText(const QByteArray &bytes, pugi::xml_document &document,
                          unsigned options = pugi::parse_default);

// The text content of a node: every text and CDATA below it, in document order.
QString XmlTextContent(const pugi::xml_node &node);
