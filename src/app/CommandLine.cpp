#include "CommandLine.h"

#include "Commands.h"

#include <QCommandLineParser>
#include <QStringList>

namespace cw {

namespace {

QCommandLineOption QtOption(const OptionSyntax& syntax) {
    if (syntax.valueName.empty())
        return QCommandLineOption(QString::fromStdString(syntax.name));
    return QCommandLineOption(QString::fromStdString(syntax.name), QString(),
                              QString::fromStdString(syntax.valueName));
}

CommandLine UsageError(const std::string& error) {
    CommandLine line;
    line.request = CommandLine::Request::UsageError;
    line.error = error;
    return line;
}

// A word no command has: when it begins commands of two words ("format"), those commands'
// second words, else the pointer to the list of commands.
std::string UnknownCommand(const std::string& who, const std::string& word) {
    std::string seconds;
    for (const CommandEntry& entry : CommandTable())
        if (!word.empty() && entry.name.rfind(word + " ", 0) == 0)
            seconds += (seconds.empty() ? "" : ", ") + entry.name.substr(word.size() + 1);
    if (!seconds.empty())
        return who + ": '" + word + "' needs one of: " + seconds;
    return who + ": unknown command '" + word + "' (see 'cardwright --help')";
}

// Parses words against options; the options given go into line. False with line.error set
// when a word is not one of them, a value is missing, or a plain word is not allowed.
bool ParseOptions(const std::vector<std::string>& words, const std::vector<OptionSyntax>& options,
                  bool takesFile, const std::string& who, CommandLine& line) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    std::vector<OptionSyntax> all = options;
    all.insert(all.end(), CommonOptions().begin(), CommonOptions().end());
    for (const OptionSyntax& option : all)
        parser.addOption(QtOption(option));
    parser.addOption(QCommandLineOption(QStringList{"h", "help"}));
    if (who == "cardwright")
        parser.addOption(QCommandLineOption("version"));

    QStringList arguments{"cardwright"}; // the parser skips the program's name
    for (const std::string& word : words)
        arguments << QString::fromStdString(word);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString name = unknown.first();
            line.error = who + ": unknown option '" + (name.size() == 1 ? "-" : "--") +
                         name.toStdString() + "'";
        } else {
            QString text = parser.errorText();
            if (text.endsWith('.'))
                text.chop(1);
            line.error = who + ": " + text.toStdString();
        }
        return false;
    }
    for (const OptionSyntax& option : all) {
        const QString name = QString::fromStdString(option.name);
        if (parser.isSet(name))
            line.options["--" + option.name] =
                option.valueName.empty() ? std::string() : parser.value(name).toStdString();
    }
    if (parser.isSet("help"))
        line.options["--help"] = "";
    if (who == "cardwright" && parser.isSet("version"))
        line.options["--version"] = "";
    const QStringList plain = parser.positionalArguments();
    if (plain.size() > (takesFile ? 1 : 0)) {
        line.error = who + ": unexpected argument '" + plain.last().toStdString() + "'";
        return false;
    }
    if (!plain.isEmpty())
        line.file = plain.first().toStdString();
    return true;
}

} // namespace

const std::vector<OptionSyntax>& CommonOptions() {
    static const std::vector<OptionSyntax> options = {
        {"root", "DIR",
         "The data root: card formats, cards and settings (default "
         "$XDG_DATA_HOME/cardwright or ~/.local/share/cardwright)."},
    };
    return options;
}

CommandLine CommandLine::Parse(const std::vector<std::string>& given) {
    // A command of two words ("format new") reads as one.
    std::vector<std::string> args = given;
    const size_t named = args.size() > 1 && args[0] == "help" ? 1 : 0;
    if (args.size() > named + 1 && FindCommand(args[named] + " " + args[named + 1])) {
        args[named] += " " + args[named + 1];
        args.erase(args.begin() + long(named) + 1);
    }
    const std::string first = args.empty() ? std::string() : args.front();
    if (first == "help") {
        CommandLine line;
        if (args.size() == 1) {
            line.request = Request::ProgramHelp;
            return line;
        }
        if (args.size() > 2)
            return UsageError("help: unexpected argument '" + args[2] + "'");
        if (!FindCommand(args[1]))
            return UsageError(UnknownCommand("help", args[1]));
        line.request = Request::CommandHelp;
        line.command = FindCommand(args[1])->name;
        return line;
    }

    CommandLine line;
    if (const CommandEntry* tool = FindCommand(first)) {
        line.command = tool->name;
        const std::vector<std::string> words(args.begin() + 1, args.end());
        if (!ParseOptions(words, tool->options, false, "cardwright " + first, line))
            return UsageError(line.error);
        line.request = line.Has("--help") ? Request::CommandHelp : Request::Command;
        return line;
    }

    if (!ParseOptions(args, {}, true, "cardwright", line))
        return UsageError(line.error);
    // A plain word that names no file path reads as a mistyped command.
    if (line.file && line.file->find_first_of("./") == std::string::npos)
        return UsageError(UnknownCommand("cardwright", *line.file));
    if (line.Has("--help"))
        line.request = Request::ProgramHelp;
    else if (line.Has("--version"))
        line.request = Request::Version;
    return line;
}

std::optional<std::string> CommandLine::Value(const std::string& option) const {
    auto it = options.find(option);
    if (it == options.end())
        return std::nullopt;
    return it->second;
}

} // namespace cw
