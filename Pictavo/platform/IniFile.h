#pragma once
// A read-only INI file: "[section]" headers and "key=value" lines. Section and key names compare
// without regard to case; the first of duplicate keys counts; lines starting with ";" or "#" are
// comments. The file is read as UTF-8.

#include <QHash>
#include <QString>

class IniFile {
public:
    // A missing or unreadable file gives an empty INI file.
    explicit IniFile(const QString &path);

    bool contains(const QString &section, const QString &key) const;
    // The value, trimmed of surrounding blanks; `fallback` when the section or key is missing.
    QString value(const QString &section, const QString &key, const QString &fallback = {}) const;

private:
    static QString slot(const QString &section, const QString &key);
    QHash<QString, QString> m_values;
};
