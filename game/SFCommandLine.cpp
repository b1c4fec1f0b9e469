// Command-line options and their answers.
#include "game/SFCommandLine.h"

#ifndef SF_VERSION
#error "SF_VERSION comes from the build (the project's version)"
#endif

SFCommandLine SFParseCommandLine(const std::vector<std::string>& args)
{
    SFCommandLine line;
    auto refuse = [&line](const std::string& problem) {
        line.action = SFCommandLine::Action::Usage;
        line.problem = problem;
        return line;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            line.action = SFCommandLine::Action::Help;
        } else if (arg == "--version") {
            // Help asked for anywhere on the line is answered first.
            if (line.action != SFCommandLine::Action::Help) {
                line.action = SFCommandLine::Action::Version;
            }
        } else if (arg == "--windowed") {
            line.fullScreen = 0;
        } else if (arg == "--fullscreen") {
            line.fullScreen = 1;
        } else if (arg == "--data") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                return refuse("--data needs a folder");
            }
            line.dataFolder = args[++i];
        } else if (arg.rfind("--data=", 0) == 0) {
            if (arg.size() == 7) {
                return refuse("--data needs a folder");
            }
            line.dataFolder = arg.substr(7);
        } else {
            return refuse("unknown option: " + arg);
        }
    }
    return line;
}

std::string SFVersionText()
{
    return std::string("Shardfall ") + SF_VERSION;
}

std::string SFUsageText()
{
    return "Usage: shardfall [OPTION]...\n"
           "A falling-block puzzle game.\n"
           "\n"
           "  --windowed     start in a 640 x 480 window\n"
           "  --fullscreen   start full screen\n"
           "  --data DIR     read the game data from DIR (also: SHARDFALL_DATA=DIR)\n"
           "  --version      print the version and exit\n"
           "  --help         print this help and exit\n"
           "\n"
           "The mode chosen is saved as usual; F7 switches it while playing.\n";
}

int SFAnswerCommandLine(const SFCommandLine& line, std::FILE* out, std::FILE* err)
{
    switch (line.action) {
    case SFCommandLine::Action::Help:
        std::fputs(SFUsageText().c_str(), out);
        std::fflush(out);
        return 0;
    case SFCommandLine::Action::Version:
        std::fprintf(out, "%s\n", SFVersionText().c_str());
        std::fflush(out);
        return 0;
    case SFCommandLine::Action::Usage:
        std::fprintf(err, "shardfall: %s\n%s", line.problem.c_str(), SFUsageText().c_str());
        std::fflush(err);
        return SFExitUsage;
    case SFCommandLine::Action::Play:
        break;
    }
    return -1;
}
