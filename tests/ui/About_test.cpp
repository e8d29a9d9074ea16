#include "TessalyVersion.h"
#include "settings/CRegSettings.h"
#include "support/TestSupport.h"
#include "ui/About.h"
#include "ui/HelpPages.h"
#include "ui/Icons.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>
#include <vector>

using namespace tessaly;

namespace {

constexpr const char* MsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* SharedToolsKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void versionText_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("shown");
        QTest::newRow("file version skips the build") << "3.4.0.9" << "Version 3.4.9";
        QTest::newRow("major.minor.patch as it is") << "0.1.0" << "Version 0.1.0";
        QTest::newRow("missing parts are 0") << "2.5" << "Version 2.5.0";
        QTest::newRow("empty parts are 0") << "1..7" << "Version 1.0.7";
        QTest::newRow("nothing") << "" << "Version 0.0.0";
        QTest::newRow("extra parts dropped") << "1.2.3.4.5" << "Version 1.2.4";
    }
    void versionText() {
        QFETCH(QString, version);
        QFETCH(QString, shown);
        QCOMPARE(QString::fromStdString(AboutVersionText(version.toStdString())), shown);
    }

    void namedControls() {
        About about(*store_);
        QCOMPARE(about.windowTitle(), QStringLiteral("About Tessaly"));
        const QString version = QString::fromStdString(AboutVersionText(TessalyVersion));
        struct Named {
            const char* Name;
            QString Caption;
        };
        const std::vector<Named> named = {
            {"lblTitle", "Tessaly"},        {"lblVersion", version},
            {"cmdOK", "OK"},                {"cmdSysInfo", "System Info..."},
            {"lblCopyright", QString()},    {"lblDisclaimer", QString()},
            {"picIcon", "Tessaly"},
        };
        for (const Named& n : named) {
            auto* widget = about.findChild<QWidget*>(n.Name);
            QVERIFY2(widget, n.Name);
            QCOMPARE(widget->accessibleDescription(), QString::fromLatin1(n.Name));
            if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty())
                QCOMPARE(widget->accessibleName(), label->text());
            if (!n.Caption.isNull()) QCOMPARE(widget->accessibleName(), n.Caption);
        }
        QCOMPARE(about.findChild<QLabel*>("lblVersion")->text(), version);
        QCOMPARE(about.findChild<QLabel*>("lblCopyright")->text(), QString::fromUtf8(TessalyCopyright));
        QVERIFY(!about.findChild<QLabel*>("picIcon")->pixmap().isNull());
        QCOMPARE(about.findChild<QPushButton*>("cmdSysInfo")->text(), QStringLiteral("&System Info..."));
        const auto lines = about.findChildren<QFrame*>("Line1");
        QCOMPARE(lines.size(), 2);
        for (QFrame* line : lines) QCOMPARE(line->accessibleDescription(), QStringLiteral("Line1"));
    }

    void okCloses() {
        About about(*store_);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::mouseClick(about.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void sysInfoUnavailableWithAnEmptyStore() {
        testsupport::RecordingHost host;
        About about(*store_);
        about.findChild<QPushButton*>("cmdSysInfo")->click();
        QCOMPARE(host.messages.size(), size_t(1));
        QCOMPARE(host.messages[0].text, std::string("System Information Is Unavailable At This Time"));
        QCOMPARE(host.messages[0].caption, std::string("Tessaly"));
        QVERIFY(host.messages[0].icon == MessageIcon::None);
        QVERIFY(host.messages[0].buttons == MessageButtons::OK);
    }

    void sysInfoTriesTheRecordedProgramsInOrder() {
        // The tools folder's program is looked for as written, "\MSINFO32.EXE"
        // appended; here that is one file name with a backslash in it.
        const std::string folder = dir_.File("tools");
        testsupport::WriteBytes(folder + "\\MSINFO32.EXE", "");
        store_->SaveSetting(RegistryRoot::LocalMachine, MsInfoKey, "PATH", "/nonexistent/msinfo");
        store_->SaveSetting(RegistryRoot::LocalMachine, SharedToolsKey, "MSINFO", folder);

        std::vector<std::string> tried;
        auto failing = [&](const std::string& program) {
            tried.push_back(program);
            return false;
        };
        QVERIFY(!StartSystemInformation(*store_, failing));
        QCOMPARE(tried, (std::vector<std::string>{"/nonexistent/msinfo", folder + "\\MSINFO32.EXE"}));

        tried.clear();
        QVERIFY(StartSystemInformation(*store_, [&](const std::string& program) {
            tried.push_back(program);
            return true;
        }));
        QCOMPARE(tried.size(), size_t(1));

        // Without the file, the tools folder offers nothing.
        std::filesystem::remove(folder + "\\MSINFO32.EXE");
        tried.clear();
        QVERIFY(!StartSystemInformation(*store_, failing));
        QCOMPARE(tried, std::vector<std::string>{"/nonexistent/msinfo"});
    }

    void sysInfoStartsAProgramThatExists() {
        testsupport::RecordingHost host;
        store_->SaveSetting(RegistryRoot::LocalMachine, MsInfoKey, "PATH", "/bin/true");
        About about(*store_);
        about.findChild<QPushButton*>("cmdSysInfo")->click();
        QVERIFY(host.messages.empty());
    }

    void helpPages() {
        const QUrl help = OnlineHelpUrl();
        QVERIFY(help.isLocalFile());
        const QFileInfo page(help.toLocalFile());
        QVERIFY2(page.isFile(), qPrintable(help.toString()));
        // The build tree's copy beside bin/, found relative to the program.
        QCOMPARE(page.absoluteFilePath(), HelpPageCandidates().first());
        QVERIFY(page.absoluteFilePath().startsWith(
            QFileInfo(QStringLiteral(TESSALY_BINARY_DIR "/..")).canonicalFilePath()));
        QCOMPARE(TechnicalSupportUrl(), QUrl("https://github.com/tessaly/tessaly/issues"));
    }

    void bundledIcons() {
        for (const char* key : {"options", "cut", "copy", "paste", "delete", "filebytags",
                                "tagsbyfile", "v1tov2", "v2tov1", "cvtmixed", "vwLargeIcons",
                                "vwSmallIcons", "vwList", "vwDetails", "play", "help"}) {
            const QIcon icon = ToolbarIcon(key);
            QVERIFY2(!icon.isNull(), key);
            QVERIFY2(!icon.pixmap(16).isNull() && !icon.pixmap(48).isNull(), key);
            QVERIFY2(QFileInfo::exists(IconResourcePath(key, 32)), key);
        }
        for (const char* key : {"downarrow", "uparrow", "blank"}) {
            QVERIFY2(!HeaderIcon(key).isNull(), key);
            QCOMPARE(HeaderIcon(key).pixmap(16).size(), QSize(16, 16));
        }
        QVERIFY(ToolbarIcon("bogus").isNull());
        QVERIFY(HeaderIcon("play").isNull());
        QCOMPARE(AppIcon().pixmap(256).size(), QSize(256, 256));
    }

    void init() { store_ = OpenFileSettings(dir_.File("settings.reg")); }
    void cleanup() {
        store_.reset();
        std::filesystem::remove(dir_.File("settings.reg"));
    }

private:
    testsupport::TempDir dir_;
    std::unique_ptr<CRegSettings> store_;
};

QTEST_MAIN(AboutTest)
#include "About_test.moc"
