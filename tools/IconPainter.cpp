// Draws the program's icon into an icon theme folder: "scalable/apps/tavlo.svg" and
// "NxN/apps/tavlo.png" for every size given. One list of shapes gives both, so the scalable
// icon and the pictures never drift apart.
//
//     IconPainter FOLDER SIZE...

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <cstdio>

namespace {

// The icon is drawn on a grid of this many units a side.
constexpr int kGrid = 256;

struct TShape
{
    QPolygonF outline;
    const char* fill;
    const char* stroke; // nullptr: no outline
    qreal strokeWidth;
};

QPolygonF Box(qreal left, qreal top, qreal right, qreal bottom)
{
    return QPolygonF({{left, top}, {right, top}, {right, bottom}, {left, bottom}});
}

// A document behind, and the same document cut in two along a slanted line, its lower part
// moved away: one PDF becoming several.
QList<TShape> IconShapes()
{
    const char* ink = "#2f4f7f";
    const char* line = "#9fb3cf";
    const char* accent = "#e8743b";
    QList<TShape> shapes = {
        {QPolygonF({{40, 16}, {152, 16}, {184, 48}, {184, 184}, {40, 184}}), "#dfe6f0", ink, 8},
        {QPolygonF({{72, 56}, {188, 56}, {220, 88}, {220, 120}, {72, 150}}), "#ffffff", ink, 8},
        {QPolygonF({{188, 56}, {188, 88}, {220, 88}}), accent, ink, 6},
        {QPolygonF({{84, 176}, {232, 146}, {232, 240}, {84, 240}}), "#ffffff", ink, 8},
    };
    for (const qreal y : {80, 100})
        shapes.append({Box(92, y, 176, y + 10), line, nullptr, 0});
    shapes.append({Box(92, 120, 136, 130), line, nullptr, 0});
    for (const qreal y : {192, 212})
        shapes.append({Box(104, y, 212, y + 10), line, nullptr, 0});
    return shapes;
}

QString SvgPoints(const QPolygonF& polygon)
{
    QStringList points;
    for (const QPointF& p : polygon)
        points.append(QString::number(p.x()) + u',' + QString::number(p.y()));
    return points.join(u' ');
}

QString Svg(const QList<TShape>& shapes)
{
    QString text = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" "
                                  "height=\"%1\" viewBox=\"0 0 %1 %1\">\n")
                       .arg(kGrid);
    for (const TShape& shape : shapes) {
        text += QStringLiteral("  <polygon points=\"%1\" fill=\"%2\"")
                    .arg(SvgPoints(shape.outline), QLatin1String(shape.fill));
        if (shape.stroke != nullptr)
            text += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"round\"")
                        .arg(QLatin1String(shape.stroke))
                        .arg(shape.strokeWidth);
        text += QStringLiteral("/>\n");
    }
    return text + QStringLiteral("</svg>\n");
}

QImage Picture(const QList<TShape>& shapes, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(size) / kGrid, qreal(size) / kGrid);
    for (const TShape& shape : shapes) {
        painter.setBrush(QColor(QLatin1String(shape.fill)));
        if (shape.stroke != nullptr)
            painter.setPen(QPen(QColor(QLatin1String(shape.stroke)), shape.strokeWidth,
                                Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        else
            painter.setPen(Qt::NoPen);
        painter.drawPolygon(shape.outline);
    }
    return image;
}

bool WriteSvg(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.flush();
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: IconPainter FOLDER SIZE...\n");
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QList<TShape> shapes = IconShapes();
    bool written =
        folder.mkpath(QStringLiteral("scalable/apps")) &&
        WriteSvg(folder.filePath(QStringLiteral("scalable/apps/tavlo.svg")), Svg(shapes));
    for (int i = 2; i < argc && written; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString apps = QStringLiteral("%1x%1/apps").arg(size);
        written = size > 0 && folder.mkpath(apps) &&
                  Picture(shapes, size).save(folder.filePath(apps + QStringLiteral("/tavlo.png")));
    }
    if (!written) {
        std::fprintf(stderr, "IconPainter: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
