#include "publish/UPublish.h"

#include "UCommonPart.h"
#include "ULanguage.h"
#include "platform/HelpFile.h"
#include "platform/Prompts.h"
#include "project/UDataDef.h"
#include "project/UPublicFunction.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <cmath>

namespace {

constexpr int MaxSide = 10000;
const QString DefaultName = QStringLiteral("sample.swf");

QSpinBox *SizeField(QWidget *parent, const char *name, QRect place)
{
    auto *field = new QSpinBox(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setRange(0, MaxSide);
    field->setGeometry(place);
    return field;
}

// `name` with its extension (from the last ".") replaced by `extension`.
QString WithExtension(const QString &name, const QString &extension)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot >= 0 ? name.left(dot) : name) + extension;
}

} // namespace

TFrmPublish::TFrmPublish(QWidget *owner, TProjItem &project, int kind, const QString &recentOutputFolder)
    : TBaseFrm(owner, QStringLiteral("FrmPublish"), QStringLiteral("Publish Settings"), QSize(448, 334)),
      Kind(kind), Project(project), RecentFolder(recentOutputFolder)
{
    grpOptions = MakeControl<QGroupBox>(this, "grpOptions", " Output Options ", QRect(12, 34, 424, 120));
    labSize = MakeControl<QLabel>(grpOptions, "labSize", "Size:", QRect(12, 26, 80, 18));
    labWidth = MakeControl<QLabel>(grpOptions, "labWidth", "Width:", QRect(96, 26, 50, 18));
    EdtWidth = SizeField(grpOptions, "EdtWidth", QRect(148, 24, 70, 22));
    LabHeight = MakeControl<QLabel>(grpOptions, "LabHeight", "Height:", QRect(232, 26, 50, 18));
    EdtHeight = SizeField(grpOptions, "EdtHeight", QRect(284, 24, 70, 22));
    Rad169 = MakeControl<QRadioButton>(grpOptions, "Rad169", "16:9", QRect(76, 56, 70, 20));
    Rad43 = MakeControl<QRadioButton>(grpOptions, "Rad43", "4:3", QRect(152, 56, 70, 20));
    RadCus = MakeControl<QRadioButton>(grpOptions, "RadCus", "Custom", QRect(228, 56, 100, 20));
    Rad169->setChecked(true);
    LabImage = MakeControl<QLabel>(grpOptions, "LabImage", "Image Quality :", QRect(12, 88, 110, 18));
    ComQuality = new QComboBox(grpOptions);
    ComQuality->setObjectName(QStringLiteral("ComQuality"));
    ComQuality->addItems({QStringLiteral("Full Quality"), QStringLiteral("Medium Quality"), QStringLiteral("Low Quality")});
    ComQuality->setGeometry(128, 86, 206, 22);

    grpFolder = MakeControl<QGroupBox>(this, "grpFolder", " Output Folder ", QRect(12, 162, 424, 90));
    LabPath = MakeControl<QLabel>(grpFolder, "LabPath", "Output Path:", QRect(12, 26, 100, 18));
    EdtPath = new QLineEdit(grpFolder);
    EdtPath->setObjectName(QStringLiteral("EdtPath"));
    EdtPath->setGeometry(116, 24, 296, 22);
    QAction *pick = EdtPath->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
    pick->setObjectName(QStringLiteral("EdtPathButton"));
    connect(pick, &QAction::triggered, this, &TFrmPublish::SelectPath);
    LabFile = MakeControl<QLabel>(grpFolder, "LabFile", "File Name:", QRect(12, 58, 100, 18));
    EdtName = new QLineEdit(DefaultName, grpFolder);
    EdtName->setObjectName(QStringLiteral("EdtName"));
    EdtName->setGeometry(116, 56, 296, 22);

    lblURLHint = MakeControl<QLabel>(this, "lblURLHint",
                              "Click here to learn how to embed and share .swf flash file on your website.",
                              QRect(12, 262, 424, 18));
    lblURLHint->setStyleSheet(QStringLiteral("color: rgb(120,170,230); background: transparent; text-decoration: underline;"));
    lblURLHint->setCursor(Qt::PointingHandCursor);
    lblURLHint->hide();
    lblURLHint->installEventFilter(this);

    btnRegisition = MakeControl<QPushButton>(this, "btnRegisition", "OK", QRect(276, 296, 75, 25));
    btnLater = MakeControl<QPushButton>(this, "btnLater", "Cancel", QRect(361, 296, 75, 25));
    StyleFormButton(btnRegisition);
    StyleFormButton(btnLater);
    btnRegisition->setAutoDefault(false);
    btnLater->setAutoDefault(false);
    connect(btnRegisition, &QPushButton::clicked, this, &TFrmPublish::Confirm);
    connect(btnLater, &QPushButton::clicked, this, &QDialog::reject);

    connect(EdtWidth, &QSpinBox::valueChanged, this, &TFrmPublish::EdtWidthChange);
    connect(EdtHeight, &QSpinBox::valueChanged, this, &TFrmPublish::EdtHeightChange);
    connect(Rad169, &QRadioButton::clicked, this, &TFrmPublish::EdtWidthChange);
    connect(Rad43, &QRadioButton::clicked, this, &TFrmPublish::EdtWidthChange);

    FormCreate();

    // The project's values, without the linked update.
    const TSeting &seting = *Project.Seting();
    Linking = true;
    EdtWidth->setValue(seting.Width());
    EdtHeight->setValue(seting.Height());
    (seting.OutType() == st_Custom ? RadCus : seting.OutType() == st_43 ? Rad43 : Rad169)->setChecked(true);
    Linking = false;
    const QFileInfo previous(Project.OutputPath());
    const QString name = !Project.OutputPath().isEmpty() && previous.isFile() ? previous.fileName() : DefaultName;
    EdtPath->setText(QFileInfo(recentOutputFolder).isDir() ? recentOutputFolder : QString());
    ComQuality->setCurrentIndex(IndexOfQuality(seting.ImgQuality()));
    EdtName->setText(WithExtension(name, KindExtension(Kind)));
    if (Kind == 0 || Kind == 2) {
        lblURLHint->setText(LangText(Kind == 0 ? QStringLiteral("msg_click_here") : QStringLiteral("msg_click_learn")));
        lblURLHint->show();
    }
}

int TFrmPublish::QualityOfIndex(int index)
{
    static constexpr int qualities[] = {50, 85, 100};
    return index >= 0 && index < 3 ? qualities[index] : 100;
}

int TFrmPublish::IndexOfQuality(int quality)
{
    return quality == 50 ? 0 : quality == 85 ? 1 : 2;
}

QString TFrmPublish::KindExtension(int kind)
{
    switch (kind) {
    case 1: return QStringLiteral(".exe");
    case 2: return QStringLiteral(".html");
    case 4: return QStringLiteral(".scr");
    default: return QStringLiteral(".swf");
    }
}

QString TFrmPublish::HintTopic(int kind)
{
    return kind == 0 ? QStringLiteral("faq.html#share_swf_website") : QStringLiteral("faq.html#share_html_website");
}

void TFrmPublish::showEvent(QShowEvent *event)
{
    TBaseFrm::showEvent(event);
    EdtName->setFocus();
}

void TFrmPublish::SetLinked(QSpinBox *field, double value)
{
    Linking = true;
    field->setValue(int(std::nearbyint(value))); // halves to even
    Linking = false;
}

void TFrmPublish::EdtWidthChange()
{
    if (Linking)
        return;
    const double width = EdtWidth->value();
    if (Rad169->isChecked())
        SetLinked(EdtHeight, width * 9 / 16);
    else if (Rad43->isChecked())
        SetLinked(EdtHeight, width * 3 / 4);
}

void TFrmPublish::EdtHeightChange()
{
    if (Linking)
        return;
    const double height = EdtHeight->value();
    if (Rad169->isChecked())
        SetLinked(EdtWidth, height * 16 / 9);
    else if (Rad43->isChecked())
        SetLinked(EdtWidth, height * 4 / 3);
}

void TFrmPublish::SelectPath()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QString(), EdtPath->text());
    if (!folder.isEmpty())
        EdtPath->setText(QDir::toNativeSeparators(folder));
}

void TFrmPublish::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Confirm();
        return;
    }
    TBaseFrm::keyPressEvent(event);
}

bool TFrmPublish::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblURLHint && event->type() == QEvent::MouseButtonRelease) {
        OpenHelpFile(HintTopic(Kind));
        return true;
    }
    return TBaseFrm::eventFilter(watched, event);
}

void TFrmPublish::Confirm()
{
    if (!IsValidFileName(EdtName->text())) {
        Prompts().Message(this, LangText(QStringLiteral("msg_the_following")), ProductTitle(), PromptButtons::Ok);
        EdtName->setFocus();
        return;
    }
    EdtName->setText(WithExtension(EdtName->text(), KindExtension(Kind)));
    if (!QFileInfo(EdtPath->text().trimmed()).isDir()) {
        Prompts().Message(this, LangText(QStringLiteral("msg_the_folder")), ProductTitle(), PromptButtons::Ok);
        return;
    }
    QString path = EdtPath->text().trimmed();
    IncludeBackslash(path);
    path += EdtName->text();
    if (QFileInfo::exists(path)) {
        if (Prompts().Message(this, LangText(QStringLiteral("msg_the_output")), ProductTitle(), PromptButtons::OkCancel) !=
            PromptAnswer::Ok)
            return;
        RecentFolder = EdtPath->text();
    }
    Project.SetOutputPath(path);
    accept();
}
