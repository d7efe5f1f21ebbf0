#include "ui/LanguageSwitches.h"

#include "shell/MessageBox.h"
#include "shell/SameText.h"
#include "ui/WindowRegistry.h"

#include <QFileInfo>

namespace {

struct SwitchName
{
    const char* name;
    TLanguageResourceKind kind;
    const char* defaultFileName;
};

constexpr SwitchName kSwitches[] = {
    {"MakeLangRes", TLanguageResourceKind::MakeLangRes, "MakeNewLang.dat"},
    {"MakeFormRes", TLanguageResourceKind::MakeFormRes, "MakeForms.xml"},
};

std::optional<TLanguageSwitch> MatchSwitch(const QString& argument, const SwitchName& known)
{
    if (!argument.startsWith(QLatin1Char('-')) && !argument.startsWith(QLatin1Char('/')))
        return std::nullopt;
    const QString body = argument.mid(1);
    const qsizetype colon = body.indexOf(QLatin1Char(':'));
    if (!SameText(colon < 0 ? body : body.left(colon), QString::fromLatin1(known.name)))
        return std::nullopt;
    const QString value = colon < 0 ? QString() : body.mid(colon + 1);
    return TLanguageSwitch{known.kind,
                           value.isEmpty() ? QString::fromLatin1(known.defaultFileName) : value};
}

void ShowResult(bool saved, const QString& path)
{
    MessageBoxRequest request;
    if (saved) {
        request = MakeMessageBoxRequest(
            QStringLiteral("Make language resource file successfully complete.\r\n") + path,
            MessageBoxButtons::Ok, MessageBoxIcons::Information, 0);
        request.caption = QStringLiteral("Information");
    } else {
        request = MakeMessageBoxRequest(
            QStringLiteral("The language resource file could not be written.\r\n") + path,
            MessageBoxButtons::Ok, MessageBoxIcons::Stop, 0);
        request.caption = QStringLiteral("Error");
    }
    ShowMessageBoxRequest(request);
}

} // namespace

std::optional<TLanguageSwitch> FindLanguageSwitch(const QStringList& arguments)
{
    for (const SwitchName& known : kSwitches) {
        for (qsizetype i = 1; i < arguments.size(); ++i) {
            if (auto found = MatchSwitch(arguments[i], known))
                return found;
        }
    }
    return std::nullopt;
}

bool HandleLanguageSwitches(const QStringList& arguments)
{
    const auto found = FindLanguageSwitch(arguments);
    if (!found)
        return false;
    TLanguageResourceGenerator generator(found->kind);
    generator.AddRegisteredWindows(TWindowRegistry::Instance());
    const QString path = QFileInfo(found->fileName).absoluteFilePath();
    ShowResult(generator.SaveToFile(path), path);
    return true;
}
