// The rename action on real files, with any settings and any file names: whatever names it
// builds, every file is still there afterwards, with its content, in its own folder, and the
// run leaves nothing in staging.
//
// The input: a byte of switches, the customization type, a two-byte start number, the search,
// replacement, added, custom and start-letter strings, then up to four files, each a byte
// choosing its folder and its name.

#include "store/droplistentity.h"
#include "actions/file/filemanager.h"
#include "store/renamesettings.h"
#include "fuzzsupport.h"
#include "store/actionstore.h"
#include "intake/droppayload.h"
#include "actions/actionrunner.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far above what a rename of four files takes even under the sanitizers.
constexpr int completionTimeoutMs = 10000;

DropListEntityPtr &renameAction()
{
    static DropListEntityPtr drop;
    return drop;
}

using Files = QList<QPair<QByteArray, QByteArray>>;

// Every file under the folder as its folder (relative) and content, sorted; folders alone
// are not listed, hidden entries are. Read by the names' bytes, which need not be UTF-8.
void collectFiles(const QByteArray &root, const QByteArray &relative, Files *files)
{
    const QByteArray folder = relative.isEmpty() ? root : root + '/' + relative;
    DIR *entries = ::opendir(folder.constData());
    if (!entries)
        return;
    while (const dirent *entry = ::readdir(entries)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray path = folder + '/' + name;
        struct stat st;
        if (::lstat(path.constData(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            collectFiles(root, relative.isEmpty() ? name : relative + '/' + name, files);
            continue;
        }
        QByteArray content;
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        char buffer[64];
        ssize_t n;
        while (fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0)
            content.append(buffer, n);
        if (fd >= 0)
            ::close(fd);
        files->append({relative, content});
    }
    ::closedir(entries);
}

Files filesByFolder(const QByteArray &root)
{
    Files files;
    collectFiles(root, QByteArray(), &files);
    std::sort(files.begin(), files.end());
    return files;
}

bool isEmptyFolder(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty();
}

QString text(FuzzSupport::Input &input)
{
    return QString::fromUtf8(input.bytes());
}

}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::start<QCoreApplication>([] {
        ActionStore *store = ActionStore::instance();
        FuzzSupport::require(store->openStore(), "the store opens");
        renameAction() = store->getNewDrop(1, 17, 0);
        Korvane::Error error;
        FuzzSupport::require(!FileManager::initTempFolder(&error).isEmpty(), "the temp folder is made");
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::Input input(data, size);
    const quint8 switches = input.byte();
    const std::shared_ptr<RenameSettings> settings = renameAction()->renameSettings();
    settings->setNeedReplace(switches & 1);
    settings->setNeedAdd(switches & 2);
    settings->setNeedCustomize(switches & 4);
    settings->setAddPlaceType((switches >> 3) & 1);
    settings->setCustomizePlaceType((switches >> 4) & 1);
    settings->setCustomizeType(qint8(input.byte()));
    settings->setCustomizeStartNumber(qint16(input.word()));
    settings->setReplaceSearchString(text(input));
    settings->setReplaceResultString(text(input));
    settings->setAddString(text(input));
    settings->setCustomizeString(text(input));
    settings->setCustomizeStartLetter(text(input));

    QByteArray root = QFile::encodeName(QDir::tempPath()) + "/korvane-rename-XXXXXX";
    FuzzSupport::require(::mkdtemp(root.data()), "a folder for the files is made");
    const std::unique_ptr<const char, void (*)(const char *)> removal(root.constData(), [](const char *path) {
        ::nftw(
            path, [](const char *entry, const struct stat *, int, FTW *) { return ::remove(entry); }, 16,
            FTW_DEPTH | FTW_PHYS);
    });
    QList<QUrl> files;
    const int count = input.byte() % 4 + 1;
    for (int k = 0; k < count; ++k) {
        const QByteArray folder = (input.byte() & 1) ? QByteArrayLiteral("d1") : QByteArrayLiteral("d2");
        QByteArray name = input.bytes();
        if (name.isEmpty() || name.contains('/') || name.contains('\0') || name == "." || name == "..")
            name = "f";
        name += QByteArray::number(k);
        const QByteArray path = root + '/' + folder + '/' + name;
        ::mkdir((root + '/' + folder).constData(), 0700);
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        // Names the file system refuses (too long, say) are no file to rename.
        if (fd < 0)
            continue;
        const QByteArray content = QByteArray::number(k);
        const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
        ::close(fd);
        FuzzSupport::require(written, "a file to rename is written");
        files.append(QUrl::fromEncoded("file://" + path.toPercentEncoding("/")));
    }
    if (files.isEmpty())
        return 0;
    const Files before = filesByFolder(root);
    FuzzSupport::require(before.size() == files.size(), "every file is written where it is read");

    DropPayload handled;
    handled.setContainedFileType(FileKindAnyFile | FileKindOther);
    handled.setAllFileUrls(files);
    handled.setOtherFileUrls(files);

    int calls = 0;
    bool inside = true;
    bool calledInside = false;
    QEventLoop loop;
    ActionRunner::run(renameAction(), handled, [&](bool, const Korvane::Error &) {
        ++calls;
        calledInside = calledInside || inside;
        loop.quit();
    });
    inside = false;
    QTimer::singleShot(completionTimeoutMs, &loop, &QEventLoop::quit);
    if (calls == 0)
        loop.exec();
    // A second call would come queued right after the first.
    QCoreApplication::processEvents();

    FuzzSupport::require(calls == 1, "the completion is called exactly once");
    FuzzSupport::require(!calledInside, "the completion is not called inside the starting call");
    const Files after = filesByFolder(root);
    FuzzSupport::require(after == before, "every file keeps its content and its folder");
    FuzzSupport::require(isEmptyFolder(FileManager::tempFolderPath()), "nothing is left in staging");
    return 0;
}
