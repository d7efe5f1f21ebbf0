#include "ui/RightToLeft.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLayout>
#include <QVariant>
#include <QWidget>

namespace {

const char* const kMirrored = "tavloMirrored";

bool IsMirrored(const QWidget* window)
{
    return window->property(kMirrored).toBool();
}

// Containers whose children are ours; a spin box's editor or a tree's viewport are Qt's.
bool HoldsOurControls(const QWidget* widget)
{
    const QMetaObject* type = widget->metaObject();
    return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject ||
           type == &QGroupBox::staticMetaObject;
}

bool PlacedByLayout(const QWidget* container, QWidget* child)
{
    return container->layout() != nullptr && container->layout()->indexOf(child) >= 0;
}

void MirrorChildren(QWidget* container)
{
    for (QObject* object : container->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child == nullptr || child->isWindow())
            continue;
        if (!PlacedByLayout(container, child))
            child->move(container->width() - child->x() - child->width(), child->y());
        if (HoldsOurControls(child))
            MirrorChildren(child);
    }
}

void Mirror(QWidget* window, bool mirrored)
{
    MirrorChildren(window);
    window->setProperty(kMirrored, mirrored);
}

} // namespace

void MirrorForLanguage(QWidget* window)
{
    if (QApplication::layoutDirection() == Qt::RightToLeft && !IsMirrored(window))
        Mirror(window, true);
}

TLeftToRightPositions::TLeftToRightPositions(QWidget* window)
    : FWindow(window), FMirrored(IsMirrored(window))
{
    if (FMirrored)
        Mirror(FWindow, false);
}

TLeftToRightPositions::~TLeftToRightPositions()
{
    if (FMirrored)
        Mirror(FWindow, true);
}
