#include "publish/ProgressReceiver.h"

#include "ULanguage.h"

QString PublishStageText(int number)
{
    static const char *const keys[] = {"frm_publish_editmusic", "frm_publish_edit", "frm_publish_create"};
    if (number < 1 || number > 3)
        return {};
    return QStringLiteral("(%1/3)  ").arg(number) + LangText(QLatin1String(keys[number - 1])) + QStringLiteral("...");
}
