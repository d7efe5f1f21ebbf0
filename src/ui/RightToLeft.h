#pragma once

class QWidget;

// The windows place their controls at fixed left-to-right positions, which Qt mirrors only
// inside layouts. For a right-to-left language the positions are mirrored here: every control
// that no layout manages moves to the other side of its container, in the window and in the
// plain containers (frames, group boxes) inside it. Qt's own widgets mirror their insides
// themselves.

// Mirrors window once, when the application runs right to left; call it when the window has
// placed its controls.
void MirrorForLanguage(QWidget* window);

// While it lives, the window's controls are at their left-to-right positions, so that code
// that places controls can work as it always does; afterwards they are mirrored again.
class TLeftToRightPositions
{
public:
    explicit TLeftToRightPositions(QWidget* window);
    ~TLeftToRightPositions();
    TLeftToRightPositions(const TLeftToRightPositions&) = delete;
    TLeftToRightPositions& operator=(const TLeftToRightPositions&) = delete;

private:
    QWidget* FWindow;
    bool FMirrored;
};
