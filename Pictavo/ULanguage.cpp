#include "ULanguage.h"

#include "platform/ProgramFolder.h"
#include "platform/XmlFile.h"

#include <QFileInfo>
#include <QHash>
#include <cstdio>
#include <optional>

namespace {

// Loaded once at start-up on the UI thread, then only read; so reads need no lock.
std::optional<QHash<QString, QString>> texts;

} // namespace

void LoadLanguage(const QString &path)
{
    texts.reset();
    if (!QFileInfo::exists(path))
        return;
    pugi::xml_document document;
    const XmlLoadResult loaded = LoadXmlFile(path, document);
    if (!loaded.wellFormed) {
        std::fprintf(stderr, "Language file %s not read: %s\n", qPrintable(path),
                     qPrintable(loaded.error));
        return;
    }
    const pugi::xml_node language = document.child("language");
    if (!language)
        return;
    QHash<QString, QString> entries;
    for (const pugi::xml_node entry : language.children()) {
        if (entry.type() != pugi::node_element)
            continue;
        const QString key = QString::fromUtf8(entry.name());
        if (!entries.contains(key))
            entries.insert(key, XmlTextContent(entry));
    }
    texts = std::move(entries);
}

void LoadProgramLanguage()
{
    LoadLanguage(ProgramFile(QStringLiteral("language/language.xml")));
}

bool LanguageLoaded()
{
    return texts.has_value();
}

QString LangText(const QString &key, const QString &defaultText)
{
    if (!texts)
        return defaultText;
    const auto found = texts->constFind(key);
    return found == texts->constEnd() ? defaultText : *found;
}

void ReleaseLanguage()
{
    texts.reset();
}
