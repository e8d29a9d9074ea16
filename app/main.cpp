// tessaly: the desktop program. Start-up in its order: the fixed tables
// (built before main), the settings and configuration, the shell integration
// on a first run, the main window; the process ends when the window closes.
#include "settings/Startup.h"
#include "ui/MainForm.h"

#include "TessalyVersion.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QUrl>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    CLI::App cli("Tessaly: edit the ID3 tags of audio files.", "tessaly");
    std::string settingsFile;
    std::string target;
    cli.set_version_flag("--version", std::string("tessaly ") + tessaly::TessalyVersion);
    cli.add_option("--settings", settingsFile,
                   "The settings file to use instead of $TESSALY_SETTINGS or "
                   "$XDG_CONFIG_HOME/tessaly/settings.reg");
    cli.add_option("PATH", target,
                   "A file to show (its folder is listed and the file loaded), a folder "
                   "(its parent is shown), or a tessal:// URL");
    cli.footer("Without PATH the folder shown at the last exit is shown again.");
    // Qt's own options (-platform, -style ...) are left for QApplication.
    cli.allow_extras();
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return cli.exit(error);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Tessaly");
    QApplication::setApplicationVersion(tessaly::TessalyVersion);
    QApplication::setDesktopFileName("tessaly");

    // The application menu's launcher passes files as file:// URLs.
    if (target.rfind("file:", 0) == 0)
        target = QUrl(QString::fromUtf8(target)).toLocalFile().toStdString();

    tessaly::Configuration config = tessaly::StartProgram(settingsFile);
    tessaly::MainForm window(config, *tessaly::Settings);
    window.InitMainWindow(target);
    return app.exec();
}
