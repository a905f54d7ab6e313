#include "UMainFeatures.h"

#include "UMain.h"
#include "platform/Prompts.h"

void TMainFeatures::NotAvailable(TFrmmain &window)
{
    ShowMessage(&window, QStringLiteral("This feature is not available yet."));
}

void TMainFeatures::NewProject(TFrmmain &window) { NotAvailable(window); }
void TMainFeatures::OpenProjectDialog(TFrmmain &window) { NotAvailable(window); }
void TMainFeatures::OpenProject(TFrmmain &window, const QString &) { NotAvailable(window); }
void TMainFeatures::SaveProject(TFrmmain &window) { NotAvailable(window); }

bool TMainFeatures::SaveProjectAs(TFrmmain &window)
{
    NotAvailable(window);
    return false;
}

bool TMainFeatures::SaveProjectTo(TFrmmain &window, const QString &)
{
    NotAvailable(window);
    return false;
}

void TMainFeatures::ShowAbout(TFrmmain &window) { NotAvailable(window); }
void TMainFeatures::EditDescription(TFrmmain &window, int) { NotAvailable(window); }
void TMainFeatures::TemplateSettings(TFrmmain &window) { NotAvailable(window); }
void TMainFeatures::MusicSettings(TFrmmain &window) { NotAvailable(window); }
void TMainFeatures::EditPhoto(TFrmmain &window, int) { NotAvailable(window); }
void TMainFeatures::PhotoEdited(TFrmmain &, qint64, qint64) {}

std::optional<PublishChoice> TMainFeatures::PublishSettings(TFrmmain &window, int)
{
    NotAvailable(window);
    return std::nullopt;
}

void TMainFeatures::Export(TFrmmain &window, int) { NotAvailable(window); }
