#include "USetDesText.h"

#include "project/UDataDef.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString NoAddress = QStringLiteral("http://");

// Fields and memo are light grey on the dark form.
void StyleField(QWidget *field)
{
    QPalette colours = field->palette();
    colours.setColor(QPalette::Base, QColor(222, 222, 222));
    colours.setColor(QPalette::Text, Qt::black);
    field->setPalette(colours);
}

} // namespace

TFrmSetDecText::TFrmSetDecText(QWidget *owner)
    : TBaseFrm(owner, QStringLiteral("FrmSetDecText"), QStringLiteral("Add Caption"), QSize(345, 324))
{
    lblTitle = new QLabel(QStringLiteral("Title:"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(16, 36, 313, 16);
    edtTitle = new QLineEdit(this);
    edtTitle->setObjectName(QStringLiteral("edtTitle"));
    edtTitle->setGeometry(16, 54, 313, 22);
    StyleField(edtTitle);

    lblCode = new QLabel(QStringLiteral("Description:"), this);
    lblCode->setObjectName(QStringLiteral("lblCode"));
    lblCode->setGeometry(16, 84, 313, 16);
    MemText = new QPlainTextEdit(this);
    MemText->setObjectName(QStringLiteral("MemText"));
    MemText->setGeometry(16, 102, 313, 78);
    StyleField(MemText);

    labspecify = new QGroupBox(QStringLiteral("Specify a URL to open when click on the caption"), this);
    labspecify->setObjectName(QStringLiteral("labspecify"));
    labspecify->setGeometry(16, 188, 313, 88);
    EdtUrl = new QLineEdit(labspecify);
    EdtUrl->setObjectName(QStringLiteral("EdtUrl"));
    EdtUrl->setGeometry(10, 22, 190, 22);
    StyleField(EdtUrl);
    ComboName = new QComboBox(labspecify);
    ComboName->setObjectName(QStringLiteral("ComboName"));
    ComboName->addItems({QStringLiteral("New Window"), QStringLiteral("Current Window")});
    ComboName->setCurrentIndex(0);
    ComboName->setGeometry(206, 22, 97, 22);
    StyleField(ComboName);
    ChkAll = new QCheckBox(QStringLiteral("Apply this URL to all photos"), labspecify);
    ChkAll->setObjectName(QStringLiteral("ChkAll"));
    ChkAll->setGeometry(10, 54, 293, 20);

    BtnOk = new QPushButton(QStringLiteral("OK"), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setGeometry(168, 288, 75, 25);
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    btnLater = new QPushButton(QStringLiteral("Cancel"), this);
    btnLater->setObjectName(QStringLiteral("btnLater"));
    btnLater->setGeometry(254, 288, 75, 25);
    connect(btnLater, &QPushButton::clicked, this, &QDialog::reject);
    StyleFormButton(BtnOk);
    StyleFormButton(btnLater);

    FormCreate();
}

void TFrmSetDecText::showEvent(QShowEvent *event)
{
    TBaseFrm::showEvent(event);
    edtTitle->setFocus();
}

bool IsWebAddressEntered(const QString &text)
{
    return text != NoAddress && text.trimmed().size() > NoAddress.size();
}

void EditPhotoDescription(QWidget *owner, TProjItem &project, int position)
{
    TImageObjList &images = *project.Images();
    if (position < 0 || position >= images.Count())
        return;
    TFrmSetDecText dialog(owner);
    TImageObj &photo = *images.Items(position);
    dialog.EdtUrl->setText(photo.URL().isEmpty() ? NoAddress : photo.URL());
    dialog.ComboName->setCurrentIndex(photo.URLType() == st_current ? 1 : 0);
    dialog.MemText->setPlainText(photo.Description());
    dialog.edtTitle->setText(photo.Caption());
    if (dialog.exec() != QDialog::Accepted)
        return;

    const QString address = dialog.EdtUrl->text();
    if (IsWebAddressEntered(address)) {
        const TWindowType window = dialog.ComboName->currentIndex() == 1 ? st_current : st_new;
        for (int i = 0; i < images.Count(); ++i) {
            if (i != position && !dialog.ChkAll->isChecked())
                continue;
            images.Items(i)->SetURL(address);
            images.Items(i)->SetURLType(window);
        }
    }
    photo.SetDescription(dialog.MemText->toPlainText());
    photo.SetCaption(dialog.edtTitle->text());
}
