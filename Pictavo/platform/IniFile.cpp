#include "IniFile.h"

#include <QFile>

IniFile::IniFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QString section;
    const QString text = QString::fromUtf8(file.readAll());
    for (const QStringView rawLine : QStringView(text).split(u'\n')) {
        const QStringView line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            section = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed().toString();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = slot(section, line.left(equals).trimmed().toString());
        if (!m_values.contains(key))
            m_values.insert(key, line.mid(equals + 1).trimmed().toString());
    }
}

QString IniFile::slot(const QString &section, const QString &key)
{
    return section.toCaseFolded() + u'\n' + key.toCaseFolded();
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    return m_values.contains(slot(section, key));
}

QString IniFile::value(const QString &section, const QString &key, const QString &fallback) const
{
    return m_values.value(slot(section, key), fallback);
}
