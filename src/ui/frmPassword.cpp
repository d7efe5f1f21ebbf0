#include "ui/frmPassword.h"

#include "shell/ApplicationTitle.h"
#include "shell/CustomizationValues.h"
#include "shell/LanguageMgr.h"
#include "ui/CustomizationLinks.h"
#include "ui/WindowRegistry.h"
#include "ui/RightToLeft.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

TAVLO_REGISTER_WINDOW(TfrmPassword)

namespace {

// Masks every character of a password with "*", whatever the platform's own mask is.
class TStarPasswordStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return u'*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

TfrmPassword::TfrmPassword(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      lblTitle(new QLabel(this)), edtPassword(new QLineEdit(this)), btnOK(new QPushButton(this)),
      btnCancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmPassword"));
    setFixedSize(331, 144);
    CreateControls();
    FormCreate();
    MirrorForLanguage(this);
}

void TfrmPassword::CreateControls()
{
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setText(QStringLiteral("Please enter your password for the PDF file."));
    lblTitle->setGeometry(16, 18, 299, 18);

    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    // Created after the edit, so that the window deletes it after the edit.
    auto* starStyle = new TStarPasswordStyle;
    starStyle->setParent(this);
    edtPassword->setStyle(starStyle);
    edtPassword->setEchoMode(QLineEdit::Password);
    edtPassword->setGeometry(16, 46, 299, 24);
    connect(edtPassword, &QLineEdit::textChanged, this, &TfrmPassword::edtPasswordChange);

    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setText(QStringLiteral("OK"));
    btnOK->setDefault(true);
    btnOK->setEnabled(false);
    btnOK->setGeometry(150, 100, 80, 26);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setText(QStringLiteral("Cancel"));
    btnCancel->setAutoDefault(false);
    btnCancel->setGeometry(235, 100, 80, 26);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    for (QWidget* control : {static_cast<QWidget*>(edtPassword), static_cast<QWidget*>(btnOK),
                             static_cast<QWidget*>(btnCancel)})
        control->installEventFilter(this);
    edtPassword->setFocus();
}

void TfrmPassword::FormCreate()
{
    ApplyLanguage(this);
    if (QWidget* owner = parentWidget())
        move(owner->window()->geometry().center() - rect().center());
    setWindowTitle(ApplicationTitle());
}

QString TfrmPassword::Password() const
{
    return edtPassword->text();
}

void TfrmPassword::edtPasswordChange()
{
    btnOK->setEnabled(!edtPassword->text().isEmpty());
}

bool TfrmPassword::FormKeyDown(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // An empty password can never be confirmed.
        if (btnOK->isEnabled())
            accept();
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_F1:
        OpenCustomizationLink(CustomizationLinkOrHelp(CustomizationValues().Values().HelpOnlinePage,
                                                      QStringLiteral("password")));
        return true;
    default:
        return false;
    }
}

bool TfrmPassword::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && FormKeyDown(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TfrmPassword::keyPressEvent(QKeyEvent* event)
{
    if (!FormKeyDown(*event))
        QDialog::keyPressEvent(event);
}

bool AskDocumentPassword(QString& password, QWidget* mainWindow)
{
    TfrmPassword dialog(mainWindow);
    // Shown (modal, as exec() would show it) and raised before it waits: where no window
    // manager stacks the windows, nothing else would lift it above the main window.
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    password = dialog.Password();
    return true;
}
