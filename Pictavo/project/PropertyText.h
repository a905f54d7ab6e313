#pragma once
// The value forms of published properties: which properties an object publishes, and each
// property's value as element text and back, chosen by the property's type.

#include <QList>
#include <QMetaProperty>
#include <QString>

class QObject;
class TProjObj;
class TBaseObjList;

// The published properties of `object`, in declaration order (base classes first).
QList<QMetaProperty> PublishedProperties(const QObject &object);

// The persistent object or list held in a class-typed property; nullptr for any other property.
TProjObj *HeldObject(const QObject &object, const QMetaProperty &property);
TBaseObjList *HeldList(const QObject &object, const QMetaProperty &property);

// Enumerations by their value names (Booleans "True"/"False"), integers as signed decimals
// (an unsigned 32-bit value as its signed reading), Doubles in the user's locale with at most
// 15 significant digits, strings as they are.
QString PropertyValueText(const QObject &object, const QMetaProperty &property);

// The inverse, through the property's setter: a text that is not a number reads as 0; an
// enumeration text that is not one of the type's names raises
// AppError("Invalid property element: <text>"). Properties of other types are left alone.
void SetPropertyFromText(QObject &object, const QMetaProperty &property, const QString &text);
