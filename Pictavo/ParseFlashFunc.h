#pragma once
// The texts that cross between the host and the editor UI movie.
//
// UI to host, a request: <invoke name="Command" returntype="xml"><arguments><string>a</string>
// <number>1</number></arguments></invoke>, read as an XML document.
// Host to UI, an invoke text: the same shape built by plain concatenation; arguments are inserted
// as they are (paths and whole XML documents, nothing escaped).

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// One request of the editor UI.
class TFlashRequest {
public:
    // Raises AppError when the text is not well-formed XML.
    explicit TFlashRequest(const QString &request);

    // The attribute "name" of the document element.
    const QString &Name() const { return m_name; }
    // The text of child i of the document element's last child; empty beyond the last one.
    QString Argument(int index) const;
    // Argument `index` as a decimal integer; raises AppError when it is not one.
    int IntArgument(int index) const;
    int64_t Int64Argument(int index) const;
    // Argument `index` as a decimal integer, `fallback` when it is not one.
    int IntArgumentOr(int index, int fallback) const;

private:
    QString m_name;
    QStringList m_arguments;
};

// Raises AppError("'text' is not a valid integer value") unless `text` is a decimal integer.
int StrToInt(const QString &text);
int64_t StrToInt64(const QString &text);

// The invoke text calling `function` with string arguments; a call needs at least one argument,
// so an empty list sends one empty string.
QString MakeInvokeText(const QString &function, const QStringList &arguments = {});

// The function name and the arguments of an invoke text, as the control's movie receives them.
// Read leniently: arguments are the raw text between <string> and its matching </string>, so
// unescaped characters and nested XML (also nested <string> elements) arrive as they were sent.
// Nothing when the text does not name a function.
struct InvokeCall {
    QString function;
    QStringList arguments;
};
std::optional<InvokeCall> ParseInvokeText(const QString &text);
