#pragma once
// The interface texts of the language file, looked up by key.

#include <QString>

// Reads the language file. A missing file, a file that is not well-formed XML (reported once on
// stderr) or one without a top-level "language" element leaves nothing loaded.
void LoadLanguage(const QString &path);

// Loads the program folder's "language/language.xml".
void LoadProgramLanguage();

bool LanguageLoaded();

// The text of the first entry named exactly `key` (names compare with case); `defaultText`
// when nothing is loaded or no entry has that name.
QString LangText(const QString &key, const QString &defaultText = {});

// Drops the loaded texts.
void ReleaseLanguage();
