#include "ProjectDefaults.h"

#include "UDataDef.h"
#include "templates/TemplateCatalog.h"

void ApplyStartupValues(TProjItem &project)
{
    TSeting &seting = *project.Seting();
    seting.SetWidth(960);
    seting.SetHeight(540);
    seting.SetImgQuality(85);
    seting.SetMusicLoop(true);
    seting.SetOutType(st_169);

    TTemplate &tmpl = *project.Template();
    tmpl.SetUseBgImage(false);
    tmpl.SetUseFrame(false);
    tmpl.SetUseLight(true);
    tmpl.SetUseFill(false);
    tmpl.SetAutoDelay(5);
    tmpl.SetAutoLoop(false);
    tmpl.SetAutoPlay(false);
    tmpl.SetFullPlay(false);
    const TemplateRange range = LookupTemplateRange(0).value_or(TemplateRange{});
    tmpl.SetSelectOffset(range.Offset);
    tmpl.SetSelectSize(range.Size);
    tmpl.SetDragType(st_Drag);
}
