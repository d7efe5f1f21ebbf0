#include "ui/frmAbout.h"

#include "shell/ApplicationTitle.h"
#include "shell/CustomizationValues.h"
#include "shell/LanguageMgr.h"
#include "shell/VersionInfo.h"
#include "ui/CustomizationLinks.h"
#include "ui/SkinFiles.h"
#include "ui/WindowRegistry.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

TAVLO_REGISTER_WINDOW(TfrmAbout)

namespace {

void SetTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

TfrmAbout::TfrmAbout(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint), lblProduct(new QLabel(this)),
      lblVer(new QLabel(this)), lblURL(new QLabel(this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setFixedSize(SkinFiles::About.size);
    CreateControls();
    FormCreate();
}

void TfrmAbout::CreateControls()
{
    lblProduct->setObjectName(QStringLiteral("lblProduct"));
    lblProduct->setGeometry(28, 36, 230, 64);
    lblProduct->setWordWrap(true);
    lblProduct->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont title = lblProduct->font();
    title.setPixelSize(22);
    title.setBold(true);
    lblProduct->setFont(title);
    SetTextColour(lblProduct, Qt::white);

    lblVer->setObjectName(QStringLiteral("lblVer"));
    lblVer->setText(QStringLiteral("Version:"));
    lblVer->setGeometry(28, 180, 360, 18);
    SetTextColour(lblVer, Qt::white);

    lblURL->setObjectName(QStringLiteral("lblURL"));
    lblURL->setText(QStringLiteral("Visit the homepage of this product."));
    lblURL->move(28, 204);
    lblURL->setCursor(Qt::PointingHandCursor);
    QFont underlined = lblURL->font();
    underlined.setUnderline(true);
    lblURL->setFont(underlined);
    SetTextColour(lblURL, QColor(176, 220, 255));
    lblURL->installEventFilter(this);
}

void TfrmAbout::FormCreate()
{
    FBackground.load(AboutPictureFile());
    ApplyLanguage(this);
    // After the language: its text is only the caption in front of the number.
    lblVer->setText(lblVer->text() + QStringLiteral("  ") +
                    ShortFileVersion(QCoreApplication::applicationFilePath()));
    lblProduct->setText(ApplicationTitle());
    // The link is only as wide as its text, so a click beside it closes the box. Without a
    // home page there is nowhere to go, and the link is not shown.
    lblURL->adjustSize();
    lblURL->setVisible(!CustomizationValues().Values().HomePage.trimmed().isEmpty());
    if (QWidget* owner = parentWidget())
        move(owner->window()->geometry().center() - rect().center());
}

void TfrmAbout::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (FBackground.isNull()) {
        painter.fillRect(rect(), QColor(24, 98, 172));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), FBackground);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblURL && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // Pressed on the link but let go elsewhere: nothing.
        if (mouse->button() == Qt::LeftButton &&
            lblURL->rect().contains(mouse->position().toPoint()))
            lblURLClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAbout::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        reject();
    else
        QDialog::mouseReleaseEvent(event);
}

void TfrmAbout::lblURLClick()
{
    OpenCustomizationLink(CustomizationValues().Values().HomePage);
}

void ShowAboutBox(QWidget* mainWindow)
{
    TfrmAbout box(mainWindow);
    box.exec();
}
