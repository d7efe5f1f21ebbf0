#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;

// The about box: a borderless picture with the product name, the version and a link to the
// product's home page. A click anywhere but on the link, or Esc, closes it.
class TfrmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* mainWindow = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateControls();
    void FormCreate();
    void lblURLClick();

    QPixmap FBackground;
    QLabel* lblProduct;
    QLabel* lblVer;
    QLabel* lblURL;
};

// Shows the about box modally, centred on the main window.
void ShowAboutBox(QWidget* mainWindow);
