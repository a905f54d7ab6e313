#include "PropertyText.h"

#include "UBaseData.h"
#include "platform/AppError.h"

#include <QLocale>
#include <QMetaEnum>
#include <QVariant>

namespace {

const QString trueText = QStringLiteral("True");
const QString falseText = QStringLiteral("False");

QObject *heldQObject(const QObject &object, const QMetaProperty &property)
{
    if (!(property.metaType().flags() & QMetaType::PointerToQObject))
        return nullptr;
    return property.read(&object).value<QObject *>();
}

// The user's locale, without group separators so that the text reads back as one number.
QLocale numberLocale()
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

[[noreturn]] void invalidElement(const QString &text)
{
    throw AppError(QStringLiteral("Invalid property element: %1").arg(text));
}

} // namespace

QList<QMetaProperty> PublishedProperties(const QObject &object)
{
    const QMetaObject *meta = object.metaObject();
    QList<QMetaProperty> properties;
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i)
        properties << meta->property(i);
    return properties;
}

TProjObj *HeldObject(const QObject &object, const QMetaProperty &property)
{
    return qobject_cast<TProjObj *>(heldQObject(object, property));
}

TBaseObjList *HeldList(const QObject &object, const QMetaProperty &property)
{
    return qobject_cast<TBaseObjList *>(heldQObject(object, property));
}

QString PropertyValueText(const QObject &object, const QMetaProperty &property)
{
    const QVariant value = property.read(&object);
    if (property.isEnumType()) {
        const int number = value.toInt();
        const char *name = property.enumerator().valueToKey(number);
        return name ? QString::fromLatin1(name) : QString::number(number);
    }
    switch (property.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? trueText : falseText;
    case QMetaType::Int:
        return QString::number(value.toInt());
    case QMetaType::UInt:
        return QString::number(int32_t(value.toUInt()));
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::Double:
        return value.toDouble() == 0 ? QStringLiteral("0")
                                     : numberLocale().toString(value.toDouble(), 'g', 15);
    case QMetaType::QString:
        return value.toString();
    default:
        return {};
    }
}

void SetPropertyFromText(QObject &object, const QMetaProperty &property, const QString &text)
{
    QVariant value;
    bool ok = false;
    if (property.isEnumType()) {
        const QMetaEnum type = property.enumerator();
        for (int i = 0; i < type.keyCount() && !ok; ++i) {
            if (text == QLatin1String(type.key(i))) {
                value = type.value(i);
                ok = true;
            }
        }
        if (!ok)
            invalidElement(text);
    } else {
        switch (property.metaType().id()) {
        case QMetaType::Bool:
            if (text != trueText && text != falseText)
                invalidElement(text);
            value = text == trueText;
            break;
        case QMetaType::Int: {
            const int number = text.toInt(&ok);
            value = ok ? number : 0;
            break;
        }
        case QMetaType::UInt: {
            // Written as the signed reading; the unsigned form is accepted as well.
            uint number = uint(text.toInt(&ok));
            if (!ok)
                number = text.toUInt(&ok);
            value = ok ? number : 0u;
            break;
        }
        case QMetaType::LongLong: {
            const qint64 number = text.toLongLong(&ok);
            value = ok ? number : qint64(0);
            break;
        }
        case QMetaType::Double: {
            const double number = numberLocale().toDouble(text, &ok);
            value = ok ? number : 0.0;
            break;
        }
        case QMetaType::QString:
            value = text;
            break;
        default:
            return;
        }
    }
    property.write(&object, value);
}
