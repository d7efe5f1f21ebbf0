#include "ui/frmMainEx.h"

#include "shell/ApplicationTitle.h"
#include "ui/WindowRegistry.h"

#include <QVBoxLayout>

TAVLO_REGISTER_WINDOW(TfrmMainEx)

TfrmMainEx::TfrmMainEx(QWidget* parent) : QWidget(parent), lblPlaceholder(new QLabel(this))
{
    setObjectName(QStringLiteral("frmMainEx"));
    setWindowTitle(ApplicationTitle());
    setFixedSize(544, 603);
    lblPlaceholder->setObjectName(QStringLiteral("lblPlaceholder"));
    lblPlaceholder->setText(QStringLiteral("The split controls are being built."));
    lblPlaceholder->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPlaceholder);
}

bool TfrmMainEx::ActivateIfTitled(const QString& title)
{
    if (windowTitle() != title)
        return false;
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    return true;
}

TfrmShape::TfrmShape(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmShape"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}
