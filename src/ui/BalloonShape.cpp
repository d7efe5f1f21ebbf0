#include "ui/BalloonShape.h"

#include <QPolygonF>

namespace {

constexpr qreal kCornerRadius = 8;

struct TProductBalloonColors
{
    int productId;
    TBalloonColors colors;
};

// The product's own blue first, then the variants of the related products.
const TProductBalloonColors kProductColors[] = {
    {417, {QColor(76, 114, 131), QColor(209, 230, 252), QColor(168, 213, 240)}},
    {411, {QColor(70, 120, 70), QColor(226, 245, 222), QColor(186, 226, 176)}},
    {412, {QColor(150, 96, 40), QColor(255, 240, 214), QColor(250, 210, 150)}},
    {413, {QColor(110, 80, 140), QColor(236, 226, 250), QColor(204, 186, 236)}},
    {414, {QColor(150, 60, 60), QColor(252, 228, 228), QColor(240, 186, 186)}},
    {415, {QColor(40, 120, 120), QColor(220, 246, 244), QColor(170, 226, 222)}},
    {416, {QColor(90, 100, 120), QColor(238, 240, 246), QColor(204, 210, 224)}},
};

const TBalloonColors kPlainColors = {QColor(160, 164, 168), QColor(255, 255, 255),
                                     QColor(255, 255, 255)};

} // namespace

TBalloonColors BalloonColors(int productId)
{
    for (const TProductBalloonColors& entry : kProductColors) {
        if (entry.productId == productId)
            return entry.colors;
    }
    return kPlainColors;
}

QPainterPath BalloonOutline(const QPoint& tip, const QRect& body)
{
    // The body spans from its left/top up to, not including, its right/bottom pixel row,
    // as the window's size is computed from those edges.
    const QRectF bodyArea(body.left(), body.top(), body.width(), body.height());
    QPainterPath outline;
    outline.addRoundedRect(bodyArea, kCornerRadius, kCornerRadius);

    const bool above = tip.y() < bodyArea.top();
    const qreal edge = above ? bodyArea.top() : bodyArea.bottom();
    const qreal distance = qAbs(tip.y() - edge);
    if (distance == 0)
        return outline;
    const bool leansRight = tip.x() - bodyArea.left() <= bodyArea.width() / 2;
    const qreal otherEnd = leansRight ? tip.x() + distance : tip.x() - distance;
    // The legs reach one pixel into the body, so that the tail and body merge without a seam.
    const qreal inside = above ? edge + 1 : edge - 1;
    QPainterPath tail;
    tail.addPolygon(QPolygonF({QPointF(tip), QPointF(tip.x(), inside), QPointF(otherEnd, inside)}));
    tail.closeSubpath();
    return outline.united(tail).simplified();
}
