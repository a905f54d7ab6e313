#include "UMsgBox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

TFrmMsgBox::TFrmMsgBox(QWidget *owner)
    : TBaseFrm(owner, QStringLiteral("FrmMsgBox"), QStringLiteral("Missing Files"), QSize(379, 334))
{
    lblCode = new QLabel(this);
    lblCode->setObjectName(QStringLiteral("lblCode"));
    lblCode->setWordWrap(true);
    lblCode->setGeometry(16, 36, 347, 48);
    filelist = new QListWidget(this);
    filelist->setObjectName(QStringLiteral("filelist"));
    filelist->setGeometry(16, 90, 347, 196);
    QPalette colours = filelist->palette();
    colours.setColor(QPalette::Base, QColor(222, 222, 222));
    filelist->setPalette(colours);
    BtnOk = new QPushButton(QStringLiteral("OK"), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setGeometry(288, 298, 75, 25);
    StyleFormButton(BtnOk);
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    FormCreate();
}

void TFrmMsgBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    TBaseFrm::keyPressEvent(event);
}

QString MissingFilesText(const QString &name)
{
    return QStringLiteral("Some files in \"") + name +
           QStringLiteral("\" are missing. We will remove them from this project to continue. ");
}

void ShowMissingFiles(QWidget *owner, const QString &name, const QStringList &paths)
{
    TFrmMsgBox box(owner);
    box.filelist->addItems(paths);
    box.lblCode->setText(MissingFilesText(name));
    box.exec();
}
