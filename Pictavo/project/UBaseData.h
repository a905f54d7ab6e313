#pragma once
// The persistent-object base of the project model.
//
// A persistent object's stored form is its published properties (Q_PROPERTY, in declaration
// order). One generic mechanism in UBaseData.cpp maps them to XML elements of the same name:
// nested objects and lists become elements holding their own properties or items, every other
// property an element whose text is the value's text form. No class reads or writes its own
// fields.
//
// Change tracking: every marking setter and every list operation calls Changed, which sets
// Modified and passes the notification up the Owner chain to the root, unless the object in
// question is being loaded.

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <pugixml.hpp>

class TBaseObjList;

class TProjObj : public QObject {
    Q_OBJECT
public:
    // `owner` is the list or object that contains this one (change notification only, not
    // ownership); nullptr for a free-standing object.
    Q_INVOKABLE explicit TProjObj(QObject *owner = nullptr);
    ~TProjObj() override;

    QObject *Owner() const { return m_owner; }
    void SetOwner(QObject *owner) { m_owner = owner; }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    bool Loading() const { return m_loading; }

    // Deep copy of every published property of `source` that this object also has; nested
    // objects and lists are copied through their own Assign. Ends with Changed.
    virtual void Assign(const TProjObj *source);
    // One "<Name>value</Name>" line per published property, CR LF between lines, unescaped.
    virtual QString GetXMLText() const;
    // Appends one child element per published property to `node`.
    virtual void SaveToNode(pugi::xml_node node) const;
    // Reads the child elements of `node` that name published properties, in document order.
    // Raises AppError("Invalid property element: <text>") for an enumeration text that is not
    // one of the type's names.
    virtual void LoadFromNode(pugi::xml_node node);
    virtual void Changed();
    // Deletes this object from its owning list, which frees it: `this` is gone afterwards.
    virtual void RemoveFromOwner();

    // Position in the owning list; -1 when the owner is not a list.
    int IndexInOwner() const;

protected:
    // Stores `value` when it differs from `field`; a marking property then reports the change.
    template <typename T>
    void Store(T &field, const T &value, bool marks = true)
    {
        if (field == value)
            return;
        field = value;
        if (marks)
            Changed();
    }

private:
    friend class LoadingScope;
    QObject *m_owner = nullptr;
    bool m_modified = false;
    bool m_loading = false;
};

// Owning list of persistent objects: removing, clearing or destroying the list frees the items.
class TBaseObjList : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TBaseObjList(QObject *owner = nullptr);
    ~TBaseObjList() override;

    QObject *Owner() const { return m_owner; }
    void SetOwner(QObject *owner) { m_owner = owner; }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    bool Loading() const { return m_loading; }

    int Count() const { return int(m_items.size()); }
    // Raises AppError("List index out of bounds (<index>)") for an index outside the list.
    TProjObj *Items(int index) const;
    int IndexOf(const TProjObj *item) const;

    // Takes ownership, sets the item's Owner to this list and reports the change through the
    // item. Returns the new index. An item the list does not hold (AcceptsItem) raises AppError.
    int Add(std::unique_ptr<TProjObj> item);
    void Insert(int index, std::unique_ptr<TProjObj> item);
    void Delete(int index);
    void Clear();
    void Move(int curIndex, int newIndex);
    void Exchange(int index1, int index2);

    // Replaces the items by deep copies of the source's items, each of its source's class.
    virtual void Assign(const TBaseObjList *source);
    // One "<ClassName>item text</ClassName>" line per item, CR LF between lines.
    virtual QString GetXMLText() const;
    // One child element per item, named after the item's class.
    virtual void SaveToNode(pugi::xml_node node) const;
    // Empties the list, then makes one item per child element from the class registered under
    // the element's name (RegisterProjClass); elements naming no registered class are skipped.
    virtual void LoadFromNode(pugi::xml_node node);
    virtual void Changed();

protected:
    virtual bool AcceptsItem(const TProjObj &item) const;
    // Creates an item of `itemClass` owned by this list (not yet added).
    std::unique_ptr<TProjObj> CreateItem(const QMetaObject *itemClass);
    // Frees every item without reporting a change.
    void FreeItems();
    // Empties the list, then reads one item per child element of `node`, of the class that
    // `itemClassOf` names for the element (elements it gives no class for are skipped).
    using ItemClassOf = std::function<const QMetaObject *(const pugi::xml_node &)>;
    void ReadItems(pugi::xml_node node, const ItemClassOf &itemClassOf);

private:
    friend class LoadingScope;
    void CheckIndex(int index, int count) const;

    QObject *m_owner = nullptr;
    bool m_modified = false;
    bool m_loading = false;
    QList<TProjObj *> m_items; // owned
};

// A list whose items all belong to one class, `ItemClass`, set by the descendant's constructor.
class TProjObjList : public TBaseObjList {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TProjObjList(QObject *owner = nullptr);

    const QMetaObject *ItemClass() const { return m_itemClass; }

    // Empties the list, then reads one item of ItemClass from each child element, whatever its
    // name.
    void LoadFromNode(pugi::xml_node node) override;

protected:
    // Only items of ItemClass or its descendants.
    bool AcceptsItem(const TProjObj &item) const override;
    void SetItemClass(const QMetaObject *itemClass) { m_itemClass = itemClass; }

private:
    const QMetaObject *m_itemClass = &TProjObj::staticMetaObject;
};

// Item classes that TBaseObjList::LoadFromNode can make by their class name. The class needs a
// Q_INVOKABLE constructor taking the owner.
void RegisterProjClass(const QMetaObject *itemClass);

// A persistent object that is the root of an XML document.
class TBaseProj : public TProjObj {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TBaseProj(QObject *owner = nullptr);

    const QString &FileName() const { return m_fileName; }
    void SetFileName(const QString &fileName) { m_fileName = fileName; }
    const QString &RootName() const { return m_rootName; }
    const QString &Version() const { return m_version; }

    void Assign(const TProjObj *source) override;

    // Writes the document; raises AppError when the file cannot be written, leaving any file
    // that was there before untouched.
    virtual void WriteXMLFile(const QString &fileName);
    virtual void AfterSave() {}
    // Reads the document; raises AppError for a file that cannot be read or is not well-formed.
    virtual void ReadXMLFile(const QString &fileName);
    virtual void AfterLoad() {}

    // ReadXMLFile, then FileName := fileName, Modified := false, AfterLoad.
    void LoadFromFile(const QString &fileName);
    // Creates the file's folder when missing, WriteXMLFile, then FileName := fileName,
    // Modified := false, AfterSave.
    void SaveToFile(const QString &fileName);

    // Where the `version` attribute written into documents comes from. The default is the
    // version record of the running executable; nullptr restores it.
    static void SetVersionSource(std::function<QString()> source);

protected:
    void SetRootName(const QString &rootName) { m_rootName = rootName; }
    // Reads the document into this object. With `rootMustMatch`, a root element whose name is
    // not RootName (compared without case) gives only the version attribute.
    void ReadDocument(const QString &fileName, bool rootMustMatch);

private:
    QString m_fileName;
    QString m_rootName = QStringLiteral("ProjName");
    QString m_version;
};
