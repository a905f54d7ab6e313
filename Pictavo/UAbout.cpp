#include "UAbout.h"

#include "UCommonPart.h"
#include "ULanguage.h"
#include "platform/Desktop.h"
#include "platform/ProgramFolder.h"
#include "project/UPublicFunction.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QUrl>

TFrmAbout::TFrmAbout(QWidget *owner)
    : TBaseFrm(owner, QStringLiteral("FrmAbout"), QStringLiteral("About"), QSize(521, 287))
{
    ImgAbout = new QLabel(this);
    ImgAbout->setObjectName(QStringLiteral("ImgAbout"));
    ImgAbout->setGeometry(0, TitleHeight, 521, 265);
    const QString greyText = QStringLiteral("color: rgb(170,170,170); background: transparent;");
    LabVersion = new QLabel(this);
    LabVersion->setObjectName(QStringLiteral("LabVersion"));
    QFont bold = LabVersion->font();
    bold.setBold(true);
    LabVersion->setFont(bold);
    LabVersion->setStyleSheet(greyText);
    LabVersion->setGeometry(24, 200, 300, 16);
    labright = new QLabel(this);
    labright->setObjectName(QStringLiteral("labright"));
    labright->setStyleSheet(greyText);
    labright->setGeometry(24, 222, 473, 16);
    labVexasoft = new QLabel(this);
    labVexasoft->setObjectName(QStringLiteral("labVexasoft"));
    const QString home = DefaultProductLink();
    labVexasoft->setText(QStringLiteral("<a style=\"color: rgb(170,170,170);\" href=\"%1\">%1</a>").arg(home));
    labVexasoft->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    labVexasoft->setCursor(Qt::PointingHandCursor);
    labVexasoft->setGeometry(24, 244, 300, 16);
    connect(labVexasoft, &QLabel::linkActivated, this, [](const QString &link) { Desktop().OpenUrl(QUrl(link)); });

    FormCreate();

    const QString picture = ProgramFile(QStringLiteral("Res/ResImage/about.png"));
    if (QFileInfo::exists(picture))
        ImgAbout->setPixmap(QPixmap(picture));
    LabVersion->setText(LangText(QStringLiteral("frm_flash_ver")) + QLatin1Char(' ') +
                        ProgramVersion(QCoreApplication::applicationFilePath()));
    ImgAbout->lower();
}

void ShowAbout(QWidget *owner)
{
    TFrmAbout about(owner);
    about.exec();
}
