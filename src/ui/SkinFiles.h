#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// The pictures of the default skin. They are drawn at build time (tools/SkinPainter) into
// "Skin/Default/" beside the executable; the painter and the windows share this list.
struct TSkinPicture
{
    const char* name;
    QSize size;
};

namespace SkinFiles {

// The document picture beside the file name.
inline constexpr TSkinPicture FileImage{"FileImage.png", {85, 93}};
// The lock shown while the document's password is not known.
inline constexpr TSkinPicture Lock{"Lock.png", {17, 19}};
// Faces of the Convert/Cancel picture button, one file per skin state and button state.
inline constexpr TSkinPicture ConvertNormal{"btnConvert.png", {127, 53}};
inline constexpr TSkinPicture ConvertHover{"btnConvert_hover.png", {127, 53}};
inline constexpr TSkinPicture ConvertPressed{"btnConvert_pressed.png", {127, 53}};
inline constexpr TSkinPicture ConvertDisabled{"btnConvert_disabled.png", {127, 53}};
inline constexpr TSkinPicture CancelNormal{"btnCancel.png", {127, 53}};
inline constexpr TSkinPicture CancelHover{"btnCancel_hover.png", {127, 53}};
inline constexpr TSkinPicture CancelPressed{"btnCancel_pressed.png", {127, 53}};
inline constexpr TSkinPicture CancelDisabled{"btnCancel_disabled.png", {127, 53}};
// Background of the about box; its upper left part is left plain for the product name.
inline constexpr TSkinPicture About{"About.png", {423, 241}};

inline constexpr TSkinPicture All[] = {
    FileImage,    Lock,        ConvertNormal, ConvertHover,   ConvertPressed, ConvertDisabled,
    CancelNormal, CancelHover, CancelPressed, CancelDisabled, About};

} // namespace SkinFiles

// ApplicationFolder() + "Skin/Default/", ending with a separator.
QString SkinFolder();

// Full path of a picture of the default skin.
QString SkinFile(const TSkinPicture& picture);

// The picture at its natural size; a null pixmap when the file is missing or unreadable.
QPixmap LoadSkinPicture(const TSkinPicture& picture);

// The about box's background: the configured skin folder's "About.png" when there is one,
// else the default skin's.
QString AboutPictureFile();

// Style sheet that gives a push button the faces of a skin state ("btnConvert" or
// "btnCancel") for its normal, hover, pressed and disabled looks. Empty for an unknown state.
QString PictureButtonStyleSheet(const QString& skinState);
