#include "ui/SkinFiles.h"

#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString PictureName(const TSkinPicture& picture)
{
    return QString::fromLatin1(picture.name);
}

// Paths may hold blanks, quotes or backslashes; a quoted style sheet string keeps them.
QString StyleUrl(const TSkinPicture& picture)
{
    QString path = QDir::fromNativeSeparators(SkinFile(picture));
    path.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    path.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QStringLiteral("url(\"") + path + QStringLiteral("\")");
}

} // namespace

QString SkinFolder()
{
    return ApplicationFolder() + QStringLiteral("Skin") + QDir::separator() +
           QStringLiteral("Default") + QDir::separator();
}

QString SkinFile(const TSkinPicture& picture)
{
    return SkinFolder() + PictureName(picture);
}

QPixmap LoadSkinPicture(const TSkinPicture& picture)
{
    QPixmap pixmap;
    pixmap.load(SkinFile(picture));
    return pixmap;
}

QString AboutPictureFile()
{
    const QString subfolder = ProductConfig().SkinSubfolder;
    if (!subfolder.isEmpty()) {
        const QString configured = ApplicationFolder() + subfolder + PictureName(SkinFiles::About);
        if (QFileInfo(configured).isFile())
            return configured;
    }
    return SkinFile(SkinFiles::About);
}

QString PictureButtonStyleSheet(const QString& skinState)
{
    struct Faces
    {
        const char* state;
        TSkinPicture normal, hover, pressed, disabled;
    };
    static constexpr Faces faces[] = {
        {"btnConvert", SkinFiles::ConvertNormal, SkinFiles::ConvertHover, SkinFiles::ConvertPressed,
         SkinFiles::ConvertDisabled},
        {"btnCancel", SkinFiles::CancelNormal, SkinFiles::CancelHover, SkinFiles::CancelPressed,
         SkinFiles::CancelDisabled},
    };
    for (const Faces& face : faces) {
        if (skinState != QLatin1String(face.state))
            continue;
        // Later rules win: pressed over hover, disabled over both.
        return QStringLiteral("QPushButton { border: none; padding: 0; border-image: %1; }\n"
                              "QPushButton:hover { border-image: %2; }\n"
                              "QPushButton:pressed { border-image: %3; }\n"
                              "QPushButton:disabled { border-image: %4; }\n")
            .arg(StyleUrl(face.normal), StyleUrl(face.hover), StyleUrl(face.pressed),
                 StyleUrl(face.disabled));
    }
    return {};
}
