// Writes pictures of three representative settings panels, light and dark, for the docs:
//   panelscreenshots OUTPUT_FOLDER
#include "basesettingviewcontroller.h"
#include "droplistentity.h"
#include "imagecompression.h"
#include "korvanecoredatahelper.h"
#include "korvanetranslations.h"
#include "settingspanelfactory.h"
#include "filerename.h"

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace {

QPalette darkPalette()
{
    QPalette palette;
    const QColor window(0x2b, 0x2b, 0x2e);
    const QColor base(0x1f, 0x1f, 0x22);
    const QColor text(0xe6, 0xe6, 0xe6);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3e));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(0x2f, 0x6f, 0xd6));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, QColor(0x8a, 0x8a, 0x8e));
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x70, 0x70, 0x74));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x70, 0x70, 0x74));
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    return palette;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    KorvaneTranslations::install({QStringLiteral("en-US")});
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    auto *store = KorvaneCoreDataHelper::shareInstance();

    auto compress = store->getNewDrop(1, 0, 0);
    compress->setTitle(QStringLiteral("Compress for the web"));
    compress->imageCompression()->setCompressionRato(0.7f);
    compress->imageCompression()->setEndName(QStringLiteral("-small"));
    compress->imageCompression()->setSavePath(QStringLiteral("~"));
    compress->setKeyCode(40);
    compress->setModifiers(0x40000 | 0x20000);
    auto urls = store->getNewDrop(0, 5, 0);
    urls->setTitle(QStringLiteral("Search the web"));
    for (const char *url : {"https://duckduckgo.com/?q={text}", "https://en.wikipedia.org/w/index.php?search={text}",
                            "https://github.com/search?q={text}", "https://www.bing.com/search?q={text}"})
        store->addNewCustomUrl(urls, QString::fromLatin1(url));
    auto rename = store->getNewDrop(1, 17, 1);
    rename->setTitle(QStringLiteral("Number the photos"));
    rename->fileRename()->setNeedCustomize(true);
    rename->fileRename()->setCustomizeType(1);
    rename->fileRename()->setCustomizeString(QStringLiteral("holiday"));
    rename->fileRename()->setCustomizeStartNumber(1);
    rename->fileRename()->setCustomizeStartLetter(QStringLiteral("a"));
    store->saveDataChange();

    const QPalette light = QApplication::style()->standardPalette();
    for (const auto &[scheme, palette] : {std::pair{QStringLiteral("light"), light}, {QStringLiteral("dark"), darkPalette()}}) {
        QApplication::setPalette(palette);
        for (const auto &[name, drop] : {std::pair{QStringLiteral("compressVC"), compress},
                                         {QStringLiteral("customURLVC"), urls}, {QStringLiteral("renameVC"), rename}}) {
            std::unique_ptr<SettingsPanel> panel(SettingsPanelFactory::create(name));
            panel->setCatalog(drop->catalog());
            panel->setDropEntity(drop);
            panel->setAutoFillBackground(true);
            panel->resize(600, name == QLatin1String("renameVC") ? 640 : 470);
            panel->show();
            QApplication::processEvents();
            panel->grab().save(out.filePath(QStringLiteral("panel-%1-%2.png").arg(name, scheme)));
        }
    }
    return 0;
}
