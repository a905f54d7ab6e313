#include "UBaseData.h"

#include "PropertyText.h"
#include "UPublicFunction.h"
#include "platform/AppError.h"
#include "platform/XmlFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMetaProperty>
#include <QSaveFile>
#include <mutex>
#include <utility>

// Holds the Loading flag of an object or list while it reads, also when the read fails.
class LoadingScope {
public:
    explicit LoadingScope(TProjObj &object) : m_flag(object.m_loading) { m_flag = true; }
    explicit LoadingScope(TBaseObjList &list) : m_flag(list.m_loading) { m_flag = true; }
    ~LoadingScope() { m_flag = false; }
    LoadingScope(const LoadingScope &) = delete;
    LoadingScope &operator=(const LoadingScope &) = delete;

private:
    bool &m_flag;
};

namespace {

const char *utf8(const QString &text, QByteArray &storage)
{
    storage = text.toUtf8();
    return storage.constData();
}

QString xmlLine(const QString &name, const QString &text)
{
    return QStringLiteral("<%1>%2</%1>").arg(name, text);
}

// Passes a change on to the object or list that contains the changed one.
void notifyOwner(QObject *owner)
{
    if (auto *object = qobject_cast<TProjObj *>(owner))
        object->Changed();
    else if (auto *list = qobject_cast<TBaseObjList *>(owner))
        list->Changed();
}

} // namespace

// ---- TProjObj -------------------------------------------------------------------------------

TProjObj::TProjObj(QObject *owner) : m_owner(owner) {}

TProjObj::~TProjObj() = default;

void TProjObj::Assign(const TProjObj *source)
{
    if (source == nullptr || source == this)
        return;
    for (const QMetaProperty &property : PublishedProperties(*this)) {
        const int sourceIndex = source->metaObject()->indexOfProperty(property.name());
        if (sourceIndex < 0)
            continue;
        const QMetaProperty sourceProperty = source->metaObject()->property(sourceIndex);
        if (TProjObj *object = HeldObject(*this, property)) {
            object->Assign(HeldObject(*source, sourceProperty));
        } else if (TBaseObjList *list = HeldList(*this, property)) {
            list->Assign(HeldList(*source, sourceProperty));
        } else if (property.isWritable()) {
            property.write(this, sourceProperty.read(source));
        }
    }
    Changed();
}

QString TProjObj::GetXMLText() const
{
    QStringList lines;
    for (const QMetaProperty &property : PublishedProperties(*this)) {
        const QString name = QString::fromLatin1(property.name());
        if (const TProjObj *object = HeldObject(*this, property))
            lines << xmlLine(name, object->GetXMLText());
        else if (const TBaseObjList *list = HeldList(*this, property))
            lines << xmlLine(name, list->GetXMLText());
        else
            lines << xmlLine(name, PropertyValueText(*this, property));
    }
    return lines.join(QStringLiteral("\r\n"));
}

void TProjObj::SaveToNode(pugi::xml_node node) const
{
    QByteArray text;
    for (const QMetaProperty &property : PublishedProperties(*this)) {
        pugi::xml_node child = node.append_child(property.name());
        if (const TProjObj *object = HeldObject(*this, property))
            object->SaveToNode(child);
        else if (const TBaseObjList *list = HeldList(*this, property))
            list->SaveToNode(child);
        else
            child.text().set(utf8(PropertyValueText(*this, property), text));
    }
}

void TProjObj::LoadFromNode(pugi::xml_node node)
{
    {
        LoadingScope loading(*this);
        for (const pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element)
                continue;
            const int index = metaObject()->indexOfProperty(child.name());
            if (index < QObject::staticMetaObject.propertyCount())
                continue; // names no published property
            const QMetaProperty property = metaObject()->property(index);
            if (TProjObj *object = HeldObject(*this, property))
                object->LoadFromNode(child);
            else if (TBaseObjList *list = HeldList(*this, property))
                list->LoadFromNode(child);
            else
                SetPropertyFromText(*this, property, XmlTextContent(child));
        }
    }
    m_modified = true;
}

void TProjObj::Changed()
{
    if (m_loading)
        return;
    m_modified = true;
    notifyOwner(m_owner);
}

void TProjObj::RemoveFromOwner()
{
    if (auto *list = qobject_cast<TBaseObjList *>(m_owner)) {
        const int index = list->IndexOf(this);
        if (index >= 0)
            list->Delete(index);
    }
}

int TProjObj::IndexInOwner() const
{
    const auto *list = qobject_cast<const TBaseObjList *>(m_owner);
    return list ? list->IndexOf(this) : -1;
}

// ---- TBaseObjList ---------------------------------------------------------------------------

TBaseObjList::TBaseObjList(QObject *owner) : m_owner(owner) {}

TBaseObjList::~TBaseObjList()
{
    FreeItems();
}

void TBaseObjList::CheckIndex(int index, int count) const
{
    if (index < 0 || index >= count)
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

TProjObj *TBaseObjList::Items(int index) const
{
    CheckIndex(index, Count());
    return m_items[index];
}

int TBaseObjList::IndexOf(const TProjObj *item) const
{
    return int(m_items.indexOf(const_cast<TProjObj *>(item)));
}

int TBaseObjList::Add(std::unique_ptr<TProjObj> item)
{
    Insert(Count(), std::move(item));
    return Count() - 1;
}

void TBaseObjList::Insert(int index, std::unique_ptr<TProjObj> item)
{
    CheckIndex(index, Count() + 1);
    if (!item)
        throw AppError(QStringLiteral("Cannot add an empty item to a list"));
    if (!AcceptsItem(*item))
        throw AppError(QStringLiteral("A %1 cannot be put into a %2")
                           .arg(QLatin1String(item->metaObject()->className()),
                                QLatin1String(metaObject()->className())));
    TProjObj *added = item.release();
    m_items.insert(index, added);
    added->SetOwner(this);
    added->Changed();
}

bool TBaseObjList::AcceptsItem(const TProjObj &) const
{
    return true;
}

void TBaseObjList::Delete(int index)
{
    CheckIndex(index, Count());
    delete m_items.takeAt(index);
    Changed();
}

void TBaseObjList::Clear()
{
    FreeItems();
    Changed();
}

void TBaseObjList::Move(int curIndex, int newIndex)
{
    CheckIndex(curIndex, Count());
    CheckIndex(newIndex, Count());
    m_items.move(curIndex, newIndex);
    Changed();
}

void TBaseObjList::Exchange(int index1, int index2)
{
    CheckIndex(index1, Count());
    CheckIndex(index2, Count());
    m_items.swapItemsAt(index1, index2);
    Changed();
}

void TBaseObjList::FreeItems()
{
    // Taken out first, so that nothing can reach an item while it is destroyed.
    const QList<TProjObj *> items = std::exchange(m_items, {});
    qDeleteAll(items);
}

std::unique_ptr<TProjObj> TBaseObjList::CreateItem(const QMetaObject *itemClass)
{
    QObject *made = itemClass->newInstance(Q_ARG(QObject *, this));
    auto *item = qobject_cast<TProjObj *>(made);
    if (item == nullptr) {
        delete made;
        throw AppError(QStringLiteral("Cannot create an item of class %1")
                           .arg(QString::fromLatin1(itemClass->className())));
    }
    return std::unique_ptr<TProjObj>(item);
}

void TBaseObjList::Assign(const TBaseObjList *source)
{
    if (source == nullptr || source == this)
        return;
    Clear();
    for (const TProjObj *sourceItem : source->m_items) {
        std::unique_ptr<TProjObj> item = CreateItem(sourceItem->metaObject());
        item->Assign(sourceItem);
        Add(std::move(item));
    }
}

QString TBaseObjList::GetXMLText() const
{
    QStringList lines;
    for (const TProjObj *item : m_items)
        lines << xmlLine(QString::fromLatin1(item->metaObject()->className()), item->GetXMLText());
    return lines.join(QStringLiteral("\r\n"));
}

void TBaseObjList::SaveToNode(pugi::xml_node node) const
{
    for (const TProjObj *item : m_items)
        item->SaveToNode(node.append_child(item->metaObject()->className()));
}

namespace {

struct ClassRegistry {
    std::mutex lock;
    QHash<QByteArray, const QMetaObject *> classes;
};

ClassRegistry &registry()
{
    static ClassRegistry instance;
    return instance;
}

const QMetaObject *findProjClass(const char *name)
{
    ClassRegistry &classes = registry();
    const std::lock_guard guard(classes.lock);
    return classes.classes.value(QByteArray(name), nullptr);
}

} // namespace

void RegisterProjClass(const QMetaObject *itemClass)
{
    ClassRegistry &classes = registry();
    const std::lock_guard guard(classes.lock);
    classes.classes.insert(QByteArray(itemClass->className()), itemClass);
}

void TBaseObjList::LoadFromNode(pugi::xml_node node)
{
    ReadItems(node, [](const pugi::xml_node &element) { return findProjClass(element.name()); });
}

void TBaseObjList::ReadItems(pugi::xml_node node, const ItemClassOf &itemClassOf)
{
    {
        LoadingScope loading(*this);
        FreeItems();
        for (const pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element)
                continue;
            if (const QMetaObject *itemClass = itemClassOf(child)) {
                std::unique_ptr<TProjObj> item = CreateItem(itemClass);
                item->LoadFromNode(child);
                Add(std::move(item));
            }
        }
    }
    m_modified = true;
}

void TBaseObjList::Changed()
{
    if (m_loading)
        return;
    m_modified = true;
    notifyOwner(m_owner);
}

// ---- TProjObjList ---------------------------------------------------------------------------

TProjObjList::TProjObjList(QObject *owner) : TBaseObjList(owner) {}

bool TProjObjList::AcceptsItem(const TProjObj &item) const
{
    return item.metaObject()->inherits(m_itemClass);
}

void TProjObjList::LoadFromNode(pugi::xml_node node)
{
    ReadItems(node, [this](const pugi::xml_node &) { return m_itemClass; });
}

// ---- TBaseProj ------------------------------------------------------------------------------

namespace {

struct VersionSource {
    std::mutex lock;
    std::function<QString()> source;
};

VersionSource &versionSource()
{
    static VersionSource instance;
    return instance;
}

QString currentVersionText()
{
    VersionSource &version = versionSource();
    std::function<QString()> source;
    {
        const std::lock_guard guard(version.lock);
        source = version.source;
    }
    if (source)
        return source();
    return ProgramVersion(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
}

} // namespace

TBaseProj::TBaseProj(QObject *owner) : TProjObj(owner) {}

void TBaseProj::SetVersionSource(std::function<QString()> source)
{
    VersionSource &version = versionSource();
    const std::lock_guard guard(version.lock);
    version.source = std::move(source);
}

void TBaseProj::Assign(const TProjObj *source)
{
    TProjObj::Assign(source);
    if (const auto *project = qobject_cast<const TBaseProj *>(source))
        m_fileName = project->m_fileName;
}

void TBaseProj::WriteXMLFile(const QString &fileName)
{
    const QString version = currentVersionText();
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    QByteArray text;
    pugi::xml_node root = document.append_child(utf8(m_rootName, text));
    root.append_attribute("version") = utf8(version, text);
    SaveToNode(root);

    struct Collector : pugi::xml_writer {
        QByteArray bytes;
        void write(const void *data, size_t size) override
        {
            bytes.append(static_cast<const char *>(data), qsizetype(size));
        }
    } collector;
    document.save(collector, "  ", pugi::format_indent, pugi::encoding_utf8);

    // The document goes to a temporary file beside the target, which then replaces the target:
    // a failed write leaves the previous file as it was. Unbuffered, so that a short write (a
    // full disk, a size limit) shows in the count instead of being lost in a buffer flush.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw AppError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
    if (file.write(collector.bytes) != collector.bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw AppError(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, reason));
    }
    if (!file.commit())
        throw AppError(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, file.errorString()));
    m_version = version;
}

void TBaseProj::ReadXMLFile(const QString &fileName)
{
    ReadDocument(fileName, false);
}

void TBaseProj::ReadDocument(const QString &fileName, bool rootMustMatch)
{
    pugi::xml_document document;
    // Whitespace-only element text is kept, so that a value of blanks reads back as written.
    const XmlLoadResult loaded =
        LoadXmlFile(fileName, document, pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (!loaded.opened)
        throw AppError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, loaded.error));
    if (!loaded.wellFormed)
        throw AppError(QStringLiteral("%1: %2").arg(fileName, loaded.error));
    const pugi::xml_node root = document.document_element();
    m_version = QString::fromUtf8(root.attribute("version").value());
    if (rootMustMatch &&
        QString::fromUtf8(root.name()).compare(m_rootName, Qt::CaseInsensitive) != 0)
        return;
    // A text that the model rejects stops the read. It is found on a scratch object first, so
    // that a rejected document leaves this one as it was instead of half read.
    if (QObject *scratch = metaObject()->newInstance(Q_ARG(QObject *, nullptr))) {
        const std::unique_ptr<QObject> owned(scratch);
        if (auto *trial = qobject_cast<TProjObj *>(scratch))
            trial->LoadFromNode(root);
    }
    LoadFromNode(root);
}

void TBaseProj::LoadFromFile(const QString &fileName)
{
    ReadXMLFile(fileName);
    m_fileName = fileName;
    SetModified(false);
    AfterLoad();
}

void TBaseProj::SaveToFile(const QString &fileName)
{
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        throw AppError(QStringLiteral("Cannot create folder \"%1\"").arg(folder));
    WriteXMLFile(fileName);
    m_fileName = fileName;
    SetModified(false);
    AfterSave();
}
