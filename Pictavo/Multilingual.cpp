#include "Multilingual.h"

#include "ULanguage.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTableWidget>
#include <QTreeWidget>
#include <QWidget>
#include <array>

namespace {

using S = TextSlot;

const std::array bindings = {
    LanguageBinding{"Frmmain", "frm_main_unit", "LabImageCount", S::CountedCaption},
    LanguageBinding{"Frmmain", "frm_main_untitle", "lblFileName", S::Caption},
    LanguageBinding{"FrmAbout", "frm_about_title", "LblBaseCaption", S::Caption},
    LanguageBinding{"FrmAbout", "frm_about_copyright", "labright", S::Caption},
    LanguageBinding{"FrmMsgBox", "frm_msg_some", "lblCode", S::Caption},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_title", "LblBaseCaption", S::Caption},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_title", "BtnAdd", S::Hint},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_remove", "BtnDel", S::Hint},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_moveup", "BtnUp", S::Hint},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_movedown", "BtnDown", S::Hint},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_play", "BtnPlay", S::Hint},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_pause", "BtnPause", S::Hint},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_stop", "BtnStop", S::Hint},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_reset", "BtnReset", S::Hint},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_fadein", "ChkFadeIn", S::Caption},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_fadeout", "ChkFadeOut", S::Caption},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_loop", "ChkMusicLoop", S::Caption},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_musicfile", "FileList", S::ColumnCaption, 0},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_begin", "FileList", S::ColumnCaption, 1},
    LanguageBinding{"FrmMusicSet", "frm_addmusic_end", "FileList", S::ColumnCaption, 2},
    LanguageBinding{"FrmProcess", "frm_publish_title", "LblBaseCaption", S::Caption},
    LanguageBinding{"FrmPublish", "frm_publishset_title", "LblBaseCaption", S::Caption},
    LanguageBinding{"FrmPublish", "frm_publishset_output", "grpOptions", S::Caption},
    LanguageBinding{"FrmPublish", "frm_publishset_output", "grpFolder", S::Caption},
    LanguageBinding{"FrmPublish", "frm_publishset_size", "labSize", S::Caption},
    LanguageBinding{"FrmPublish", "frm_publishset_width", "labWidth", S::Caption},
    LanguageBinding{"FrmPublish", "frm_publishset_height", "LabHeight", S::Caption},
    LanguageBinding{"FrmPublish", "frm_publishset_image", "LabImage", S::Caption},
    LanguageBinding{"FrmPublish", "frm_publishset_file", "LabFile", S::Caption},
    LanguageBinding{"FrmPublish", "frm_publishset_custom", "RadCus", S::Caption},
    LanguageBinding{"FrmPublish", "frm_publishset_path", "LabPath", S::Caption},
    LanguageBinding{"FrmSetDecText", "frm_addcaption_caption", "LblBaseCaption", S::Caption},
    LanguageBinding{"FrmSetDecText", "frm_addcaption_title", "lblTitle", S::Caption},
    LanguageBinding{"FrmSetDecText", "frm_addcaption_des", "lblCode", S::Caption},
    LanguageBinding{"FrmSetDecText", "frm_addcaption_specify", "labspecify", S::Caption},
    LanguageBinding{"FrmSetDecText", "frm_addcaption_apply", "ChkAll", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_setting", "LblBaseCaption", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_background", "Background", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_bkcolor", "labbkcolor", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_bkimage", "ChkImage", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_thumb", "grpthumb", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_add", "chkFrame", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_use", "ChkLight", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_fill", "ChkFill", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_scr", "grpScr", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_mouse", "RadDrag", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_cur", "RadIn", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_auto", "RadAuto", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_play", "grpPlayback", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_autoplay", "chkAutoPlay", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_loop", "ChkAutoLoop", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_full", "ChkFullPlay", S::Caption},
    LanguageBinding{"FrmTemplateSet", "frm_template_photo", "labphotoDelay", S::Caption},
};

void setCaption(QWidget *control, const QString &text)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(text);
    else if (auto *group = qobject_cast<QGroupBox *>(control))
        group->setTitle(text);
    else
        control->setWindowTitle(text);
}

void setColumnCaption(QWidget *control, int column, const QString &text)
{
    if (auto *tree = qobject_cast<QTreeWidget *>(control)) {
        tree->headerItem()->setText(column, text);
    } else if (auto *table = qobject_cast<QTableWidget *>(control)) {
        QTableWidgetItem *item = table->horizontalHeaderItem(column);
        if (!item) {
            item = new QTableWidgetItem;
            table->setHorizontalHeaderItem(column, item); // the table takes ownership
        }
        item->setText(text);
    }
}

} // namespace

std::span<const LanguageBinding> LanguageBindings()
{
    return bindings;
}

void ApplyLanguage(QWidget *form)
{
    if (!form)
        return;
    const QString formName = form->objectName();
    for (const LanguageBinding &binding : bindings) {
        if (formName.compare(QLatin1String(binding.form), Qt::CaseInsensitive) != 0)
            continue;
        const QString controlName = QString::fromLatin1(binding.control);
        QWidget *control = form->objectName() == controlName
                               ? form
                               : form->findChild<QWidget *>(controlName);
        if (!control)
            continue;
        const QString text = LangText(QString::fromLatin1(binding.key));
        switch (binding.slot) {
        case TextSlot::Caption: setCaption(control, text); break;
        case TextSlot::Hint: control->setToolTip(text); break;
        case TextSlot::CountedCaption: setCaption(control, QStringLiteral("0 ") + text); break;
        case TextSlot::ColumnCaption: setColumnCaption(control, binding.column, text); break;
        }
    }
}
