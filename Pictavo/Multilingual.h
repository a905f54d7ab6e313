#pragma once
// Which language key goes to which control of which form.

#include <QString>
#include <span>

class QWidget;

enum class TextSlot {
    Caption,         // the control's shown text (label, button, check box, group box title)
    Hint,            // its tool tip
    CountedCaption,  // "0 " followed by the text (the photo-count label of a new main window)
    ColumnCaption,   // the header text of column `column` of a list view
};

struct LanguageBinding {
    const char *form;    // the form's object name, compared without regard to case
    const char *key;
    const char *control; // the control's object name
    TextSlot slot;
    int column = 0;
};

// Every binding, in table order.
std::span<const LanguageBinding> LanguageBindings();

// Sets every text of the table rows for `form`'s object name, also empty ones. A form whose name
// is not in the table is left as it is; a control the form does not have is skipped.
void ApplyLanguage(QWidget *form);
