#include "UDataDef.h"

namespace {

// The item classes that a list can make from an element's name.
const bool itemClassesRegistered = [] {
    RegisterProjClass(&TImageObj::staticMetaObject);
    RegisterProjClass(&TAudio::staticMetaObject);
    return true;
}();

} // namespace

TProjItem::TProjItem(QObject *owner) : TBaseProj(owner)
{
    SetRootName(QStringLiteral("Plexo"));
}

void TProjItem::Assign(const TProjObj *source)
{
    TBaseProj::Assign(source);
    if (const auto *project = qobject_cast<const TProjItem *>(source); project && project != this) {
        m_OutputPath = project->m_OutputPath;
        m_OutputKind = project->m_OutputKind;
    }
}

void TProjItem::ReadXMLFile(const QString &fileName)
{
    ReadDocument(fileName, true);
}
