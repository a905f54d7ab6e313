#include "UCommonPart.h"

#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

QString ProductTitle()
{
    return QStringLiteral("Vexasoft Lumivue");
}

QString DefaultProductLink()
{
    return QStringLiteral("https://www.vexasoft.com/");
}

QString ReadProductLink(const QString &key)
{
    const IniFile links(ProgramFile(QStringLiteral("knilaxev.dat")));
    const QString link = links.value(QStringLiteral("link"), key);
    return link.isEmpty() ? DefaultProductLink() : link;
}
