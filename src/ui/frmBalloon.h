#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

class QCheckBox;
class QLabel;
class QToolButton;

// A small borderless callout that points at a spot of the main window and tells the user that
// the document is locked. It deletes itself as soon as it loses activation or is closed.
class TfrmBalloon : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmBalloon(QWidget* owner = nullptr);

    // Where the tail points and where the body lies, relative to the window.
    static constexpr QPoint TipPoint{16, 0};
    static constexpr QRect BodyRect{QPoint(0, 20), QPoint(229, 99)};

    void LayoutControls();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void PlaceControls();
    void CreateControls();
    void FormCreate();
    void SkinFormDeactivate();
    void btnCloseClick();
    void cbxCheckClick(bool checked);
    void lblMoreClick();
    static QString MoreAddress();

    QLabel* lblInfo;
    QToolButton* btnClose;
    QCheckBox* cbxCheck;
    QLabel* lblMore;
};

// Shows a balloon whose tail tip lands on the screen point. The balloon looks after itself;
// the pointer is only for a caller that wants to watch it.
TfrmBalloon* ShowBalloon(const QPoint& screenTip, QWidget* owner = nullptr);
