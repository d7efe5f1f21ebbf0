#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPoint>
#include <QRect>

// The colours of the balloon notice, chosen by the product identifier of the configuration.
struct TBalloonColors
{
    QColor outline;
    QColor gradientTop;
    QColor gradientBottom;

    bool operator==(const TBalloonColors&) const = default;
};
TBalloonColors BalloonColors(int productId);

// The callout outline: the body with rounded corners and a tail from the nearer body edge to
// the tip. The tail is a right triangle with one leg on the edge, as long as the tip is far
// from the edge, and the other leg from the edge straight to the tip; it leans towards the
// middle of the body.
QPainterPath BalloonOutline(const QPoint& tip, const QRect& body);
