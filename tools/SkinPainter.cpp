// Draws the pictures of the default skin into the folder given as the only argument.
// Run by the build; every picture is painted here, nothing is copied in.

#include "ui/SkinFiles.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>

namespace {

QImage NewPicture(const TSkinPicture& picture)
{
    QImage image(picture.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void Antialiased(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

QFont BoldFont(qreal pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(qRound(pixelSize));
    font.setBold(true);
    return font;
}

// A page outline with its upper right corner folded down.
QPainterPath FoldedPage(const QRectF& page, qreal fold)
{
    QPainterPath path;
    path.moveTo(page.topLeft());
    path.lineTo(page.right() - fold, page.top());
    path.lineTo(page.right(), page.top() + fold);
    path.lineTo(page.bottomRight());
    path.lineTo(page.bottomLeft());
    path.closeSubpath();
    return path;
}

QPainterPath Fold(const QRectF& page, qreal fold)
{
    QPainterPath path;
    path.moveTo(page.right() - fold, page.top());
    path.lineTo(page.right() - fold, page.top() + fold - 2);
    path.quadTo(page.right() - fold, page.top() + fold, page.right() - fold + 2, page.top() + fold);
    path.lineTo(page.right(), page.top() + fold);
    path.closeSubpath();
    return path;
}

void DrawDocument(QPainter& painter, const QRectF& page, qreal fold, bool withMark)
{
    // Soft shadow: a few widening, fading copies of the outline.
    for (int i = 3; i >= 1; --i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 14 * (4 - i)));
        painter.drawPath(FoldedPage(
            page.translated(i * 0.6, i * 0.9).adjusted(-i * 0.3, 0, i * 0.3, i * 0.3), fold));
    }

    QLinearGradient paper(page.topLeft(), page.bottomRight());
    paper.setColorAt(0, QColor(255, 255, 255));
    paper.setColorAt(1, QColor(232, 237, 243));
    painter.setBrush(paper);
    painter.setPen(QPen(QColor(150, 162, 178), 1));
    painter.drawPath(FoldedPage(page, fold));

    QLinearGradient corner(page.right() - fold, page.top() + fold, page.right() - fold / 2,
                           page.top() + fold / 2);
    corner.setColorAt(0, QColor(196, 206, 220));
    corner.setColorAt(1, QColor(238, 242, 247));
    painter.setBrush(corner);
    painter.drawPath(Fold(page, fold));

    // Lines of text.
    painter.setPen(QPen(QColor(190, 200, 214), 2, Qt::SolidLine, Qt::RoundCap));
    const qreal left = page.left() + page.width() * 0.16;
    const qreal lineGap = page.height() * 0.085;
    const int lines = withMark ? 5 : 7;
    for (int i = 0; i < lines; ++i) {
        const qreal y = page.top() + fold + 6 + i * lineGap;
        const qreal right = (i == 0) ? page.right() - fold - 4
                                     : page.right() - page.width() * (i % 3 == 2 ? 0.34 : 0.16);
        painter.drawLine(QPointF(left, y), QPointF(right, y));
    }

    if (!withMark)
        return;
    // The "PDF" badge across the lower part of the page, standing out a little on the left.
    const QRectF badge(page.left() - 6, page.bottom() - page.height() * 0.36, page.width() * 0.78,
                       page.height() * 0.22);
    QLinearGradient red(badge.topLeft(), badge.bottomLeft());
    red.setColorAt(0, QColor(238, 72, 62));
    red.setColorAt(1, QColor(196, 30, 36));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawRoundedRect(badge.translated(0.8, 1.2), 3, 3);
    painter.setBrush(red);
    painter.drawRoundedRect(badge, 3, 3);
    painter.setBrush(QColor(255, 255, 255, 46));
    painter.drawRoundedRect(QRectF(badge.left(), badge.top(), badge.width(), badge.height() / 2), 3,
                            3);

    QPainterPath text;
    text.addText(0, 0, BoldFont(badge.height() * 0.72), QStringLiteral("PDF"));
    const QRectF bounds = text.boundingRect();
    text.translate(badge.center() - bounds.center());
    painter.setBrush(Qt::white);
    painter.drawPath(text);
}

QImage PaintFileImage()
{
    QImage image = NewPicture(SkinFiles::FileImage);
    QPainter painter(&image);
    Antialiased(painter);
    DrawDocument(painter, QRectF(14.5, 3.5, 64, 84), 18, true);
    return image;
}

QImage PaintLock()
{
    QImage image = NewPicture(SkinFiles::Lock);
    QPainter painter(&image);
    Antialiased(painter);

    // Shackle.
    QPainterPath shackle;
    shackle.moveTo(4.8, 9.5);
    shackle.lineTo(4.8, 5.6);
    shackle.arcTo(QRectF(4.8, 1.4, 7.4, 8.4), 180, -180);
    shackle.lineTo(12.2, 9.5);
    QLinearGradient steel(0, 0, 17, 0);
    steel.setColorAt(0, QColor(120, 128, 140));
    steel.setColorAt(0.5, QColor(200, 206, 214));
    steel.setColorAt(1, QColor(110, 118, 130));
    painter.setPen(QPen(QBrush(steel), 2.0, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shackle);

    // Body.
    const QRectF body(1.5, 8.5, 14, 10);
    QLinearGradient gold(body.topLeft(), body.bottomLeft());
    gold.setColorAt(0, QColor(255, 214, 92));
    gold.setColorAt(1, QColor(226, 146, 18));
    painter.setPen(QPen(QColor(160, 100, 10), 1));
    painter.setBrush(gold);
    painter.drawRoundedRect(body, 2, 2);
    painter.setPen(QPen(QColor(255, 240, 190, 170), 1));
    painter.drawLine(QPointF(3, 10), QPointF(14, 10));

    // Keyhole.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 56, 6));
    painter.drawEllipse(QPointF(8.5, 12.6), 1.7, 1.7);
    painter.drawRect(QRectF(7.8, 13, 1.4, 3.2));
    return image;
}

struct TButtonLook
{
    QColor top, bottom, edge;
    qreal shift; // a pressed face moves its glyph down a little
    qreal gloss;
};

enum class TButtonState
{
    Normal,
    Hover,
    Pressed,
    Disabled
};

TButtonLook ButtonLook(const QColor& base, TButtonState state)
{
    switch (state) {
    case TButtonState::Hover:
        return {base.lighter(135), base.lighter(108), base.darker(135), 0, 70};
    case TButtonState::Pressed:
        return {base.darker(125), base.darker(105), base.darker(160), 1, 25};
    case TButtonState::Disabled: {
        const int grey = qGray(base.rgb());
        const QColor flat(grey + (255 - grey) / 2, grey + (255 - grey) / 2,
                          grey + (255 - grey) / 2);
        return {flat.lighter(112), flat, flat.darker(125), 0, 40};
    }
    case TButtonState::Normal:
        break;
    }
    return {base.lighter(120), base.darker(108), base.darker(145), 0, 55};
}

void PaintButtonBody(QPainter& painter, const QRectF& face, const TButtonLook& look)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 30));
    painter.drawRoundedRect(face.translated(0, 1.5), 9, 9);

    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0, look.top);
    fill.setColorAt(1, look.bottom);
    painter.setPen(QPen(look.edge, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(face, 9, 9);

    QLinearGradient gloss(face.topLeft(), QPointF(face.left(), face.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, qRound(look.gloss)));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gloss);
    painter.drawRoundedRect(face.adjusted(1.5, 1.5, -1.5, -face.height() / 2), 7.5, 7.5);
}

// One page on the left, an arrow, two smaller pages on the right: "split".
void PaintSplitGlyph(QPainter& painter, const QPointF& centre, const QColor& ink)
{
    auto page = [&painter, &ink](const QRectF& r) {
        const qreal fold = r.width() * 0.32;
        painter.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(QColor(255, 255, 255, 60));
        painter.drawPath(FoldedPage(r, fold));
        painter.setBrush(Qt::NoBrush);
        painter.drawLine(QPointF(r.right() - fold, r.top()),
                         QPointF(r.right() - fold, r.top() + fold));
        painter.drawLine(QPointF(r.right() - fold, r.top() + fold),
                         QPointF(r.right(), r.top() + fold));
    };
    page(QRectF(centre.x() - 36, centre.y() - 15, 22, 30));
    // Arrow.
    painter.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(QPointF(centre.x() - 7, centre.y()), QPointF(centre.x() + 9, centre.y()));
    QPainterPath head;
    head.moveTo(centre.x() + 4, centre.y() - 5);
    head.lineTo(centre.x() + 10, centre.y());
    head.lineTo(centre.x() + 4, centre.y() + 5);
    painter.drawPath(head);
    page(QRectF(centre.x() + 17, centre.y() - 16, 14, 18));
    page(QRectF(centre.x() + 23, centre.y() - 1, 14, 18));
}

// A rounded square "stop" inside a ring.
void PaintStopGlyph(QPainter& painter, const QPointF& centre, const QColor& ink)
{
    painter.setPen(QPen(ink, 2.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 15, 15);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawRoundedRect(QRectF(centre.x() - 6.5, centre.y() - 6.5, 13, 13), 2.5, 2.5);
}

QImage PaintButton(const TSkinPicture& picture, const QColor& base, TButtonState state,
                   const std::function<void(QPainter&, const QPointF&, const QColor&)>& glyph)
{
    QImage image = NewPicture(picture);
    QPainter painter(&image);
    Antialiased(painter);
    const TButtonLook look = ButtonLook(base, state);
    const QRectF face(1.5, 1.5, picture.size.width() - 3, picture.size.height() - 5);
    PaintButtonBody(painter, face, look);

    const QPointF centre = face.center() + QPointF(0, look.shift);
    const QColor ink =
        state == TButtonState::Disabled ? QColor(255, 255, 255, 190) : QColor(Qt::white);
    // A faint dark copy under the glyph keeps it readable on the lighter faces.
    if (state != TButtonState::Disabled)
        glyph(painter, centre + QPointF(0, 1), QColor(0, 0, 0, 45));
    glyph(painter, centre, ink);
    return image;
}

QImage PaintAbout()
{
    QImage image = NewPicture(SkinFiles::About);
    QPainter painter(&image);
    Antialiased(painter);
    const QRectF all(QPointF(0, 0), QSizeF(SkinFiles::About.size));

    QLinearGradient sky(all.topLeft(), all.bottomRight());
    sky.setColorAt(0, QColor(16, 58, 112));
    sky.setColorAt(0.55, QColor(24, 98, 172));
    sky.setColorAt(1, QColor(38, 138, 206));
    painter.fillRect(all, sky);

    // Soft light on the right, away from the product name.
    QRadialGradient glow(QPointF(350, 70), 190);
    glow.setColorAt(0, QColor(120, 200, 255, 90));
    glow.setColorAt(1, QColor(120, 200, 255, 0));
    painter.fillRect(all, glow);

    // Two gentle waves across the lower part.
    for (int i = 0; i < 2; ++i) {
        QPainterPath wave;
        const qreal base = 150 + i * 18;
        wave.moveTo(0, base + 20);
        wave.cubicTo(110, base - 25, 250, base + 45, 423, base - 10);
        wave.lineTo(423, 241);
        wave.lineTo(0, 241);
        wave.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, i == 0 ? 18 : 24));
        painter.drawPath(wave);
    }

    // Large split glyph on the right: a document giving two.
    painter.save();
    painter.setOpacity(0.95);
    DrawDocument(painter, QRectF(268.5, 36.5, 58, 76), 16, false);
    DrawDocument(painter, QRectF(345.5, 24.5, 44, 57), 12, false);
    DrawDocument(painter, QRectF(352.5, 92.5, 44, 57), 12, false);
    painter.setPen(QPen(QColor(255, 255, 255, 220), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(QPointF(322, 86), QPointF(338, 86));
    QPainterPath head;
    head.moveTo(332, 80);
    head.lineTo(339, 86);
    head.lineTo(332, 92);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(head);
    painter.restore();

    // A thin line above the version and link.
    QLinearGradient rule(0, 0, 423, 0);
    rule.setColorAt(0, QColor(255, 255, 255, 0));
    rule.setColorAt(0.1, QColor(255, 255, 255, 110));
    rule.setColorAt(0.7, QColor(255, 255, 255, 40));
    rule.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(QPen(QBrush(rule), 1));
    painter.drawLine(QPointF(20, 170.5), QPointF(403, 170.5));

    painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
    return image;
}

bool Save(const QImage& image, const QString& folder, const TSkinPicture& picture)
{
    const QString path = folder + QLatin1Char('/') + QString::fromLatin1(picture.name);
    if (image.size() != picture.size || !image.save(path, "PNG")) {
        std::fprintf(stderr, "SkinPainter: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: SkinPainter <output folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "SkinPainter: cannot create %s\n", argv[1]);
        return 1;
    }

    const QColor convert(34, 128, 220);
    const QColor cancel(214, 64, 56);
    const struct
    {
        TSkinPicture picture;
        std::function<QImage()> paint;
    } jobs[] = {
        {SkinFiles::FileImage, PaintFileImage},
        {SkinFiles::Lock, PaintLock},
        {SkinFiles::ConvertNormal,
         [&] {
             return PaintButton(SkinFiles::ConvertNormal, convert, TButtonState::Normal,
                                PaintSplitGlyph);
         }},
        {SkinFiles::ConvertHover,
         [&] {
             return PaintButton(SkinFiles::ConvertHover, convert, TButtonState::Hover,
                                PaintSplitGlyph);
         }},
        {SkinFiles::ConvertPressed,
         [&] {
             return PaintButton(SkinFiles::ConvertPressed, convert, TButtonState::Pressed,
                                PaintSplitGlyph);
         }},
        {SkinFiles::ConvertDisabled,
         [&] {
             return PaintButton(SkinFiles::ConvertDisabled, convert, TButtonState::Disabled,
                                PaintSplitGlyph);
         }},
        {SkinFiles::CancelNormal,
         [&] {
             return PaintButton(SkinFiles::CancelNormal, cancel, TButtonState::Normal,
                                PaintStopGlyph);
         }},
        {SkinFiles::CancelHover,
         [&] {
             return PaintButton(SkinFiles::CancelHover, cancel, TButtonState::Hover,
                                PaintStopGlyph);
         }},
        {SkinFiles::CancelPressed,
         [&] {
             return PaintButton(SkinFiles::CancelPressed, cancel, TButtonState::Pressed,
                                PaintStopGlyph);
         }},
        {SkinFiles::CancelDisabled,
         [&] {
             return PaintButton(SkinFiles::CancelDisabled, cancel, TButtonState::Disabled,
                                PaintStopGlyph);
         }},
        {SkinFiles::About, PaintAbout},
    };
    static_assert(sizeof(jobs) / sizeof(jobs[0]) == std::size(SkinFiles::All),
                  "every skin picture is painted");
    bool ok = true;
    for (const auto& job : jobs)
        ok = Save(job.paint(), folder, job.picture) && ok;
    return ok ? 0 : 1;
}
