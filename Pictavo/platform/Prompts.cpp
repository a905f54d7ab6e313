#include "Prompts.h"

#include "UCommonPart.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

class TWidgetPrompts final : public TPrompts {
public:
    PromptAnswer Message(QWidget *parent, const QString &text, const QString &caption,
                         PromptButtons buttons) override
    {
        QMessageBox::StandardButtons shown;
        QMessageBox::StandardButton escape = QMessageBox::Cancel;
        switch (buttons) {
        case PromptButtons::Ok: shown = QMessageBox::Ok; escape = QMessageBox::Ok; break;
        case PromptButtons::OkCancel: shown = QMessageBox::Ok | QMessageBox::Cancel; break;
        case PromptButtons::YesNo: shown = QMessageBox::Yes | QMessageBox::No; escape = QMessageBox::No; break;
        case PromptButtons::YesNoCancel:
            shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
        }
        QMessageBox box(QMessageBox::NoIcon, caption, text, shown, parent);
        box.setEscapeButton(escape);
        switch (box.exec()) {
        case QMessageBox::Ok: return PromptAnswer::Ok;
        case QMessageBox::Yes: return PromptAnswer::Yes;
        case QMessageBox::No: return PromptAnswer::No;
        default: return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Cancel;
        }
    }

    QStringList OpenFiles(QWidget *parent, const FileDialogRequest &request) override
    {
        const QString filter = FileDialogFilter(request.filter);
        if (request.multiSelect)
            return QFileDialog::getOpenFileNames(parent, {}, request.initialFolder, filter);
        const QString file = QFileDialog::getOpenFileName(parent, {}, request.initialFolder, filter);
        return file.isEmpty() ? QStringList() : QStringList{file};
    }

    QString SaveFile(QWidget *parent, const FileDialogRequest &request) override
    {
        return QFileDialog::getSaveFileName(parent, {}, request.initialFolder,
                                            FileDialogFilter(request.filter));
    }
};

TPrompts *installed = nullptr;

} // namespace

TPrompts &Prompts()
{
    static TWidgetPrompts real;
    return installed ? *installed : real;
}

void SetPrompts(TPrompts *prompts)
{
    installed = prompts;
}

QString FileDialogFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // "All (*.png;*.gif)" keeps its words; the parenthesised list is rebuilt below.
        const qsizetype open = description.lastIndexOf(u'(');
        if (open > 0 && description.endsWith(u')'))
            description = description.left(open).trimmed();
        QStringList patterns;
        for (const QString &pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            patterns << pattern;
            if (pattern.toUpper() != pattern)
                patterns << pattern.toUpper();
        }
        entries << QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
    }
    return entries.join(QStringLiteral(";;"));
}

void ShowMessage(QWidget *parent, const QString &text)
{
    Prompts().Message(parent, text, ProductTitle(), PromptButtons::Ok);
}
