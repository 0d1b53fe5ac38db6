#include "intake/actiontreenode.h"
#include "intake/actiontypemodel.h"
#include "intake/actioncatalog.h"
#include "actions/text/translations.h"

#include <QCoreApplication>
#include <QSet>
#include <QTest>
#include <QTranslator>

namespace {

struct Flattened {
    QStringList groups;
    QList<QList<int>> types;
    QList<ActionModel> entries;
};

Flattened flatten(const ActionTreeNode &root)
{
    Flattened result;
    for (const auto &group : root.children()) {
        result.groups.append(std::get<ActionTypeModel>(group->value()).titleString());
        QList<int> types;
        for (const auto &leaf : group->children()) {
            const ActionModel &model = std::get<ActionModel>(leaf->value());
            types.append(model.type());
            result.entries.append(model);
        }
        result.types.append(types);
    }
    return result;
}

void removeTranslators()
{
    const auto translators = QCoreApplication::instance()->findChildren<QTranslator *>();
    for (QTranslator *translator : translators) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

} // namespace

class ActionCatalogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { removeTranslators(); }
    void trees();
    void everyKindHasTextsInBothLanguages();
    void lookups();
    void pasteboardOffersOnlyTheTitle();
};

// The groups of each catalog's tree and the types in each, in order; every type of the
// catalog appears exactly once, with the catalog's code.
void ActionCatalogTest::trees()
{
    Translations::install({QStringLiteral("en-US")});
    const std::tuple<int, QStringList, QList<QList<int>>> catalogs[] = {
        {0, {"Common", "Send", "Advanced", "Chinese"}, {{9, 0, 8, 1, 2}, {3, 4}, {5}, {6, 7}}},
        {1, {"Common", "Images", "Send and Upload"}, {{7, 17, 8, 9}, {0, 1, 2, 16, 3, 4, 6}, {10, 11, 5, 12, 13, 14, 15}}},
    };
    for (const auto &[catalog, groups, types] : catalogs) {
        const auto root = catalog == 0 ? ActionTypeModel::getTextTypeRootTree() : ActionTypeModel::getFileTypeRootTree();
        const Flattened flat = flatten(*root);
        QCOMPARE(flat.groups, groups);
        QCOMPARE(flat.types, types);
        QSet<int> seen;
        for (const ActionModel &entry : flat.entries) {
            QCOMPARE(entry.catalog(), qint64(catalog));
            QVERIFY2(!seen.contains(entry.type()), qPrintable(QString::number(entry.type())));
            seen.insert(entry.type());
        }
        QCOMPARE(seen.size(), ActionCatalog::typeCount(catalog));
        QCOMPARE(*std::max_element(seen.begin(), seen.end()), ActionCatalog::typeCount(catalog) - 1);
    }
}

// In English and then in Chinese, every kind's title and description are translated, and the
// titles are in the language's script.
void ActionCatalogTest::everyKindHasTextsInBothLanguages()
{
    for (const QString &language : {QStringLiteral("en-GB"), QStringLiteral("zh-CN")}) {
        Translations::install({language});
        for (const ActionCatalog::Entry &entry : ActionCatalog::entries()) {
            const QString title = ActionCatalog::localizedTitle(entry.catalog, entry.type);
            const QString description = ActionCatalog::localizedDescription(entry.catalog, entry.type);
            // An untranslated id comes back as the key itself.
            QVERIFY2(title != QLatin1String(entry.titleKey) && !title.isEmpty(), entry.titleKey);
            QVERIFY2(description != QLatin1String(entry.descriptionKey) && !description.isEmpty(), entry.descriptionKey);
            QCOMPARE(QLatin1String(entry.descriptionKey), QLatin1String(entry.titleKey) + QLatin1String("Info"));
            const bool hasHan = std::any_of(title.begin(), title.end(), [](QChar c) { return c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff; });
            QCOMPARE(hasHan, language.startsWith(QLatin1String("zh")));
        }
        QVERIFY(qtTrId("succeedNotif").contains(QLatin1String("%1")));
        QVERIFY(qtTrId("failureNotif").contains(QLatin1String("%1")));
    }
}

void ActionCatalogTest::lookups()
{
    const QPair<int, int> pairs[] = {{3, 10}, {4, 11}};
    for (const auto &pair : pairs) {
        const auto *text = ActionCatalog::entry(0, pair.first);
        const auto *file = ActionCatalog::entry(1, pair.second);
        QCOMPARE(QLatin1String(text->titleKey), QLatin1String(file->titleKey));
        QCOMPARE(QLatin1String(text->imageName), QLatin1String(file->imageName));
    }
    for (const ActionCatalog::Entry &entry : ActionCatalog::entries()) {
        // Every kind's name is its own: the command line finds this very kind by it, and by
        // its catalog and type.
        qint64 named = -1;
        QVERIFY2(ActionCatalog::entryNamed(QLatin1String(entry.name), &named) == &entry && named == entry.catalog, entry.name);
        QCOMPARE(ActionCatalog::entry(entry.catalog, entry.type), &entry);
    }
    // Past either end of a catalog, and in no catalog, there is no kind.
    QVERIFY(!ActionCatalog::isKnown(0, ActionCatalog::typeCount(0)));
    QVERIFY(!ActionCatalog::isKnown(1, ActionCatalog::typeCount(1)));
    QVERIFY(!ActionCatalog::isKnown(1, -1));
    QVERIFY(!ActionCatalog::isKnown(2, 0));
    QVERIFY(ActionCatalog::localizedTitle(0, ActionCatalog::typeCount(0)).isNull());
}

void ActionCatalogTest::pasteboardOffersOnlyTheTitle()
{
    const ActionModel model(QStringLiteral("Compress"), QStringLiteral("压缩体积"), 1, 0, QStringLiteral("info"));
    QCOMPARE(model.writableTypes(), QList<TransferType>{TransferType::String});
    QCOMPARE(model.valueForType(TransferType::String).toString(), QStringLiteral("Compress"));
    for (auto type : {TransferType::FileURL, TransferType::PNG, TransferType::RTF, TransferType::URL})
        QVERIFY(!model.valueForType(type).isValid());
}

QTEST_GUILESS_MAIN(ActionCatalogTest)
#include "tst_actioncatalog.moc"
