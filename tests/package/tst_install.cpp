#include "support/korvanecli.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <unistd.h>

using namespace KorvaneTest;

namespace {

const QString appId = QStringLiteral("com.korvane.Korvane");

// Every file the install puts under its prefix, in the staged tree and in the package alike:
// whether it is executable, and for the desktop entry, types GIO must open with Korvane.
struct Installed {
    QString path;
    bool executable = false;
    QString openedTypes = QString();
};
const QList<Installed> installed{{"bin/korvane", true}, {"lib/korvane/korvane-desktop", true}, {"lib/korvane/korvane-image.so"}, {"lib/korvane/korvane-jpeg.so"}, {"lib/korvane/korvane-net.so"}, {"lib/korvane/korvane-ocr-tesseract.so"}, {"share/applications/" + appId + ".desktop", false, "text/plain image/png application/pdf application/zip inode/directory"},
                                 // Dolphin runs a user's own service menu only when it is executable.
                                 {"share/kio/servicemenus/" + appId + ".sendto.desktop", true},
                                 {"share/icons/hicolor/scalable/apps/" + appId + ".svg"},
                                 {"share/icons/hicolor/symbolic/apps/" + appId + "-tray-13-symbolic.svg"},
                                 {"share/metainfo/" + appId + ".metainfo.xml"},
                                 {"share/doc/korvane/LICENSE"},
                                 {"share/doc/korvane/NOTICE"},
                                 {"share/man/man1/korvane.1.gz"},
                                 {"share/doc/korvane/guide.html"}};

// The make targets of the source tree, on this build tree.
Result make(const QString &target, const QStringList &variables)
{
    return runProgram(QStringLiteral("make"), QStringList{"-s", "-C", KORVANE_SOURCE_DIR, target, "BUILD_DIR=" KORVANE_BUILD_DIR, "JOBS=2"} + variables);
}

QString requireTool(const char *name)
{
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (path.isEmpty())
        qWarning("%s is missing: scripts/install-deps.sh installs it", name);
    return path;
}

// A fresh home for the installed program, so it neither reads nor writes the user's store.
QProcessEnvironment homeFor(const QTemporaryDir &home, const QString &lang)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QLatin1String("/data"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QLatin1String("/config"));
    env.insert(QStringLiteral("LANG"), lang);
    env.remove(QStringLiteral("LANGUAGE"));
    env.remove(QStringLiteral("LC_ALL"));
    env.remove(QStringLiteral("DISPLAY"));
    return env;
}

QString titleOfKind(const QByteArray &listJson, int catalog, int type)
{
    for (const QJsonValue &value : QJsonDocument::fromJson(listJson).array()) {
        const QJsonObject action = value.toObject();
        if (action.value("catalog").toInt() == catalog && action.value("type").toInt() == type)
            return action.value("title").toString();
    }
    return QString();
}

} // namespace

class InstallTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void installedFiles_data();
    void installedFiles();
    void desktopEntry();
    void metainfo();
    void installedProgramFindsItsData_data();
    void installedProgramFindsItsData();
    void debianPackage();
    void aptInstallsAndPurges();

private:
    QTemporaryDir m_stage;
    QTemporaryDir m_direct;
    QString m_prefix;
    QString m_deb;
};

void InstallTest::initTestCase()
{
    QVERIFY(m_stage.isValid());
    m_prefix = m_stage.path() + QLatin1String("/opt/korvane");
    Result result = make(QStringLiteral("install"), {"DESTDIR=" + m_stage.path(), "PREFIX=/opt/korvane"});
    QVERIFY2(result.exitCode == 0, result.all().constData());
    // As a user installs for themselves (PREFIX=~/.local): no staging, so the caches are made.
    result = make(QStringLiteral("install"), {"PREFIX=" + m_direct.path()});
    QVERIFY2(result.exitCode == 0 && !result.err.contains("Warning"), result.all().constData());
}

void InstallTest::installedFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<QString>("openedTypes");
    for (const Installed &entry : installed)
        QTest::newRow(qPrintable(entry.path)) << entry.path << entry.executable << entry.openedTypes;
}

void InstallTest::installedFiles()
{
    QFETCH(QString, path);
    QFETCH(bool, executable);
    QFETCH(QString, openedTypes);
    const QFileInfo info(m_prefix + QLatin1Char('/') + path);
    QVERIFY2(info.isFile(), qPrintable(info.filePath()));
    QVERIFY(info.size() > 0);
    QCOMPARE(info.permissions() & (QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther | QFile::WriteGroup | QFile::WriteOther),
             executable ? QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther : QFile::Permissions());
    QCOMPARE(QFileInfo(m_direct.filePath(path)).permissions(), info.permissions());
    if (!openedTypes.isEmpty()) {
        // Staging leaves the caches to whoever installs the stage; a direct install has them,
        // and GIO reads them as a desktop does (from Debian's own Python, which python3-gi serves).
        QVERIFY(!QFile::exists(info.path() + QLatin1String("/mimeinfo.cache")));
        QVERIFY(QFile::exists(m_direct.filePath(QStringLiteral("share/icons/hicolor/icon-theme.cache"))));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_DIRS"), m_direct.filePath(QStringLiteral("share")) + QLatin1String(":/usr/share"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_stage.filePath(QStringLiteral("no-home")));
        // GIO leaves out an entry whose program is not on PATH.
        env.insert(QStringLiteral("PATH"), m_direct.filePath(QStringLiteral("bin:")) + env.value(QStringLiteral("PATH")));
        const QString script = "import sys, gi; gi.require_version('Gio', '2.0'); from gi.repository import Gio; print(*[t for t in sys.argv[1:] if any("
                               "a.get_id() == '"
            + appId + ".desktop' for a in Gio.AppInfo.get_all_for_type(t))])";
        const Result gio = runProgram(QStringLiteral("/usr/bin/python3"), QStringList{"-c", script} + openedTypes.split(QLatin1Char(' ')), env);
        QVERIFY2(gio.exitCode == 0, gio.err.constData());
        QCOMPARE(QString::fromUtf8(gio.out).trimmed(), openedTypes);
    }
    QFile file(info.filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    if (path.endsWith(QLatin1String(".1.gz"))) {
        const Result page = runProgram(QStringLiteral("man"), {"-l", "-P", "cat", info.filePath()});
        // troff's own complaints; man's about an ungenerated locale are the machine's.
        QVERIFY2(page.exitCode == 0 && !page.err.contains("warning"), page.err.constData());
        for (const char *part : {"korvane - run actions on what you drop", "the kinds of action that can be added", "SEE ALSO", "guide.html"})
            QVERIFY2(page.out.simplified().contains(part), page.out.constData()); // groff 1.23 justifies with double spaces
        return;
    }
    if (path.endsWith(QLatin1String(".html"))) {
        // The user part only, and every picture it shows installed beside it.
        const QString guide = QString::fromUtf8(file.readAll());
        QVERIFY(guide.contains(QLatin1String("<h2>The command line</h2>")) && !guide.contains(QLatin1String("For developers")));
        auto pictures = QRegularExpression(QStringLiteral("<img src=\"([^\"]+)\"")).globalMatch(guide);
        QVERIFY(pictures.hasNext());
        while (pictures.hasNext())
            QVERIFY(QFileInfo(info.dir().filePath(pictures.next().captured(1))).isFile());
        return;
    }
    if (!path.endsWith(QLatin1String(".svg")))
        return;
    QXmlStreamReader xml(&file);
    QVERIFY(xml.readNextStartElement());
    QVERIFY(xml.name() == QLatin1String("svg"));
    QVERIFY(xml.attributes().value("viewBox") == QLatin1String(path.contains("symbolic") ? "0 0 22 22" : "0 0 128 128"));
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
}

void InstallTest::desktopEntry()
{
    const QString validator = requireTool("desktop-file-validate");
    QVERIFY(!validator.isEmpty());
    const QString entry = m_prefix + "/share/applications/" + appId + ".desktop";
    const Result result = runProgram(validator, {entry});
    QVERIFY2(result.exitCode == 0 && result.all().trimmed().isEmpty(), result.all().constData());

    QSettings desktop(entry, QSettings::IniFormat);
    desktop.beginGroup(QStringLiteral("Desktop Entry"));
    QCOMPARE(desktop.value("Icon").toString(), appId);
    // Every file and folder goes to the drop command, so file managers offer Korvane for them.
    QCOMPARE(desktop.value("Exec").toString(), QStringLiteral("korvane drop %F"));
    QSettings serviceMenu(m_prefix + "/share/kio/servicemenus/" + appId + ".sendto.desktop", QSettings::IniFormat);
    QCOMPARE(serviceMenu.value("Desktop Action sendToKorvane/Exec").toString(), QStringLiteral("korvane drop %F"));
}

void InstallTest::metainfo()
{
    const QString validator = requireTool("appstreamcli");
    QVERIFY(!validator.isEmpty());
    const QString path = m_prefix + "/share/metainfo/" + appId + ".metainfo.xml";
    const Result result = runProgram(validator, {"validate", "--no-net", path});
    QVERIFY2(result.exitCode == 0, result.all().constData());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString id, launchable, release;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("id"))
            id = xml.readElementText();
        else if (xml.name() == QLatin1String("launchable"))
            launchable = xml.readElementText();
        else if (xml.name() == QLatin1String("release") && release.isEmpty())
            release = xml.attributes().value("version").toString();
    }
    QCOMPARE(id, appId);
    QCOMPARE(launchable, appId + ".desktop");
    QCOMPARE(release, QStringLiteral(KORVANE_VERSION));
}

void InstallTest::installedProgramFindsItsData_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("kindTitle");
    QTest::newRow("English") << "en_US.UTF-8"
                             << "Clear Text Style";
    QTest::newRow("Simplified Chinese") << "zh_CN.UTF-8" << QString();
}

void InstallTest::installedProgramFindsItsData()
{
    QFETCH(QString, lang);
    QFETCH(QString, kindTitle);
    const QString korvane = m_prefix + QLatin1String("/bin/korvane");

    // Nothing of the build tree reaches the installed program.
    const Result dynamic = runProgram(QStringLiteral("readelf"), {"-d", korvane});
    QCOMPARE(dynamic.exitCode, 0);
    QVERIFY2(!dynamic.out.contains(KORVANE_BUILD_DIR), dynamic.out.constData());

    QTemporaryDir home;
    const QProcessEnvironment env = homeFor(home, lang);
    Result result = runProgram(korvane, {"--version"}, env);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("korvane " KORVANE_VERSION "\n"));

    // The kind's title comes from the translations.
    result = runProgram(korvane, {"add", "0", "1"}, env);
    QVERIFY2(result.exitCode == 0, result.err.constData());
    result = runProgram(korvane, {"list", "--json"}, env);
    QCOMPARE(result.exitCode, 0);
    const QString title = titleOfKind(result.out, 0, 1);
    if (!kindTitle.isEmpty())
        QCOMPARE(title, kindTitle);
    else
        QVERIFY2(title.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))), qPrintable(title));

    // The conversion tables: simplified to Taiwan's traditional Chinese.
    result = runProgram(korvane, {"add", "0", "6", "--title", "to traditional"}, env);
    QVERIFY2(result.exitCode == 0, result.err.constData());
    result = runProgram(korvane, {"run", "to traditional", "--text", "汉字转换"}, env);
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QCOMPARE(QString::fromUtf8(result.out).trimmed(), QStringLiteral("漢字轉換"));

    // Without a command the installed tray program takes over: with no display to show on, it
    // says so in one line and fails, instead of the toolkit's abort.
    QProcessEnvironment noDisplay = env;
    noDisplay.remove(QStringLiteral("WAYLAND_DISPLAY"));
    noDisplay.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    result = runProgram(korvane, {}, noDisplay, 30000);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.startsWith("korvane: the tray program needs a graphical session") && result.err.count('\n') == 1, result.err.constData());

    // The image plug-in, found from the installed program: a PNG of noise, which only gets
    // smaller as a JPEG.
    QImage picture(64, 48, QImage::Format_RGB32);
    quint32 noise = 12345;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            noise = noise * 1103515245 + 12345;
            picture.setPixel(x, y, noise >> 8);
        }
    }
    const QString png = home.filePath(QStringLiteral("picture.png"));
    const QString jpeg = home.filePath(QStringLiteral("picture.jpg"));
    QVERIFY(picture.save(png));
    result = runProgram(korvane, {"add", "1", "0", "--title", "compress"}, env);
    QVERIFY2(result.exitCode == 0, result.err.constData());
    result = runProgram(korvane, {"run", "compress", "--image", png, "--out", jpeg}, env);
    QVERIFY2(result.exitCode == 0, result.all().constData());
    QFile written(jpeg);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.read(3) == "\xff\xd8\xff");
}

void InstallTest::debianPackage()
{
    const Result result = make(QStringLiteral("deb"), {});
    QVERIFY2(result.exitCode == 0, result.all().constData());
    const QStringList debs = QDir(KORVANE_BUILD_DIR).entryList({"korvane_" KORVANE_VERSION "_*.deb"}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_deb = QDir(KORVANE_BUILD_DIR).filePath(debs.first());
    QVERIFY2(result.out.contains(m_deb.toUtf8()), result.out.constData());

    const Result fields = runProgram(QStringLiteral("dpkg-deb"), {"-f", m_deb, "Package", "Version", "Depends"});
    QCOMPARE(fields.exitCode, 0);
    QVERIFY2(fields.out.contains("Package: korvane\n"), fields.out.constData());
    QVERIFY2(fields.out.contains("Version: " KORVANE_VERSION "\n"), fields.out.constData());
    // From dpkg-shlibdeps, and the plug-ins it cannot see, whose package differs by release.
    const Result svg = runProgram(QStringLiteral("dpkg-query"), {"-S", QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/imageformats/libqsvg.so"});
    QVERIFY2(svg.exitCode == 0, svg.all().constData());
    const QByteArray svgPackage = svg.out.left(svg.out.indexOf(':'));
    for (const char *dependency : {"libqt6core6", "libqt6widgets6", "libvips42", "libexiv2-", "libc6", "libqt6sql6-sqlite", svgPackage.constData()})
        QVERIFY2(fields.out.contains(dependency), dependency);

    const Result contents = runProgram(QStringLiteral("dpkg-deb"), {"-c", m_deb});
    QCOMPARE(contents.exitCode, 0);
    for (const Installed &entry : installed) {
        const QRegularExpression line(QStringLiteral("^-rw%1r-%1r-%1 .* \\./usr/%2$").arg(entry.executable ? "x" : "-", QRegularExpression::escape(entry.path)),
                                      QRegularExpression::MultilineOption);
        QVERIFY2(line.match(QString::fromUtf8(contents.out)).hasMatch(), qPrintable(entry.path));
    }
}

void InstallTest::aptInstallsAndPurges()
{
    if (m_deb.isEmpty())
        QSKIP("no package was built");
    if (geteuid() != 0)
        QSKIP("installing the package with apt-get needs root; run this test as root on a Debian machine");
    if (runProgram(QStringLiteral("dpkg-query"), {"-W", "-f=${Status}", "korvane"}).out.contains("installed"))
        QSKIP("a korvane package is installed on this machine already; it is left alone");

    const QStringList apt{"-y", "-q", "-o", "DPkg::Lock::Timeout=120"};
    const Result install = runProgram(QStringLiteral("apt-get"), apt + QStringList{"install", "--no-install-recommends", m_deb});
    // Purged whatever happens below, so the machine is left as it was.
    const auto purge = qScopeGuard([&] { runProgram(QStringLiteral("apt-get"), apt + QStringList{"purge", "korvane"}); });
    QVERIFY2(install.exitCode == 0, install.all().constData());

    QTemporaryDir home;
    const QProcessEnvironment env = homeFor(home, QStringLiteral("en_US.UTF-8"));
    Result result = runProgram(QStringLiteral("/usr/bin/korvane"), {"--version"}, env);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("korvane " KORVANE_VERSION "\n"));
    result = runProgram(QStringLiteral("/usr/bin/korvane"), {"list"}, env);
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QVERIFY2(result.out.contains("Character Counter"), result.out.constData());
    QVERIFY(QFile::exists("/usr/share/applications/" + appId + ".desktop"));

    const Result purged = runProgram(QStringLiteral("apt-get"), apt + QStringList{"purge", "korvane"});
    QVERIFY2(purged.exitCode == 0, purged.all().constData());
    QVERIFY(!QFile::exists(QStringLiteral("/usr/bin/korvane")));
    QVERIFY(!QFile::exists("/usr/share/applications/" + appId + ".desktop"));
}

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
