#include "SplitOptions.h"

#include "model/TavloProj.h"
#include "shell/LanguageMgr.h"

#include <QCommandLineParser>

namespace {

QCommandLineOption Option(const char* name, const char* description, const char* value = nullptr)
{
    QCommandLineOption option(QString::fromLatin1(name), QString::fromUtf8(description));
    if (value != nullptr)
        option.setValueName(QString::fromLatin1(value));
    return option;
}

QCommandLineOption HiddenOption(const char* name, const char* value)
{
    QCommandLineOption option = Option(name, "", value);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

const QString kNameStylePrefix = QStringLiteral("--name-by-title=");

QStringList WithNameStyleOption(QStringList arguments)
{
    for (QString& argument : arguments) {
        if (argument == QStringLiteral("--"))
            break; // what follows are file names
        if (argument.startsWith(kNameStylePrefix))
            argument = QStringLiteral("--name-by-title-style=") + argument.mid(kNameStylePrefix.size());
    }
    return arguments;
}

struct TOptionSet
{
    QCommandLineOption every = Option("every", "one output per N pages", "N");
    QCommandLineOption bookmarks = Option("bookmarks", "one output per bookmark of LEVEL (1 = top)", "LEVEL");
    QCommandLineOption higher = Option("higher-levels", "also the outputs of every higher level");
    QCommandLineOption both = Option("both-pages", "a page where a bookmark starts below its top goes into both outputs");
    QCommandLineOption range = Option("range", "one output with RANGES, e.g. \"1,3,5,7-10\"", "RANGES");
    QCommandLineOption others = Option("others", "a second output with all other pages");
    QCommandLineOption custom = Option("custom", "one output named NAME per option, in order (repeatable)", "NAME=RANGES");
    QCommandLineOption parts = Option("parts", "N outputs of (nearly) equal length", "N");
    QCommandLineOption out = Option("out", "make the output folder inside DIR (default: beside INPUT)", "DIR");
    QCommandLineOption password = Option("password", "open password (else asked on a terminal, else refused)", "PW");
    QCommandLineOption dryRun = Option("dry-run", "print the plan, one line per page, write nothing");
    QCommandLineOption json = Option("json", "with --dry-run: the plan as JSON");
    QCommandLineOption nameByTitle = Option("name-by-title", "with --bookmarks: name each output after its bookmark's title; --name-by-title=numbered puts a number in front (\"01 Introduction.pdf\")");
    // --name-by-title=STYLE arrives here (see ParseCommandLine): the parser has no option
    // whose value may be left out.
    QCommandLineOption nameStyle = HiddenOption("name-by-title-style", "STYLE");
    QCommandLineOption noNavigation = Option("no-navigation", "bare copies of the pages: no bookmarks, and links only as they were");
    QCommandLineOption jobs = Option("jobs", "how many outputs are written at once (default: the processors this process may use, at most 8)", "N");
    QCommandLineOption quiet = Option("quiet", "no progress bar");
    QCommandLineOption help = Option("help", "this text");
    QCommandLineOption version = Option("version", "the program version");

    void AddTo(QCommandLineParser& parser) const
    {
        parser.setApplicationDescription(QStringLiteral("Splits one PDF into several."));
        parser.addPositionalArgument(QStringLiteral("INPUT.pdf"),
                                     QStringLiteral("the documents to split, one after another"),
                                     QStringLiteral("INPUT.pdf..."));
        for (const QCommandLineOption* option : {&every, &bookmarks, &higher, &both, &range, &others,
                                                 &custom, &parts, &out, &password, &dryRun, &json,
                                                 &nameByTitle, &nameStyle, &noNavigation, &jobs,
                                                 &quiet, &help, &version})
            parser.addOption(*option);
    }
};

QString Lang(const char* key)
{
    return GetLangString(QString::fromLatin1(key));
}

} // namespace

QString UsageText()
{
    QCommandLineParser parser;
    TOptionSet().AddTo(parser);
    return parser.helpText();
}

TParsedCommandLine ParseCommandLine(const QStringList& arguments)
{
    TParsedCommandLine result;
    QCommandLineParser parser;
    const TOptionSet options;
    options.AddTo(parser);
    if (!parser.parse(WithNameStyleOption(arguments))) {
        result.Message = parser.errorText();
        return result;
    }
    if (parser.isSet(options.help)) {
        result.Action = TParsedCommandLine::TAction::Help;
        return result;
    }
    if (parser.isSet(options.version)) {
        result.Action = TParsedCommandLine::TAction::Version;
        return result;
    }

    TSplitOptions& split = result.Options;
    int methods = 0;
    using enum TSplitOptions::TMethodKind;
    for (const auto& [option, kind] : {std::pair{&options.every, Every}, std::pair{&options.bookmarks, Bookmarks},
                                       std::pair{&options.range, Range}, std::pair{&options.parts, Parts}}) {
        const QStringList values = parser.values(*option);
        methods += static_cast<int>(values.size());
        if (!values.isEmpty()) {
            split.Method = kind;
            split.MethodValue = values.last();
        }
    }
    const QStringList custom = parser.values(options.custom);
    if (!custom.isEmpty()) {
        ++methods;
        split.Method = Custom;
        for (const QString& definition : custom) {
            const qsizetype equals = definition.indexOf(u'=');
            if (equals <= 0) {
                result.Message = Lang("sCliBadCustom").replace(QStringLiteral("%s"), definition);
                return result;
            }
            split.Custom.append({definition.left(equals), definition.mid(equals + 1)});
        }
    }
    if (methods != 1) {
        result.Message = Lang("sCliOneMethod");
        return result;
    }
    if (parser.isSet(options.json) && !parser.isSet(options.dryRun)) {
        result.Message = Lang("sCliJsonNeedsDryRun");
        return result;
    }
    if (parser.isSet(options.nameByTitle) || parser.isSet(options.nameStyle)) {
        const QString style = parser.isSet(options.nameStyle) ? parser.value(options.nameStyle) : QString();
        if (parser.isSet(options.nameStyle) && style != QStringLiteral("numbered")) {
            result.Message = Lang("sCliBadNameStyle").replace(QStringLiteral("%s"), style);
            return result;
        }
        if (split.Method != Bookmarks) {
            result.Message = Lang("sCliNameByTitleNeedsBookmarks");
            return result;
        }
        split.TitleNaming = style.isEmpty() ? tnTitle : tnNumberedTitle;
    }
    split.Inputs = parser.positionalArguments();
    if (split.Inputs.isEmpty()) {
        result.Message = parser.helpText();
        return result;
    }
    split.HigherLevels = parser.isSet(options.higher);
    split.BothPages = parser.isSet(options.both);
    split.Others = parser.isSet(options.others);
    split.OutFolder = parser.value(options.out);
    if (parser.isSet(options.password))
        split.Password = parser.value(options.password);
    split.DryRun = parser.isSet(options.dryRun);
    split.Json = parser.isSet(options.json);
    split.Quiet = parser.isSet(options.quiet);
    split.KeepNavigation = !parser.isSet(options.noNavigation);
    split.Jobs = parser.value(options.jobs);
    result.Action = TParsedCommandLine::TAction::Split;
    return result;
}
