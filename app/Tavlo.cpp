#include "Tavlo.h"

#include "SingleInstance.h"
#include "TerminationSignals.h"

#include "shell/ApplicationTitle.h"
#include "shell/CBSProductClient.h"
#include "shell/CustomizationValues.h"
#include "shell/DataFolders.h"
#include "shell/ExceptionTrace.h"
#include "shell/LanguageMgr.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"
#include "shell/RunLog.h"
#include "shell/ShellOpen.h"
#include "shell/VersionInfo.h"
#include "ui/ApplicationLanguage.h"
#include "ui/LanguageSwitches.h"
#include "ui/LanguageWidgets.h"
#include "ui/WidgetMessageBox.h"
#include "ui/frmMainEx.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>

namespace {

// Qt's image plug-ins read every picture format the skin uses; nothing to register.
void RegisterPictureFormats() {}

// The default style draws the windows; there is no skin engine to create.
void CreateSkinEngine() {}

// Threads need no per-thread initialisation for the engine here; the step keeps its place.
void InitializeComForThread() {}

// The engine is loaded by path from the program's folder; nothing is registered.
void RegisterDocumentEngine() {}

void InitializeModules()
{
    RegisterPictureFormats();
    CreateSkinEngine();
    ApplyLogSizeLimit(LogFilePath());
    InitializeComForThread();
    InstallExceptionTrace();
    LoadLogSink(ApplicationFolder(), DataFolders().LogFolder);

    TProductConfig& config = ProductConfig();
    config.StartUp();
    QDir().mkpath(config.GetDefaultOutputFolder());
    WriteLogLine(QString());
    WriteLogLine(StartBanner(config.ProductTitle));
    RegisterDocumentEngine();
}

void FinalizeModules()
{
    TProductConfig& config = ProductConfig();
    WriteLogLine(EndBanner(config.ProductTitle));
    WriteLogLine(QString());
    try {
        config.SaveAll();
    } catch (...) {
        // A configuration that cannot be saved must not keep the program from ending.
    }
    RemoveExceptionTrace();
}

void ReadCustomization()
{
    CustomizationValues().Load(ApplicationFolder(), ApplicationFolder() + QStringLiteral("Customization.xml"),
                               ProductConfig().DefLanguage);
}

void ReloadLanguages()
{
    LanguageMgr().LoadLanguages(ApplicationFolder() + QStringLiteral("Languages/*.dat"));
    LanguageMgr().SelectLanguage(ProductConfig().DefLanguage);
    ApplyLanguageToApplication();
}

void StartCustomerService(TCBSProductClient& client)
{
    TProductConfig& config = ProductConfig();
    client.SetProductID(config.ProductID);
    client.SetFileVersion(ReadVersionString(QCoreApplication::applicationFilePath(), QStringLiteral("FileVersion")));
    client.Start();
    client.SetDataCollectID(QString::number(config.DataCellectID));
    client.EnableUserExperience(config.UEEnable == QLatin1String("1"));
    if (config.FirstStart != QLatin1String("0"))
        return;
    client.ReportFirstStart();
    config.FirstStart = QStringLiteral("1");
    try {
        config.SaveSystemSection();
    } catch (...) {
        // Reported again at the next start.
    }
}

QString StartDocument(const QStringList& arguments)
{
    const QString first = arguments.value(1);
    return first.startsWith(u'-') ? QString() : first;
}

int RunMainWindow(const QStringList& arguments, TSingleInstance& instance)
{
    TCBSProductClient client;
    StartCustomerService(client);
    SetApplicationTitle(ProductConfig().ProductTitle);

    TfrmMainEx mainWindow;
    TfrmShape shape;
    shape.hide();
    mainWindow.SetStartDocument(StartDocument(arguments));
    instance.SetActivationHandler([&mainWindow](const QString& title) { return mainWindow.ActivateIfTitled(title); });
    mainWindow.show();
    const int exitCode = QApplication::exec();

    client.ReportProductClose();
    return exitCode;
}

int RunEntrySequence(const QStringList& arguments)
{
    if (HandleLanguageSwitches(arguments))
        return 0;
    TSingleInstance instance(ProductConfig().MutexName);
    if (!instance.Acquire()) {
        instance.AskFirstInstance(ProductConfig().ProductTitle);
        return 0;
    }
    ReadCustomization();
    ReloadLanguages();
    return RunMainWindow(arguments, instance);
}

} // namespace

int RunTavlo(const QStringList& arguments)
{
    // From the first moment on, a termination request ends the program through its normal
    // shutdown; one that arrives before the windows exist closes them as soon as they run.
    const TTerminationSignals terminationSignals([] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* mainWindow = qobject_cast<TfrmMainEx*>(window))
                mainWindow->EndSession();
        }
        QApplication::closeAllWindows();
    });
    InstallWidgetMessageBox();
    InstallLanguageHooks();
    SetUrlOpener([](const QUrl& url) { return QDesktopServices::openUrl(url); });
    InitializeModules();
    const int exitCode = RunEntrySequence(arguments);
    FinalizeModules();
    return exitCode;
}
