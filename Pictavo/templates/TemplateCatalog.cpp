#include "TemplateCatalog.h"

#include "platform/ProgramFolder.h"
#include "platform/XmlFile.h"

#include <QFileInfo>

namespace {

// The catalogue stores offsets and sizes with this amount added.
constexpr qint64 storedBias = 515;

std::optional<uint32_t> packNumber(const pugi::xml_node &entry, const char *name)
{
    const pugi::xml_node field = entry.child(name);
    if (!field)
        return std::nullopt;
    bool ok = false;
    const qint64 value = XmlTextContent(field).toLongLong(&ok) - storedBias;
    if (!ok || value < 0 || value > qint64(UINT32_MAX))
        return std::nullopt;
    return uint32_t(value);
}

std::optional<bool> capability(const pugi::xml_node &entry, const char *name)
{
    const pugi::xml_node field = entry.child(name);
    if (!field)
        return std::nullopt;
    return XmlTextContent(field).compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

std::optional<TemplateCatalogEntry> readEntry(const pugi::xml_node &entry)
{
    const auto offset = packNumber(entry, "MD5O");
    const auto size = packNumber(entry, "CRTS");
    const auto mousedrag = capability(entry, "mousedrag");
    const auto autocursor = capability(entry, "autocursor");
    const auto autoscroll = capability(entry, "autoscroll");
    const auto usespotlight = capability(entry, "usespotlight");
    if (!offset || !size || !mousedrag || !autocursor || !autoscroll || !usespotlight)
        return std::nullopt;
    TemplateCatalogEntry result;
    result.Range = {*offset, *size};
    result.mousedrag = *mousedrag;
    result.autocursor = *autocursor;
    result.autoscroll = *autoscroll;
    result.usespotlight = *usespotlight;
    return result;
}

} // namespace

QString TemplateCatalogPath()
{
    return ProgramFile(QStringLiteral("Res/TemplateXML.xml"));
}

std::optional<TemplateCatalogEntry> FindTemplateEntry(const QString &catalogPath, int templateId)
{
    if (!QFileInfo(catalogPath).isFile())
        return std::nullopt;
    pugi::xml_document document;
    if (!LoadXmlFile(catalogPath, document).wellFormed)
        return std::nullopt;
    const QString wanted = QString::number(templateId);
    const pugi::xml_node templates = document.child("ProjName").child("Templates");
    for (const pugi::xml_node entry : templates.children()) {
        if (const pugi::xml_node id = entry.child("TemplateID"); id && XmlTextContent(id) == wanted)
            return readEntry(entry);
    }
    return std::nullopt;
}

std::optional<TemplateCatalogEntry> FindTemplateEntry(int templateId)
{
    return FindTemplateEntry(TemplateCatalogPath(), templateId);
}

std::optional<TemplateRange> LookupTemplateRange(int templateId)
{
    if (const auto entry = FindTemplateEntry(templateId))
        return entry->Range;
    return std::nullopt;
}
