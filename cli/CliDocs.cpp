// The manual pages and the bash completion, written from the commands and
// options that --help shows.
#include "CliApp.h"

#include "TessalyVersion.h"

#include <CLI/CLI.hpp>

#include <sstream>

namespace tessaly::cli {

namespace {

// Text for roff: backslashes and hyphens escaped, no line starting with a
// control character.
std::string Roff(const std::string& text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

// A command's options, those of its option groups included.
std::vector<const CLI::Option*> OptionsOf(const CLI::App& app) {
    std::vector<const CLI::Option*> options = app.get_options();
    for (const CLI::App* group :
         app.get_subcommands([](const CLI::App* a) { return a->get_name().empty(); }))
        for (const CLI::Option* option : group->get_options()) options.push_back(option);
    return options;
}

std::vector<const CLI::App*> Commands(const CLI::App& app) {
    return app.get_subcommands([](const CLI::App* a) { return !a->get_name().empty(); });
}

void OptionItems(std::ostringstream& page, const CLI::App& app) {
    for (const CLI::Option* option : OptionsOf(app)) {
        if (option->get_positional()) continue;
        page << ".TP\n\\fB" << Roff(option->get_name(false, true)) << "\\fR";
        if (!option->get_type_name().empty()) page << " \\fI" << Roff(option->get_type_name()) << "\\fR";
        page << "\n" << Roff(option->get_description()) << "\n";
    }
}

std::string Synopsis(const CLI::App& command) {
    std::string text = "[\\fIOPTIONS\\fR]";
    for (const CLI::Option* option : command.get_options())
        if (option->get_positional())
            text += " \\fI" + Roff(option->get_name(true)) + "\\fR" +
                    (option->get_expected_max() > 1 ? "..." : "");
    return text;
}

// The words completion offers after a command: its option names.
std::string OptionWords(const CLI::App& app) {
    std::string words;
    for (const CLI::Option* option : OptionsOf(app))
        for (const std::string& name : option->get_lnames()) words += " --" + name;
    for (const CLI::Option* option : OptionsOf(app))
        for (const std::string& name : option->get_snames()) words += " -" + name;
    return words;
}

}  // namespace

std::string CliManPage(const CLI::App& app) {
    std::ostringstream page;
    page << ".TH TESSALY\\-CLI 1 \"\" \"tessaly-cli " << TessalyVersion << "\" \"User Commands\"\n"
         << ".SH NAME\ntessaly\\-cli \\- read and edit the tags of MP3, WMA and WMV files\n"
         << ".SH SYNOPSIS\n.B tessaly\\-cli\n[\\fB\\-\\-settings\\fR \\fIFILE\\fR] "
            "[\\fB\\-\\-yes\\fR] \\fICOMMAND\\fR [\\fIOPTIONS\\fR] [\\fB\\-\\-\\fR] "
            "[\\fIPATH\\fR...]\n"
         << ".SH DESCRIPTION\n" << Roff(app.get_description()) << "\n.PP\n"
         << Roff(app.get_footer()) << "\n"
         << ".SH GLOBAL OPTIONS\n";
    OptionItems(page, app);
    page << ".SH COMMANDS\n";
    for (const CLI::App* command : Commands(app)) {
        page << ".SS \"" << Roff(command->get_name()) << " " << Synopsis(*command) << "\"\n"
             << Roff(command->get_description()) << "\n";
        OptionItems(page, *command);
        if (!command->get_footer().empty()) page << ".PP\n" << Roff(command->get_footer()) << "\n";
    }
    page << ".SH MACROS\n.nf\n" << Roff(MacroHelpText()) << ".fi\n"
         << ".SH PATTERNS\n.nf\n" << Roff(PatternHelpText()) << ".fi\n"
         << ".SH EXIT STATUS\n0 when every file was handled, 1 when one failed, 2 on a usage "
            "error.\n"
         << ".SH FILES\n.TP\n\\fI~/.config/tessaly/settings.reg\\fR\nThe settings "
            "($XDG_CONFIG_HOME, $TESSALY_SETTINGS or \\fB\\-\\-settings\\fR elsewhere).\n"
         << ".TP\n\\fI~/.local/state/tessaly/DEBUG.LOG\\fR\nThe trace of file updates "
            "($XDG_STATE_HOME/tessaly/DEBUG.LOG when set), kept under 1 MiB with one older "
            "file, DEBUG.LOG.1; the configuration value DebugLog=False turns it off.\n"
         << ".SH SEE ALSO\n\\fBtessaly\\fR(1)\n";
    return page.str();
}

std::string GuiManPage() {
    std::ostringstream page;
    page << ".TH TESSALY 1 \"\" \"tessaly " << TessalyVersion << "\" \"User Commands\"\n"
         << ".SH NAME\ntessaly \\- edit the tags of MP3, WMA and WMV files\n"
         << ".SH SYNOPSIS\n.B tessaly\n[\\fB\\-\\-settings\\fR \\fIFILE\\fR] "
            "[\\fIPATH\\fR | \\fItessal://URL\\fR]\n"
         << ".SH DESCRIPTION\nThe tag editor's window: a folder tree, the list of the audio "
            "files of the selected folder, and the ID3v1 and ID3v2 tags of the selected file "
            "in two panes. A \\fIPATH\\fR (a file or a folder) or a \\fBtessal://\\fR URL given "
            "on the command line is shown at start.\n"
         << ".SH OPTIONS\n"
         << ".TP\n\\fB\\-\\-settings\\fR \\fIFILE\\fR\nKeep the settings in \\fIFILE\\fR.\n"
         << ".TP\n\\fB\\-h\\fR, \\fB\\-\\-help\\fR\nShow the options and exit.\n"
         << ".TP\n\\fB\\-\\-version\\fR\nShow the program's version and exit.\n"
         << ".SH FILES\n.TP\n\\fI~/.config/tessaly/settings.reg\\fR\nThe settings.\n"
         << ".TP\n\\fI~/.local/state/tessaly/DEBUG.LOG\\fR\nThe trace of file updates.\n"
         << ".SH SEE ALSO\n\\fBtessaly\\-cli\\fR(1)\n";
    return page.str();
}

std::string BashCompletion(const CLI::App& app) {
    std::string commands;
    for (const std::string& name : CommandNames(app)) commands += " " + name;
    std::ostringstream script;
    script << "# bash completion for tessaly-cli (generated from its commands and options)\n"
           << "_tessaly_cli() {\n"
           << "    local cur=\"${COMP_WORDS[COMP_CWORD]}\" prev=\"${COMP_WORDS[COMP_CWORD-1]}\"\n"
           << "    local command=\"\" i words\n"
           << "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           << "        case \"${COMP_WORDS[i]}\" in\n"
           << "            --settings) ((i++)) ;;\n"
           << "            --) break ;;\n"
           << "            -*) ;;\n"
           << "            *) command=\"${COMP_WORDS[i]}\"; break ;;\n"
           << "        esac\n"
           << "    done\n"
           << "    if [[ \"$prev\" == --settings ]]; then\n"
           << "        COMPREPLY=($(compgen -f -- \"$cur\")); return\n"
           << "    fi\n"
           << "    case \"$command\" in\n"
           << "        \"\") words=\"" << OptionWords(app) << commands << "\" ;;\n";
    for (const CLI::App* command : Commands(app)) {
        std::string words = OptionWords(*command);
        if (command->get_name() == "help") words += " macros patterns" + commands;
        script << "        " << command->get_name() << ") words=\"" << words << "\" ;;\n";
    }
    script << "    esac\n"
           << "    if [[ -z \"$command\" || \"$command\" == help || \"$cur\" == -* ]]; then\n"
           << "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
           << "    else\n"
           << "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           << "    fi\n"
           << "}\n"
           << "complete -o filenames -o bashdefault -F _tessaly_cli tessaly-cli\n";
    return script.str();
}

}  // namespace tessaly::cli
