// Writes the run-time data files that publishing reads into a program folder, the same bytes on
// every run: the gallery player movie, the base movie, the template pack and its catalogue, the
// twelve default preview pictures, and a small sample project with its photos.
//
//   MakeDataFiles PROGRAM_FOLDER

#include "publish/BitsEngine.h"
#include "publish/SWFStreamReader.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>
#include <pugixml.hpp>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

// Catalogue offsets and sizes are stored with this amount added.
constexpr int CatalogueBias = 515;

// ---- Flash movies ------------------------------------------------------------------------------

QByteArray UI16(int value)
{
    QByteArray bytes(2, '\0');
    bytes[0] = char(value & 0xFF);
    bytes[1] = char((value >> 8) & 0xFF);
    return bytes;
}

QByteArray Tag(int code, const QByteArray &data)
{
    if (data.size() < 0x3F)
        return UI16(code << 6 | int(data.size())) + data;
    QByteArray tag = UI16(code << 6 | 0x3F);
    for (int i = 0; i < 4; ++i)
        tag += char((data.size() >> (8 * i)) & 0xFF);
    return tag + data;
}

QByteArray Rgb(QRgb colour)
{
    QByteArray bytes;
    bytes += char(qRed(colour));
    bytes += char(qGreen(colour));
    bytes += char(qBlue(colour));
    return bytes;
}

// A shape holding one solid rectangle (twips), as character 1.
QByteArray DefineRectangle(int x0, int y0, int x1, int y1, QRgb colour)
{
    QByteArray data = UI16(1);
    QBuffer buffer(&data);
    buffer.open(QIODevice::Append);
    TBitsEngine bits(buffer);
    bits.WriteRect(x0, x1, y0, y1);
    buffer.write(QByteArray(1, '\x01') + QByteArray(1, '\0') + Rgb(colour)); // one solid fill
    buffer.write(QByteArray(1, '\0'));                                        // no line styles
    bits.WriteUB(1, 4);                                                       // fill index bits
    bits.WriteUB(0, 4);                                                       // line index bits
    // Style change: fill style 1 on, move to the top-left corner.
    bits.WriteBits(0b000101, 6);
    const int moveBits = std::max(SignedBitsNeeded(std::max(x0, y0), 1), 1);
    bits.WriteUB(uint32_t(moveBits), 5);
    bits.WriteSB(x0, moveBits);
    bits.WriteSB(y0, moveBits);
    bits.WriteBits(1, 1);
    // Four straight edges around the rectangle.
    const struct { bool vertical; int delta; } edges[] = {
        {false, x1 - x0}, {true, y1 - y0}, {false, x0 - x1}, {true, y0 - y1}};
    for (const auto &edge : edges) {
        const int n = std::max(SignedBitsNeeded(edge.delta, 1), 2);
        bits.WriteBits(0b11, 2);
        bits.WriteUB(uint32_t(n - 2), 4);
        bits.WriteBits(0, 1);
        bits.WriteBits(edge.vertical ? 1 : 0, 1);
        bits.WriteSB(edge.delta, n);
    }
    bits.WriteBits(0, 6); // end of shape
    bits.FlushBits(true);
    return Tag(2, data);
}

// A one-frame movie of `width` × `height` pixels: background colour and a centred rectangle.
QByteArray Movie(bool compressed, int version, int width, int height, QRgb background, QRgb shape)
{
    QByteArray tags;
    if (version >= 8)
        tags += Tag(69, QByteArray(4, '\0')); // file attributes: nothing special
    tags += Tag(9, Rgb(background));
    const int w = width * 20, h = height * 20;
    tags += DefineRectangle(w / 4, h / 4, w * 3 / 4, h * 3 / 4, shape);
    tags += Tag(26, QByteArray(1, '\x02') + UI16(1) + UI16(1)); // place character 1 at depth 1
    tags += Tag(1, {});                                         // show frame
    tags += Tag(0, {});                                         // end

    TSWFStreamReader movie;
    movie.Compressed = compressed;
    movie.Version = uint8_t(version);
    movie.SetWidth(width);
    movie.SetHeight(height);
    movie.FrameRate = ToFixed8(24.0f);
    movie.FrameCount = 1;
    movie.Body = tags;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    movie.SaveToStream(buffer);
    return bytes;
}

// ---- Files -------------------------------------------------------------------------------------

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void WriteJpeg(const QString &path, const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    if (!writer.write(image))
        throw std::runtime_error("cannot encode " + path.toStdString() + ": " + writer.errorString().toStdString());
    WriteFile(path, bytes);
}

void WriteXml(const QString &path, const pugi::xml_document &document)
{
    struct Collect : pugi::xml_writer {
        QByteArray bytes;
        void write(const void *data, size_t size) override { bytes.append(static_cast<const char *>(data), qsizetype(size)); }
    } out;
    document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    WriteFile(path, out.bytes);
}

void AddText(pugi::xml_node parent, const char *name, const QString &text)
{
    parent.append_child(name).text().set(text.toUtf8().constData());
}

// ---- Templates ---------------------------------------------------------------------------------

struct TemplateEntry {
    int id;
    const char *name;
    const char *type;
    bool compressed;
    QRgb background, shape;
    const char *mousedrag, *autocursor, *autoscroll, *usespotlight;
    int offset = 0, size = 0;
};

// Capability texts vary on purpose: "True" in any case means yes, anything else no.
std::vector<TemplateEntry> Templates()
{
    return {
        {0, "Photo Wall", "st_3d_Wall", true, 0x101820, 0x4060A0, "True", "True", "True", "True"},
        {1, "Cube", "st_3d_Shape", true, 0x202020, 0xA04040, "True", "True", "False", "True"},
        {2, "Carousel", "st_3d_Cool", false, 0x003040, 0x40A0A0, "false", "TRUE", "True", "True"},
        {3, "Gallery Hall", "st_gallery", true, 0x302010, 0xC09040, "True", "true", "True", "False"},
        {4, "Simple Slides", "st_simple", false, 0xFFFFFF, 0x808080, "False", "False", "True", "no"},
        {5, "Mosaic", "st_part", true, 0x000000, 0x60C060, "True", "False", "False", "False"},
    };
}

void WriteTemplates(const QString &folder, std::vector<TemplateEntry> &templates)
{
    QByteArray pack;
    for (TemplateEntry &entry : templates) {
        const QByteArray movie = Movie(entry.compressed, 9, 960, 540, entry.background, entry.shape);
        entry.offset = int(pack.size());
        entry.size = int(movie.size());
        for (int i = 3; i >= 0; --i)
            pack += char((movie.size() >> (8 * i)) & 0xFF);
        pack += movie;
    }
    WriteFile(folder + "libavcodec-52.dll", pack);

    pugi::xml_document document;
    auto declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    auto list = document.append_child("ProjName").append_child("Templates");
    for (const TemplateEntry &entry : templates) {
        auto node = list.append_child("Template");
        AddText(node, "TemplateID", QString::number(entry.id));
        AddText(node, "TemplateName", entry.name);
        AddText(node, "TemplateType", entry.type);
        AddText(node, "MD5O", QString::number(entry.offset + CatalogueBias));
        AddText(node, "CRTS", QString::number(entry.size + CatalogueBias));
        AddText(node, "mousedrag", entry.mousedrag);
        AddText(node, "autocursor", entry.autocursor);
        AddText(node, "autoscroll", entry.autoscroll);
        AddText(node, "usespotlight", entry.usespotlight);
    }
    WriteXml(folder + "Res/TemplateXML.xml", document);
}

// ---- Pictures ----------------------------------------------------------------------------------

// A landscape-like picture: a sky gradient, a sun and two rows of hills, all from `seed`.
QImage Landscape(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int hue = (seed * 47) % 360;
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor::fromHsv(hue, 120, 250));
    sky.setColorAt(1, QColor::fromHsv((hue + 30) % 360, 60, 255));
    painter.fillRect(image.rect(), sky);
    const QPointF sun(width * (0.2 + 0.1 * (seed % 7)), height * (0.2 + 0.03 * (seed % 5)));
    QRadialGradient glow(sun, height * 0.18);
    glow.setColorAt(0, QColor(255, 250, 220));
    glow.setColorAt(0.5, QColor(255, 220, 120));
    glow.setColorAt(1, QColor(255, 220, 120, 0));
    painter.fillRect(image.rect(), glow);
    for (int row = 0; row < 2; ++row) {
        QPainterPath hills;
        const double base = height * (0.62 + 0.16 * row);
        hills.moveTo(0, height);
        hills.lineTo(0, base);
        for (int i = 1; i <= 8; ++i) {
            const double x = width * i / 8.0;
            const double lift = height * 0.08 * (((seed + i * (row + 3)) % 5) - 2) / 2.0;
            hills.quadTo(x - width / 16.0, base - lift - height * 0.06, x, base - lift / 2);
        }
        hills.lineTo(width, height);
        hills.closeSubpath();
        painter.fillPath(hills, QColor::fromHsv((90 + seed * 13 + row * 20) % 360, 140, 150 - row * 50));
    }
    return image;
}

struct SamplePhoto {
    const char *path; // below Sample/photos/
    const char *caption;
    const char *description;
};

void WriteSample(const QString &folder, const TemplateEntry &firstTemplate)
{
    const SamplePhoto photos[] = {
        {"day1/beach.jpg", "Beach at dawn", "The first morning by the sea."},
        {"day1/dunes.jpg", "Dunes", "Wind-shaped sand behind the beach."},
        {"day2/beach.jpg", "Beach again", "Same beach, other day, other light."},
        {"day2/harbour.jpg", "Harbour", "Boats waiting for the tide."},
        {"day3/hills.jpg", "Hills", "A walk inland <with> & without a map."},
        {"day3/sunset.jpg", "Sunset", "The last evening."},
    };
    const QString sample = folder + "Sample/";
    int seed = 1;
    for (const SamplePhoto &photo : photos)
        WriteJpeg(sample + "photos/" + photo.path, Landscape(1024, 768, seed++));
    WriteJpeg(sample + "background.jpeg", Landscape(960, 540, 42));

    pugi::xml_document document;
    auto declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    auto root = document.append_child("Plexo");
    root.append_attribute("version") = "";
    auto images = root.append_child("Images");
    int id = 1;
    for (const SamplePhoto &photo : photos) {
        auto node = images.append_child("TImageObj");
        AddText(node, "ID", QString::number(id++));
        AddText(node, "SrcFile", sample + "photos/" + photo.path);
        AddText(node, "Description", photo.description);
        AddText(node, "URLType", "st_new");
        AddText(node, "ISEdit", "False");
        AddText(node, "Caption", photo.caption);
    }
    auto templ = root.append_child("Template");
    AddText(templ, "TemplateID", QString::number(firstTemplate.id));
    AddText(templ, "TemplateType", firstTemplate.type);
    AddText(templ, "UseFrame", "True");
    AddText(templ, "BgColor", "1056800");
    AddText(templ, "BgImage", sample + "background.jpeg");
    AddText(templ, "ThumbImg", sample + "background.jpeg");
    AddText(templ, "SelectOffset", QString::number(firstTemplate.offset));
    AddText(templ, "SelectSize", QString::number(firstTemplate.size));
    AddText(templ, "DragType", "st_Drag");
    AddText(templ, "UseLight", "True");
    AddText(templ, "AutoDelay", "5");
    AddText(templ, "UseBgImage", "True");
    root.append_child("Audios");
    auto seting = root.append_child("Seting");
    AddText(seting, "Width", "960");
    AddText(seting, "Height", "540");
    AddText(seting, "ImgQuality", "85");
    AddText(seting, "OutType", "st_169");
    AddText(seting, "MusicLoop", "True");
    WriteXml(sample + "sample.vlpj", document);
}

// The about box's picture: a landscape that darkens towards the bottom, where the box writes its
// version and copyright lines, with the product name at the top.
void WriteAboutPicture(const QString &path)
{
    QImage image = Landscape(521, 265, 7);
    QPainter painter(&image);
    QLinearGradient shade(0, 120, 0, 265);
    shade.setColorAt(0, QColor(48, 48, 48, 0));
    shade.setColorAt(0.6, QColor(48, 48, 48, 230));
    shade.setColorAt(1, QColor(48, 48, 48, 255));
    painter.fillRect(image.rect(), shade);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(30);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255, 235));
    painter.drawText(QRect(24, 24, 480, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vexasoft Lumivue"));
    painter.end();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG"))
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv); // text on the about picture needs the font system
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeDataFiles PROGRAM_FOLDER\n");
        return 2;
    }
    QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + '/';
    try {
        WriteFile(folder + "libavformat-52.dll", Movie(true, 10, 550, 400, 0x000000, 0x3070C0));
        WriteFile(folder + "Res/BaseFlash.swf", Movie(false, 9, 1, 1, 0x000000, 0x000000));
        std::vector<TemplateEntry> templates = Templates();
        WriteTemplates(folder, templates);
        for (int i = 1; i <= 12; ++i)
            WriteJpeg(folder + QStringLiteral("Res/Images/testPic%1.jpeg").arg(i), Landscape(320, 240, 100 + i));
        WriteSample(folder, templates.front());
        WriteAboutPicture(folder + "Res/ResImage/about.png");
    } catch (const std::exception &error) {
        std::fprintf(stderr, "MakeDataFiles: %s\n", error.what());
        return 1;
    }
    return 0;
}
