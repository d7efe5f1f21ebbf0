// Renders every window of the program offscreen into PNG files, one per scene and language, for
// review:
//     tavlo_screenshots <output folder> [--language ID] [scene name ...]
// Files are named <language Id>-<scene>.png; without --language every language file is drawn.
// A scene builds its window (with whatever job it needs) and leaves it ready to be drawn; new
// windows are added as rows of the scene table below.

#include "../engine/CorpusManifest.h"
#include "../engine/EngineTestSupport.h"

#include "model/TavloProj.h"
#include "shell/LanguageMgr.h"
#include "shell/PathUtils.h"
#include "shell/ProductConfig.h"
#include "split/TavloConvert.h"
#include "ui/Application.h"
#include "ui/ApplicationLanguage.h"
#include "ui/LanguageWidgets.h"
#include "ui/frmAdvancedSetting.h"
#include "ui/frmBalloon.h"
#include "ui/frmBookmarkSetting.h"
#include "ui/frmMainEx.h"
#include "ui/frmPassword.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

// What a scene may need besides its window: a job with its planner and a folder for documents.
class TSceneContext
{
public:
    TTavloProj& Project() { return FProject; }
    TTavloConvert& Planner() { return FPlanner; }
    QString Folder() const { return FFolder.path() + QStringLiteral("/"); }

    TFileInfo& Load(const QString& path)
    {
        FProject.Files()->Clear();
        TFileInfo& document = *FProject.Files()->NewItem();
        document.SetSource(path);
        FPlanner.CheckDocument(document);
        return document;
    }

private:
    QTemporaryDir FFolder;
    TTavloProj FProject;
    TTavloConvert FPlanner{FProject};
};

using TSceneMaker = std::function<std::unique_ptr<QWidget>(TSceneContext&)>;

struct TScene
{
    const char* name;
    TSceneMaker make;
};

// A document with a three-level outline: the sample beside the program when it has bookmarks,
// else a corpus manual, else one made here.
QString DocumentWithBookmarks(TSceneContext& context)
{
    const QString sample = ApplicationFolder() + QStringLiteral("Sample/Sample.pdf");
    if (QFileInfo(sample).isFile()) {
        context.Load(sample);
        if (context.Planner().GetBookmarkLevelCount(*context.Project().Files()->Items(0)) > 1)
            return sample;
    }
    const QString manual = CorpusFile(QStringLiteral("geotopo-komprimiert.pdf"));
    if (!CorpusFolder().isEmpty() && QFileInfo(manual).isFile())
        return manual;
    const QString made = context.Folder() + QStringLiteral("Handbook.pdf");
    WriteTestPdf(made, 12,
                 {Mark("Introduction", 0),
                  Mark("Installation", 1, {Mark("Requirements", 1), Mark("Setup", 2, {Mark("Linux", 2), Mark("Windows", 3)})}),
                  Mark("Usage", 4, {Mark("Splitting", 5), Mark("Bookmarks", 7)}),
                  Mark("Index", 11)});
    return made;
}

std::unique_ptr<QWidget> PasswordScene(TSceneContext&)
{
    auto dialog = std::make_unique<TfrmPassword>();
    dialog->findChild<QLineEdit*>(QStringLiteral("edtPassword"))->setText(QStringLiteral("secret"));
    return dialog;
}

std::unique_ptr<QWidget> BalloonScene(TSceneContext&)
{
    auto balloon = std::make_unique<TfrmBalloon>();
    balloon->setAttribute(Qt::WA_DeleteOnClose, false);
    balloon->LayoutControls();
    return balloon;
}

std::unique_ptr<QWidget> AdvancedScene(TSceneContext& context)
{
    const QString path = context.Folder() + QStringLiteral("Annual report.pdf");
    WriteTestPdf(path, 24);
    context.Load(path);
    TAdvDefineList& list = *context.Project().Method()->AdvDefine();
    list.Clear();
    const std::pair<const char*, const char*> rows[] = {
        {"Annual report(1).pdf", "1-4"},
        {"Finance.pdf", "5-12,20"},
        {"Outlook.pdf", "13-19"},
        {"Appendix.pdf", "21-24"},
    };
    for (const auto& [name, range] : rows) {
        TAdvDefine& entry = *list.NewItem();
        entry.SetOutFile(QString::fromUtf8(name));
        entry.SetPageStr(QString::fromUtf8(range));
    }
    auto dialog = std::make_unique<TfrmAdvancedSetting>(context.Project(), context.Planner());
    auto* table = dialog->findChild<QTreeWidget*>(QStringLiteral("lstFiles"));
    table->setCurrentItem(table->topLevelItem(1));
    return dialog;
}

std::unique_ptr<QWidget> BookmarkScene(TSceneContext& context)
{
    context.Load(DocumentWithBookmarks(context));
    TBookMarkOption& option = *context.Project().Method()->BookMarkOption();
    option.SetLevelNum(2);
    option.SetBothPage(false);
    option.SetSaveHigherLevel(true);
    return std::make_unique<TfrmBookmarkSetting>(context.Project(), context.Planner());
}

// The main window writes its outputs into the scene's folder.
std::unique_ptr<TfrmMainEx> MainWindow(TSceneContext& context)
{
    ProductConfig().InFormat = ffPdf;
    ProductConfig().OutFormat = ffPdf;
    ProductConfig().CustomPath = true;
    ProductConfig().CustomDir = context.Folder();
    auto window = std::make_unique<TfrmMainEx>();
    window->show();
    return window;
}

std::unique_ptr<QWidget> MainEmptyScene(TSceneContext& context)
{
    return MainWindow(context);
}

std::unique_ptr<QWidget> MainSampleScene(TSceneContext& context)
{
    auto window = MainWindow(context);
    window->AddDocument(DocumentWithBookmarks(context));
    return window;
}

// A run caught in the middle: a long document split page by page.
std::unique_ptr<QWidget> MainRunningScene(TSceneContext& context)
{
    const QString path = context.Folder() + QStringLiteral("Long manual.pdf");
    WriteTestPdf(path, 1500);
    auto window = MainWindow(context);
    window->AddDocument(path);
    window->findChild<QPushButton*>(QStringLiteral("btnConvert"))->click();
    auto* bar = window->findChild<QProgressBar*>(QStringLiteral("pbSplit"));
    if (!QTest::qWaitFor([bar] { return bar->value() >= 30; }, 20000))
        std::fprintf(stderr, "main-running: the run did not get under way\n");
    return window;
}

const TScene kScenes[] = {
    {"main-empty", MainEmptyScene},
    {"main-sample", MainSampleScene},
    {"main-running", MainRunningScene},
    {"password", PasswordScene},
    {"balloon", BalloonScene},
    {"advanced", AdvancedScene},
    {"bookmark", BookmarkScene},
};

bool Render(const TScene& scene, const QString& language, const QString& folder)
{
    if (!LanguageMgr().SelectLanguage(language)) {
        std::fprintf(stderr, "%s: no language %s\n", scene.name, qPrintable(language));
        return false;
    }
    ApplyLanguageToApplication();
    TSceneContext context;
    std::unique_ptr<QWidget> window = scene.make(context);
    window->show();
    QCoreApplication::processEvents();
    const QString file =
        folder + language + u'-' + QString::fromLatin1(scene.name) + QStringLiteral(".png");
    const bool saved = window->grab().save(file);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "FAILED", qPrintable(file));
    window->close();
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    InstallLanguageHooks();
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: tavlo_screenshots <output folder> [scene ...]\n");
        return 1;
    }
    const QString folder = WithTrailingBackslash(QDir(arguments[1]).absolutePath());
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(folder));
        return 1;
    }
    const int languageCount = LanguageMgr().LoadLanguages(QStringLiteral("Languages/*.dat"));
    QStringList chosen = arguments.mid(2);
    QStringList languages;
    if (const qsizetype option = chosen.indexOf(QStringLiteral("--language"));
        option >= 0 && option + 1 < chosen.size()) {
        languages.append(chosen.takeAt(option + 1));
        chosen.removeAt(option);
    } else {
        for (int i = 0; i < languageCount; ++i)
            languages.append(LanguageMgr().Languages().Item(i)->Id());
    }
    bool ok = true;
    for (const QString& language : languages) {
        for (const TScene& scene : kScenes) {
            if (chosen.isEmpty() || chosen.contains(QString::fromLatin1(scene.name)))
                ok = Render(scene, language, folder) && ok;
        }
    }
    return ok ? 0 : 1;
}
