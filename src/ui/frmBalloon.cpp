#include "ui/frmBalloon.h"

#include "shell/CustomizationValues.h"
#include "shell/LanguageMgr.h"
#include "shell/ProductConfig.h"
#include "ui/BalloonShape.h"
#include "ui/CustomizationLinks.h"
#include "ui/WindowRegistry.h"
#include "ui/RightToLeft.h"

#include <QCheckBox>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPathStroker>
#include <QToolButton>

TAVLO_REGISTER_WINDOW(TfrmBalloon)

namespace {

// A small dark cross: the close button's picture.
QIcon CloseCross()
{
    QPixmap picture(10, 10);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(80, 80, 80), 1.6));
    painter.drawLine(QPointF(1.5, 1.5), QPointF(8.5, 8.5));
    painter.drawLine(QPointF(8.5, 1.5), QPointF(1.5, 8.5));
    return QIcon(picture);
}

QPainterPath Outline()
{
    return BalloonOutline(TfrmBalloon::TipPoint, TfrmBalloon::BodyRect);
}

// The painted callout with its one-pixel outline; everything else lets the desktop through.
QRegion OutlineRegion()
{
    QPainterPathStroker stroker;
    stroker.setWidth(2);
    const QPainterPath painted = Outline().united(stroker.createStroke(Outline()));
    return QRegion(painted.toFillPolygon().toPolygon());
}

} // namespace

TfrmBalloon::TfrmBalloon(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), lblInfo(new QLabel(this)),
      btnClose(new QToolButton(this)), cbxCheck(new QCheckBox(this)), lblMore(new QLabel(this))
{
    setObjectName(QStringLiteral("frmBalloon"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(BodyRect.right() + 1 + 10, qMax(BodyRect.bottom() + 1, TipPoint.y()) + 10);
    CreateControls();
    FormCreate();
}

void TfrmBalloon::CreateControls()
{
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setText(QStringLiteral("This file is password protected. \n"
                                    "You need enter the password to unlock it."));
    lblInfo->setWordWrap(true);
    lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setFixedSize(20, 19);
    btnClose->setAutoRaise(true);
    btnClose->setIcon(CloseCross());
    btnClose->setFocusPolicy(Qt::NoFocus);
    connect(btnClose, &QToolButton::clicked, this, &TfrmBalloon::btnCloseClick);

    cbxCheck->setObjectName(QStringLiteral("cbxCheck"));
    cbxCheck->setText(QStringLiteral("Don't show this again"));
    connect(cbxCheck, &QCheckBox::clicked, this, &TfrmBalloon::cbxCheckClick);

    lblMore->setObjectName(QStringLiteral("lblMore"));
    lblMore->setText(QStringLiteral("More..."));
    lblMore->setCursor(Qt::PointingHandCursor);
    QFont underlined = lblMore->font();
    underlined.setUnderline(true);
    lblMore->setFont(underlined);
    QPalette link = lblMore->palette();
    link.setColor(QPalette::WindowText, QColor(0, 70, 170));
    lblMore->setPalette(link);
    lblMore->installEventFilter(this);
}

void TfrmBalloon::FormCreate()
{
    ApplyLanguage(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setMask(OutlineRegion());
}

void TfrmBalloon::LayoutControls()
{
    PlaceControls();
    MirrorForLanguage(this);
}

void TfrmBalloon::PlaceControls()
{
    const TLeftToRightPositions leftToRight(this);
    btnClose->setText({});
    btnClose->move(BodyRect.right() + 1 - btnClose->width() - 3, BodyRect.top() + 3);

    cbxCheck->adjustSize();
    cbxCheck->move(10, BodyRect.bottom() + 1 - cbxCheck->height() - 5);

    // The text sits between the close button and the check box. A language or font whose
    // text needs more lines takes the room beside the close button rather than being cut.
    const int infoWidth = btnClose->x() - 10 + 5;
    const int infoBottom = cbxCheck->y();
    const int needed = lblInfo->heightForWidth(infoWidth);
    const int infoTop =
        qMax(BodyRect.top() + 3, qMin(BodyRect.top() + btnClose->height(), infoBottom - needed));
    lblInfo->setGeometry(10, infoTop, infoWidth, infoBottom - infoTop);

    lblMore->adjustSize();
    lblMore->move(BodyRect.right() + 1 - lblMore->width() - 8,
                  cbxCheck->y() + (cbxCheck->height() - lblMore->height()) / 2);
    lblMore->setVisible(!MoreAddress().isEmpty());
}

// The customization file's page about protected files, else the help page's section on them.
QString TfrmBalloon::MoreAddress()
{
    return CustomizationLinkOrHelp(CustomizationValues().Values().C3, QStringLiteral("password"));
}

bool TfrmBalloon::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate)
        SkinFormDeactivate();
    return QWidget::event(event);
}

bool TfrmBalloon::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblMore && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblMoreClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmBalloon::paintEvent(QPaintEvent*)
{
    const TBalloonColors colors = BalloonColors(ProductConfig().ProductID);
    const QPainterPath outline = Outline();
    QLinearGradient gradient(0, outline.boundingRect().top(), 0, outline.boundingRect().bottom());
    gradient.setColorAt(0, colors.gradientTop);
    gradient.setColorAt(1, colors.gradientBottom);
    QPainter painter(this);
    painter.fillPath(outline, gradient);
    painter.setPen(QPen(colors.outline, 1));
    painter.drawPath(outline);
}

void TfrmBalloon::SkinFormDeactivate()
{
    close();
}

void TfrmBalloon::btnCloseClick()
{
    close();
}

void TfrmBalloon::cbxCheckClick(bool checked)
{
    ProductConfig().ShowPasswordBalloon = !checked;
}

void TfrmBalloon::lblMoreClick()
{
    OpenCustomizationLink(MoreAddress());
}

TfrmBalloon* ShowBalloon(const QPoint& screenTip, QWidget* owner)
{
    auto* balloon = new TfrmBalloon(owner);
    balloon->LayoutControls();
    balloon->move(screenTip - TfrmBalloon::TipPoint);
    balloon->show();
    balloon->raise();
    balloon->activateWindow();
    balloon->update();
    return balloon;
}
