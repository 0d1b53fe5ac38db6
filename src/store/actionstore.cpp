#include "store/actionstore.h"

#include "store/customurl.h"
#include "store/droplistentity.h"
#include "store/convertsettings.h"
#include "store/resizesettings.h"
#include "store/addtophotossettings.h"
#include "intake/actioncatalog.h"
#include "intake/droppayload.h"
#include "store/storecontext.h"
#include "platform/platform.h"
#include "store/storeschema.h"
#include "platform/settingsbackend.h"
#include "platform/privatefiles.h"
#include "store/customurlsettings.h"
#include "store/translatesettings.h"
#include "store/storelogging.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>

#include <algorithm>
#include <functional>

namespace {

const char *const storeFileName = "KVCoreData.sqlite";

using K = ActionKind;

struct DefaultAction {
    ActionKind kind;
    const char *title; // null keeps the localised default title
    std::function<void(DropListEntity &)> configure;
    QStringList urls;
};

const QString flathubSearch = QStringLiteral("https://flathub.org/apps/search?q={text}");

QList<DefaultAction> chineseDefaults()
{
    return {
        {K::ShareText, nullptr, {}, {}},
        {K::ClearStyle, nullptr, {}, {}},
        {K::Translate, "翻译为中文", [](DropListEntity &d) { d.translateSettings()->setType(0); }, {}},
        {K::ChineseScript, "转换为繁体", {}, {}},
        {K::CustomUrls, "搜索淘宝和京东", {}, {QStringLiteral("https://s.taobao.com/search?q={text}"), QStringLiteral("https://search.jd.com/Search?keyword={text}&enc=utf-8&wq={text}")}},
        {K::CustomUrls, "搜索 Flathub", {}, {flathubSearch}},
        {K::MailText, nullptr, {}, {}},
        {K::MessageText, nullptr, {}, {}},
        {K::ShareFiles, nullptr, {}, {}},
        {K::AddToPhotos, nullptr, [](DropListEntity &d) { d.addToPhotosSettings()->setNeedLaunch(false); }, {}},
        {K::Compress, nullptr, {}, {}},
        {K::RecogniseText, nullptr, {}, {}},
        {K::Convert, "转换为 JPG", {}, {}},
        {K::Convert, "转换为 PNG", [](DropListEntity &d) { d.convertSettings()->setConvertType(1); }, {}},
        {K::Resize, "调整宽度为 1000px", [](DropListEntity &d) { d.resizeSettings()->setTargetPixels(1000); }, {}},
        {K::RemoveMetadata, nullptr, {}, {}},
        {K::MailFiles, nullptr, {}, {}},
        {K::MessageFiles, nullptr, {}, {}},
        {K::Move, "移动到文稿", {}, {}},
    };
}

QList<DefaultAction> otherDefaults()
{
    return {
        {K::ShareText, nullptr, {}, {}},
        {K::ClearStyle, nullptr, {}, {}},
        {K::CountCharacters, "Character Counter", {}, {}},
        {K::Translate, "Translate to English", [](DropListEntity &d) { d.translateSettings()->setType(1); }, {}},
        {K::CustomUrls, "Search Amazon & eBay", {}, {QStringLiteral("http://www.ebay.com/sch/i.html?_nkw={text}"), QStringLiteral("https://www.amazon.com/s?k={text}")}},
        {K::CustomUrls, "Search Flathub", {}, {flathubSearch}},
        {K::MailText, nullptr, {}, {}},
        {K::MessageText, nullptr, {}, {}},
        {K::ShareFiles, nullptr, {}, {}},
        {K::AddToPhotos, nullptr, [](DropListEntity &d) { d.addToPhotosSettings()->setNeedLaunch(false); }, {}},
        {K::Compress, nullptr, {}, {}},
        {K::Convert, "Convert Images to JPG", {}, {}},
        {K::Resize, "Resize Image to 500px Width", [](DropListEntity &d) { d.resizeSettings()->setTargetPixels(500); }, {}},
        {K::RecogniseText, nullptr, {}, {}},
        {K::RemoveMetadata, nullptr, {}, {}},
        {K::MailFiles, nullptr, {}, {}},
        {K::MessageFiles, nullptr, {}, {}},
        {K::Move, "Move to Documents", {}, {}},
    };
}

} // namespace

namespace {
// Normally emptied by the post routine below. A process that exits without tearing down its
// application (the toolkit calls exit() when the display goes away) finds Qt's connections
// already destroyed here: the store is then left open, which SQLite recovers from, rather
// than closed through them.
struct SharedHelper {
    std::unique_ptr<ActionStore> helper;
    ~SharedHelper() { (void)helper.release(); }
};
SharedHelper shared;
}

ActionStore *ActionStore::instance()
{
    if (!shared.helper) {
        shared.helper = std::make_unique<ActionStore>();
        // Close the store while Qt's SQL drivers are still there.
        qAddPostRoutine([] { shared.helper.reset(); });
    }
    return shared.helper.get();
}

ActionStore::ActionStore() = default;
ActionStore::~ActionStore() = default;

QString ActionStore::findOrCreateDirectory(QStandardPaths::StandardLocation directory, int domainMask,
                                           const QString &appendPathComponent, QString *error)
{
    Q_UNUSED(domainMask)
    QString path = QStandardPaths::writableLocation(directory);
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("no folder of this kind is known for the current user");
        return QString();
    }
    if (!appendPathComponent.isEmpty())
        path += QLatin1Char('/') + appendPathComponent;
    if (!QDir().mkpath(path)) {
        if (error)
            *error = QStringLiteral("could not create %1").arg(path);
        return QString();
    }
    return path;
}

QString ActionStore::applicationSupportDirectory()
{
    QString error;
    QString path = findOrCreateDirectory(QStandardPaths::GenericDataLocation, 0, QString(), &error);
    if (!path.isEmpty()) {
        path += QLatin1Char('/') + QCoreApplication::applicationName();
        if (!PrivateFiles::makeFolder(path, &error))
            path.clear();
    }
    if (path.isEmpty())
        qCWarning(lcStore, "Unable to find or create application support directory:\n%s", qUtf8Printable(error));
    return path;
}

QUrl ActionStore::documentDirectoryURL()
{
    const QString path = applicationSupportDirectory();
    qCInfo(lcStore, "file:%s", qUtf8Printable(path));
    return path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path);
}

const QList<EntityDescription> &ActionStore::managedObjectModel() const
{
    return StoreSchema::entities();
}

bool ActionStore::openStore()
{
    context();
    return m_context->hasStore();
}

StoreContext *ActionStore::context()
{
    if (m_context)
        return m_context.get();
    m_context = std::make_unique<StoreContext>();

    const QUrl folder = documentDirectoryURL();
    if (folder.isEmpty()) {
        m_storeError = QStringLiteral("the store folder cannot be made");
    } else {
        const QString path = folder.toLocalFile() + QLatin1Char('/') + QLatin1String(storeFileName);
        m_storePath = path;
        // The store holds keys and passwords: only its owner may read it. SQLite gives the
        // side files it makes the store's own mode.
        QString ignored;
        PrivateFiles::makeFile(path, &ignored);
        PrivateFiles::tighten(path + QLatin1String("-wal"));
        PrivateFiles::tighten(path + QLatin1String("-shm"));
        PrivateFiles::tighten(folder.toLocalFile() + QLatin1String("/uploadHistory.json"));
        if (!m_context->addStore(path, &m_storeError)) {
            qCWarning(lcStore, "could not open the store: %s", qUtf8Printable(m_storeError));
            if (m_storeError.isEmpty())
                m_storeError = QStringLiteral("the store cannot be opened");
            m_storeError = QStringLiteral("%1: %2").arg(path, m_storeError);
        } else {
            m_storeError.clear();
        }
    }
    return m_context.get();
}

QList<DropListEntityPtr> ActionStore::sortedByIndex(const QList<std::shared_ptr<StoredRecord>> &objects)
{
    QList<DropListEntityPtr> drops;
    drops.reserve(objects.size());
    for (const auto &object : objects)
        drops.append(std::static_pointer_cast<DropListEntity>(object));
    std::stable_sort(drops.begin(), drops.end(), [](const DropListEntityPtr &a, const DropListEntityPtr &b) {
        return a->index() < b->index();
    });
    return drops;
}

QList<DropListEntityPtr> ActionStore::getAllDrops()
{
    return sortedByIndex(context()->fetch(DropListEntity::entityName()));
}

QList<DropListEntityPtr> ActionStore::getDropsByCatalog(qint64 catalog)
{
    return sortedByIndex(context()->fetch(DropListEntity::entityName(), [catalog](const StoredRecord &object) {
        return static_cast<const DropListEntity &>(object).catalog() == catalog;
    }));
}

QList<DropListEntityPtr> ActionStore::dropsOffering(const DropPayload &payload)
{
    return sortedByIndex(context()->fetch(DropListEntity::entityName(), [&payload](const StoredRecord &object) {
        const auto &drop = static_cast<const DropListEntity &>(object);
        return ActionCatalog::offers(payload, drop.catalog(), drop.type(), drop.supportTypes());
    }));
}

DropListEntityPtr ActionStore::fetchDropWith(quint32 keyCode, quint32 modifiers)
{
    if (keyCode == 0 && modifiers == 0)
        return nullptr;
    const auto found = context()->fetch(DropListEntity::entityName(), [=](const StoredRecord &object) {
        const auto &drop = static_cast<const DropListEntity &>(object);
        return quint32(drop.modifiers()) == modifiers && quint32(drop.keyCode()) == keyCode;
    });
    return found.isEmpty() ? nullptr : std::static_pointer_cast<DropListEntity>(found.first());
}

DropListEntityPtr ActionStore::fetchDropWith(QKeyCombination keys)
{
    if (keys == QKeyCombination())
        return nullptr;
    const auto found = context()->fetch(DropListEntity::entityName(), [=](const StoredRecord &object) {
        return static_cast<const DropListEntity &>(object).keyCombination() == keys;
    });
    return found.isEmpty() ? nullptr : std::static_pointer_cast<DropListEntity>(found.first());
}

DropListEntityPtr ActionStore::fetchDropWithID(qint32 dropID)
{
    const auto found = context()->fetch(DropListEntity::entityName(), [=](const StoredRecord &object) {
        return static_cast<const DropListEntity &>(object).dropID() == dropID;
    });
    return found.isEmpty() ? nullptr : std::static_pointer_cast<DropListEntity>(found.first());
}

qint32 ActionStore::newDropID()
{
    // The seconds since 1970 and a number from 1000 to 1999, written one after the other,
    // overflow 32 bits; the last five digits of the seconds keep the value in range.
    StoreContext *ctx = context();
    for (int attempt = 0; attempt < 32; ++attempt) {
        const qint64 seconds = QDateTime::currentSecsSinceEpoch() % 100000;
        const int random = QRandomGenerator::global()->bounded(1000, 2000);
        const qint32 id = QStringLiteral("%1%2").arg(seconds).arg(random).toInt();
        if (!ctx->containsValue(DropListEntity::entityName(), QStringLiteral("dropID"), id))
            return id;
    }
    // Thousands of actions made within one second: draw from the whole range instead.
    qint32 id;
    do {
        id = qint32(QRandomGenerator::global()->bounded(1000000000, 2147483647));
    } while (ctx->containsValue(DropListEntity::entityName(), QStringLiteral("dropID"), id));
    return id;
}

DropListEntityPtr ActionStore::getNewDrop(qint64 catalog, qint64 type, qint32 index)
{
    DropListEntityPtr drop = insertNewDrop(catalog, type, index);
    saveDataChange();
    return drop;
}

DropListEntityPtr ActionStore::insertNewDrop(qint64 catalog, qint64 type, qint32 index)
{
    StoreContext *ctx = context();
    auto drop = ctx->insertNewObject<DropListEntity>();
    drop->setIndex(index);
    drop->setDropID(newDropID());
    drop->setCatalog(qint16(catalog));
    drop->setType(qint32(type));

    // Any catalog other than text takes the file and image kinds.
    if (const ActionCatalog::Entry *kind = ActionCatalog::entry(catalog == 0 ? 0 : 1, type)) {
        drop->setSettings(ctx->insertNewObject(QLatin1String(kind->settingsRecord)));
        drop->setTitle(qtTrId(kind->titleKey));
        drop->setSupportTypes(kind->supportTypes);
    }
    return drop;
}

void ActionStore::numberInOrder(const QList<DropListEntityPtr> &drops)
{
    for (int i = 0; i < drops.size(); ++i) {
        if (drops.at(i)->index() != i)
            drops.at(i)->setIndex(i);
    }
}

void ActionStore::placeDrop(const DropListEntityPtr &drop, int position)
{
    QList<DropListEntityPtr> list = getDropsByCatalog(drop->catalog());
    list.removeAll(drop);
    list.insert(qBound(0, position, int(list.size())), drop);
    numberInOrder(list);
}

void ActionStore::placeDrop(const DropListEntityPtr &drop, const DropListEntityPtr &before)
{
    QList<DropListEntityPtr> list = getDropsByCatalog(drop->catalog());
    list.removeAll(drop);
    const qsizetype position = before ? list.indexOf(before) : -1;
    list.insert(position < 0 ? list.size() : position, drop);
    numberInOrder(list);
}

void ActionStore::renumber(qint64 catalog)
{
    numberInOrder(getDropsByCatalog(catalog));
}

bool ActionStore::deleteAction(const DropListEntityPtr &drop)
{
    if (!drop)
        return true;
    context()->deleteObject(drop);
    return saveDataChange();
}

bool ActionStore::saveDataChange()
{
    return write({});
}

bool ActionStore::write(const std::function<bool(QString *)> &change, QString *error)
{
    QString failure;
    if (context()->perform(change, &failure)) {
        if (!m_lastWriteError.isEmpty()) {
            m_lastWriteError.clear();
            if (m_writeStateHandler)
                m_writeStateHandler(QString());
        }
        return true;
    }
    m_lastWriteError = QStringLiteral("the action store %1 could not be written: %2")
                           .arg(m_storePath.isEmpty() ? QStringLiteral("(none)") : m_storePath, failure);
    if (error)
        *error = m_lastWriteError;
    if (m_writeStateHandler)
        m_writeStateHandler(m_lastWriteError);
    return false;
}

std::shared_ptr<CustomUrl> ActionStore::addNewCustomUrl(const DropListEntityPtr &drop)
{
    const auto settings = drop ? drop->customUrlSettings() : nullptr;
    if (!settings)
        return nullptr;
    auto url = context()->insertNewObject<CustomUrl>();
    url->setCreateTime(double(QDateTime::currentSecsSinceEpoch()));
    settings->addUrlsObject(url);
    saveDataChange();
    return url;
}

std::shared_ptr<CustomUrl> ActionStore::addNewCustomUrl(const DropListEntityPtr &drop, const QString &urlString)
{
    const auto settings = drop ? drop->customUrlSettings() : nullptr;
    if (!settings)
        return nullptr;
    auto url = context()->insertNewObject<CustomUrl>();
    url->setCreateTime(double(QDateTime::currentSecsSinceEpoch()));
    url->setUrl(urlString);
    settings->addUrlsObject(url);
    saveDataChange();
    return url;
}

void ActionStore::deleteCustomUrl(const DropListEntityPtr &drop, const std::shared_ptr<CustomUrl> &url)
{
    const auto settings = drop ? drop->customUrlSettings() : nullptr;
    if (!settings || !url)
        return;
    settings->removeUrlsObject(url);
    saveDataChange();
}

bool ActionStore::initializationDefaultData()
{
    if (!getAllDrops().isEmpty() || !context()->hasStore())
        return true;
    return write([this](QString *) {
        // Another first start may have filled it while this one waited for the lock.
        if (getAllDrops().isEmpty())
            insertDefaultData();
        return true;
    });
}

void ActionStore::insertDefaultData()
{
    const QStringList languages = Platform::settingsBackend()->preferredLanguages();
    const bool chinese = !languages.isEmpty() && languages.first().startsWith(QLatin1String("zh"));
    const QList<DefaultAction> defaults = chinese ? chineseDefaults() : otherDefaults();

    // Every URL of one run shares the same creation time.
    const double now = double(QDateTime::currentSecsSinceEpoch());
    int textIndex = 0;
    int fileIndex = 0;
    for (const DefaultAction &action : defaults) {
        const ActionCatalog::Entry &kind = ActionCatalog::of(action.kind);
        const int index = kind.catalog == 0 ? textIndex++ : fileIndex++;
        const DropListEntityPtr drop = insertNewDrop(kind.catalog, kind.type, index);
        if (action.title)
            drop->setTitle(QString::fromUtf8(action.title));
        if (action.configure)
            action.configure(*drop);
        for (const QString &template_ : action.urls) {
            auto url = context()->insertNewObject<CustomUrl>();
            url->setCreateTime(now);
            url->setUrl(template_);
            drop->customUrlSettings()->addUrlsObject(url);
        }
    }
}
