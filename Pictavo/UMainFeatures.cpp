#include "UMainFeatures.h"

#include "UAbout.h"
#include "UMain.h"
#include "UProjectCommands.h"
#include "USetDesText.h"
#include "music/UMusicSetting.h"
#include "platform/Prompts.h"
#include "project/UDataDef.h"
#include "publish/UProcess.h"
#include "publish/UPublish.h"
#include "templates/UTemplateSet.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

void TMainFeatures::NotAvailable(TFrmmain &window)
{
    ShowMessage(&window, QStringLiteral("This feature is not available yet."));
}

void TMainFeatures::NewProject(TFrmmain &window) { ::NewProject(window); }
void TMainFeatures::OpenProjectDialog(TFrmmain &window) { ::OpenProjectDialog(window); }
void TMainFeatures::OpenProject(TFrmmain &window, const QString &path) { ::OpenProject(window, path); }
void TMainFeatures::SaveProject(TFrmmain &window) { ::SaveProject(window); }
bool TMainFeatures::SaveProjectAs(TFrmmain &window) { return ::SaveProjectAs(window); }
bool TMainFeatures::SaveProjectTo(TFrmmain &window, const QString &path) { return ::SaveProjectTo(window, path); }

void TMainFeatures::ShowAbout(TFrmmain &window) { ::ShowAbout(&window); }

void TMainFeatures::EditDescription(TFrmmain &window, int position)
{
    EditPhotoDescription(&window, window.Project(), position);
}

void TMainFeatures::TemplateSettings(TFrmmain &window) { ShowTemplateSettings(&window, window.Project()); }
void TMainFeatures::MusicSettings(TFrmmain &window) { ShowMusicSettings(&window, window.Project()); }
void TMainFeatures::EditPhoto(TFrmmain &window, int) { NotAvailable(window); }
void TMainFeatures::PhotoEdited(TFrmmain &, qint64, qint64) {}

std::optional<PublishChoice> TMainFeatures::PublishSettings(TFrmmain &window, int kind)
{
    TRecentFolders &recent = window.RecentFolders();
    TFrmPublish dialog(&window, window.Project(), kind, recent.Folder(TRecentFolders::OutputFolder));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    recent.SetFolder(TRecentFolders::OutputFolder, dialog.RecentOutputFolder());
    PublishChoice choice;
    choice.width = dialog.EdtWidth->value();
    choice.height = dialog.EdtHeight->value();
    choice.qualityIndex = dialog.ComQuality->currentIndex();
    choice.outputFolder = dialog.EdtPath->text();
    choice.aspect = dialog.Rad169->isChecked()  ? PublishChoice::Wide169
                    : dialog.Rad43->isChecked() ? PublishChoice::Classic43
                                                : PublishChoice::Custom;
    return choice;
}

void TMainFeatures::Export(TFrmmain &window, int kind) { ShowPublishProgress(kind, &window, window.Project()); }
