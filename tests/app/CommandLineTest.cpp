#include "CommandLine.h"

#include "Commands.h"

#include <gtest/gtest.h>

using namespace cw;
using Request = CommandLine::Request;

TEST(CommandLineTest, ACommandTakesItsOwnOptionsOnly) {
    auto line = CommandLine::Parse({"render", "--root", "/r", "--partner", "--out=x.png"});
    EXPECT_EQ(line.request, Request::Command);
    EXPECT_EQ(line.command, "render");
    EXPECT_EQ(line.Value("--root"), std::optional<std::string>("/r"));
    EXPECT_TRUE(line.Has("--partner"));
    EXPECT_EQ(line.Value("--out"), std::optional<std::string>("x.png"));

    // Each mistake is named in one line and asks for nothing to run.
    const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
        {{"print", "--fromat", "wbfb"}, "cardwright print: unknown option '--fromat'"},
        {{"export", "--dip", "300"}, "cardwright export: unknown option '--dip'"},
        {{"print", "--partner"}, "cardwright print: unknown option '--partner'"},
        {{"render", "--card"}, "cardwright render: Missing value after '--card'"},
        {{"render", "--partner=yes"}, "cardwright render: Unexpected value after '--partner'"},
        {{"check", "--card", "a", "b"}, "cardwright check: unexpected argument 'b'"},
        {{"bogus"}, "cardwright: unknown command 'bogus' (see 'cardwright --help')"},
        {{"help", "bogus"}, "help: unknown command 'bogus' (see 'cardwright --help')"},
        {{"format"}, "cardwright: 'format' needs one of: new, export, import"},
        {{"help", "format"}, "help: 'format' needs one of: new, export, import"},
        {{"--root"}, "cardwright: Missing value after '--root'"},
        {{"--card", "x"}, "cardwright: unknown option '--card'"},
    };
    for (const auto& [args, error] : mistakes) {
        auto wrong = CommandLine::Parse(args);
        EXPECT_EQ(wrong.request, Request::UsageError) << args.front();
        EXPECT_EQ(wrong.error, error);
    }
}

TEST(CommandLineTest, HelpVersionAndACardFileAreRecognised) {
    EXPECT_EQ(CommandLine::Parse({"--help"}).request, Request::ProgramHelp);
    EXPECT_EQ(CommandLine::Parse({"help"}).request, Request::ProgramHelp);
    EXPECT_EQ(CommandLine::Parse({"--version"}).request, Request::Version);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"help", "print"}, {"print", "--help"}, {"print", "-h", "--card", "x"}}) {
        auto line = CommandLine::Parse(args);
        EXPECT_EQ(line.request, Request::CommandHelp);
        EXPECT_EQ(line.command, "print");
    }
    auto open = CommandLine::Parse({"--root", "/r", "cards/Smith.acb"});
    EXPECT_EQ(open.request, Request::Program);
    EXPECT_EQ(open.file, std::optional<std::string>("cards/Smith.acb"));
    EXPECT_EQ(CommandLine::Parse({"a.acb", "b.acb"}).request, Request::UsageError);
}

TEST(CommandLineTest, EveryOptionACommandTakesIsInItsHelp) {
    const std::string program = ProgramHelp();
    for (const CommandEntry& command : CommandTable()) {
        EXPECT_NE(program.find("\n  " + command.name + " "), std::string::npos) << command.name;
        const std::string help = CommandHelp(command);
        std::vector<OptionSyntax> options = command.options;
        options.insert(options.end(), CommonOptions().begin(), CommonOptions().end());
        for (const OptionSyntax& option : options) {
            EXPECT_NE(help.find("\n  --" + option.name), std::string::npos)
                << command.name << " --" << option.name;
            // The help lists it, so the parser must take it.
            std::vector<std::string> args{command.name, "--" + option.name};
            if (!option.valueName.empty())
                args.push_back("v");
            EXPECT_EQ(CommandLine::Parse(args).request, Request::Command)
                << command.name << " --" << option.name;
        }
        for (const std::string& line : {program, help})
            for (size_t start = 0, end; start < line.size(); start = end + 1) {
                end = line.find('\n', start);
                EXPECT_LE(end - start, 79u) << line.substr(start, end - start);
            }
    }
}
