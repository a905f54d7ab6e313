#include "TemplateInfo.h"

#include "project/UDataDef.h"
#include "project/UPublicFunction.h"

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QString dragTypeText(TDragType type)
{
    switch (type) {
    case st_Drag:
        return QStringLiteral("drag move");
    case st_Auto:
        return QStringLiteral("auto move");
    default:
        return QStringLiteral("influence move");
    }
}

QString element(const char *name, const QString &content)
{
    return QStringLiteral("<%1>%2</%1>").arg(QLatin1String(name), content);
}

// The platform colour form: red in the lowest byte, blue in the third.
uint32_t platformColor(const QColor &color)
{
    return uint32_t(color.red()) | uint32_t(color.green()) << 8 | uint32_t(color.blue()) << 16;
}

} // namespace

QString MakeTemplateInfoXml(const TTemplate &settings)
{
    // The thumbnail path goes in unescaped, as the UI expects it.
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><TemplateInfo>") +
           element("usebgimage", flag(settings.UseBgImage())) +
           element("colorvalue", QString::number(settings.BgColor())) +
           element("bgimage", settings.ThumbImg()) +
           element("useframe", flag(settings.UseFrame())) +
           element("uselight", flag(settings.UseLight())) +
           element("usefill", flag(settings.UseFill())) +
           element("autodelay", QString::number(settings.AutoDelay())) +
           element("dragtype", dragTypeText(settings.DragType())) +
           QStringLiteral("</TemplateInfo>");
}

int StoredBgColor(const QColor &shown)
{
    return int(ColorToRGB(platformColor(shown), 0));
}

QColor ShownBgColor(int bgColor)
{
    uint8_t alpha = 0;
    const uint32_t color = RGBToColor(uint32_t(bgColor), alpha);
    return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}
