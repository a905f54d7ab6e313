#pragma once
// Every message box and file dialog of the program goes through one replaceable interface, so that
// tests can answer them by script.

#include <QString>
#include <QStringList>

class QWidget;

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct FileDialogRequest {
    QString filter;        // "Description|patterns|Description|patterns", patterns joined by ";"
    QString initialFolder; // empty: the dialog's own choice
    bool multiSelect = false;
};

class TPrompts {
public:
    virtual ~TPrompts() = default;
    // A message box; closing it without a button answers Cancel (or No when there is no Cancel).
    virtual PromptAnswer Message(QWidget *parent, const QString &text, const QString &caption,
                                 PromptButtons buttons) = 0;
    // The chosen files of an open dialog, in the dialog's order; empty when cancelled.
    virtual QStringList OpenFiles(QWidget *parent, const FileDialogRequest &request) = 0;
    // The chosen name of a save dialog; empty when cancelled.
    virtual QString SaveFile(QWidget *parent, const FileDialogRequest &request) = 0;
};

// The prompts in use: the real dialogs unless a test installed others.
TPrompts &Prompts();

// Installs `prompts` (not owned) in place of the real dialogs; nullptr brings them back.
void SetPrompts(TPrompts *prompts);

// The filter in the form the toolkit's file dialogs take ("Description (*.a *.b);;..."). Patterns
// are offered in lower and upper case, since the file system compares names with case.
QString FileDialogFilter(const QString &filter);

// A message box with an OK button and the product title as caption.
void ShowMessage(QWidget *parent, const QString &text);
