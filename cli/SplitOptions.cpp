#include "SplitOptions.h"

#include "shell/LanguageMgr.h"

#include <QCommandLineParser>

namespace {

QCommandLineOption Option(const char* name, const char* description, const char* value = nullptr)
{
    QCommandLineOption option(QString::fromLatin1(name), QString::fromLatin1(description));
    if (value != nullptr)
        option.setValueName(QString::fromLatin1(value));
    return option;
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
    QCommandLineOption noNavigation = Option("no-navigation", "bare copies of the pages: no bookmarks, and links only as they were");
    QCommandLineOption jobs = Option("jobs", "how many outputs are written at once (default: the processors this process may use, at most 8)", "N");
    QCommandLineOption quiet = Option("quiet", "no progress bar");
    QCommandLineOption help = Option("help", "this text");
    QCommandLineOption version = Option("version", "the program version");

    void AddTo(QCommandLineParser& parser) const
    {
        parser.setApplicationDescription(QStringLiteral("Splits one PDF into several."));
        parser.addPositionalArgument(QStringLiteral("INPUT.pdf"), QStringLiteral("the document to split"));
        for (const QCommandLineOption* option : {&every, &bookmarks, &higher, &both, &range, &others,
                                                 &custom, &parts, &out, &password, &dryRun,
                                                 &noNavigation, &jobs, &quiet,
                                                 &help, &version})
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
    if (!parser.parse(arguments)) {
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
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        result.Message = parser.helpText();
        return result;
    }
    split.Input = positional.first();
    split.HigherLevels = parser.isSet(options.higher);
    split.BothPages = parser.isSet(options.both);
    split.Others = parser.isSet(options.others);
    split.OutFolder = parser.value(options.out);
    if (parser.isSet(options.password))
        split.Password = parser.value(options.password);
    split.DryRun = parser.isSet(options.dryRun);
    split.Quiet = parser.isSet(options.quiet);
    split.KeepNavigation = !parser.isSet(options.noNavigation);
    split.Jobs = parser.value(options.jobs);
    result.Action = TParsedCommandLine::TAction::Split;
    return result;
}
