#!/usr/bin/env bash
# Plants known faults, one at a time, in a copy of the tree and checks that the tests catch
# each one. A fault the tests let through marks a behaviour nothing guards any more: after
# trimming tests, every fault here must still be caught.
#
#   tools/mutate.sh --list          one line per fault: its name, file and behaviour
#   tools/mutate.sh [NAME...]       plant every fault, or the named ones, and report
#
# The copy and its build live in $MUTATE_DIR (default /tmp/korvane-mutate) and are reused by
# the next run; only the files a fault touches are rebuilt. Each fault names the test
# programs that guard its behaviour, and only those are built and run. Exit status 1 when a
# fault was missed or could not be planted.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
work=${MUTATE_DIR:-/tmp/korvane-mutate}
jobs=${JOBS:-$(nproc)}

# name | file | line as it is | line with the fault | tests that must fail | behaviour
faults=$(cat <<'EOF'
copy-name|src/actions/file/localpaths.cpp|    return name.left(dot) + QByteArray::number(n) + name.mid(dot);|    return name + QByteArray::number(n);|tst_filemanager tst_fileactions|a copy that collides is numbered before its extension
rename-journal|src/actions/file/renamejournal.cpp|        const bool onward = finals.contains(stagedPath);|        const bool onward = false;|tst_renamejournal tst_fileactions|an interrupted rename finishes the moves it had decided
extension|src/intake/filetypes.cpp|    return path.mid(dot + 1, end - dot - 1);|    return path.mid(dot, end - dot);|tst_droppayload|a file's extension decides its kind
clipboard-kind|src/intake/droppayload.cpp|        } else if (item.hasType(TransferType::PNG)) {|        } else if (false) {|tst_droppayload tst_actionrunner|image data on the clipboard is classified as an image
uri-comments|src/platform/qt/mimedataconverter.cpp|            if (!line.isEmpty() && !line.startsWith('#'))|            if (!line.isEmpty())|tst_mimedataconverter|comment lines of a file manager's URI list are no files
money-groups|src/actions/text/texttransforms.cpp|        const bool groupMarker = unitIndex == 4 \|\| unitIndex == 8;|        const bool groupMarker = unitIndex == 4;|tst_capitalmoney|money numerals mark the ten-thousands and hundred-millions
money-cents|src/actions/text/texttransforms.cpp|    if (fraction.size() > 1 && fraction.at(1) != u'0')|    if (fraction.size() > 2 && fraction.at(1) != u'0')|tst_capitalmoney|an amount below one writes its fen
count-letters|src/actions/text/texttransforms.cpp|        const bool letter = (c & ~0x20) >= 0x41 && (c & ~0x20) <= 0x5a;|        const bool letter = (c & ~0x20) >= 0x41 && (c & ~0x20) <= 0x59;|tst_textactions|the letter count takes A to Z in both cases
count-width|src/actions/text/texttransforms.cpp|            characters += 2;|            characters += 1;|tst_textactions|a Chinese character counts twice in the character total
title-case|src/actions/text/textactions.cpp|            result += character.toLower();|            result += character;|tst_textactions|title case lowers the rest of each word
cos-signature|src/net/cos/cosclient.cpp|    const QString stringToSign = QStringLiteral("sha1\n%1\n%2\n").arg(keyTime, sha1(httpString));|    const QString stringToSign = QStringLiteral("sha1\n%1\n%2").arg(keyTime, sha1(httpString));|tst_signing tst_uploadactions|the COS request signature
oss-signature|src/net/oss/ossclient.cpp|    const QString text = QStringList{verb, contentMd5, contentType, date, resource}.join(QLatin1Char('\n'));|    const QString text = QStringList{verb, contentMd5, date, resource}.join(QLatin1Char('\n'));|tst_signing tst_uploadactions|the OSS request signature covers the Content-Type
qiniu-token|src/net/qiniu/qiniuuploadtoken.cpp|    return QString::fromLatin1(data.toBase64(QByteArray::Base64UrlEncoding));|    return QString::fromLatin1(data.toBase64());|tst_signing tst_uploadactions|the Qiniu upload token is URL-safe Base64
cookie-redaction|src/net/apiclient.cpp|            return result + QStringLiteral("<redacted>");|            return result + match.captured(2);|tst_apiclient tst_uploadactions|cookie values never reach the log
chunk-cap|src/net/httpanswerparser.cpp|    if (size > quint64(m_maximumBody - m_body.size())) {|    if (size > quint64(m_maximumBody)) {|tst_netclient tst_hostileanswers|a chunked answer counts its decoded body against the cap
interim-answers|src/net/httpanswerparser.cpp|        if (++m_interim > AnswerLimits::interimAnswers)|        if (++m_interim > 1000 * AnswerLimits::interimAnswers)|tst_netclient tst_hostileanswers|a flood of interim answers is a protocol error
xml-attributes|src/net/xmlreader.cpp|                    if (++attributes > maximumAttributes())|                    if (++attributes > 1000 * maximumAttributes())|tst_xmlreader tst_hostileanswers|an element with too many attributes is refused
store-order|src/store/actionstore.cpp|            drops.at(i)->setIndex(i);|            drops.at(i)->setIndex(i + 1);|tst_actionstore tst_korvanecli|indexes stay 0 to n-1 after a move
foreign-store|src/store/storeschema.cpp|    const bool stamped = header.applicationId == StoreSchema::ApplicationId;|    const bool stamped = true;|tst_actionstore|a database that is not ours is left alone
import-range|src/store/actiontransfer.cpp|        if (!json.isDouble() \|\| (whole && std::floor(number) != number) \|\| !(number >= range.lowest && number <= range.highest)) {|        if (!json.isDouble() \|\| (whole && std::floor(number) != number) \|\| !(number >= range.lowest)) {|tst_actiontransfer|an imported number past its field's range is refused
hotkey-modifiers|src/platform/x11/x11shortcutbackend.cpp|    if (modifiers & Qt::AltModifier)|    if (modifiers & Qt::GroupSwitchModifier)|tst_x11shortcutbackend|a hotkey's modifiers map to the X11 masks
hotkey-recorder|src/shortcuts/shortcutrecorder.cpp|    if (!held.testAnyFlags(Qt::ControlModifier \| Qt::AltModifier \| Qt::MetaModifier) && (!isFunctionKey(key) \|\| held.testFlag(Qt::ShiftModifier)))|    if (!held.testAnyFlags(Qt::ControlModifier \| Qt::AltModifier \| Qt::MetaModifier) && !isFunctionKey(key))|tst_keycombinationtext|a function key with shift alone is no recorded hotkey
hotkey-codec|src/common/storedshortcutcodec.cpp|        if (key.key == keys.key() && key.keypad == keypad) {|        if (key.key == keys.key()) {|tst_storedshortcutcodec|a keypad key and the main keyboard's key of the same name are stored apart
codec-modifiers|src/common/storedshortcutcodec.cpp|    {StoredShortcutCodec::OptionFlag, Qt::AltModifier},|    {StoredShortcutCodec::OptionFlag, Qt::MetaModifier},|tst_storedshortcutcodec|a stored hotkey's Option flag is Alt, not the Meta key
copy-hidden|src/actions/file/localpaths.cpp|    if (dot <= 0 \|\| dot == name.size() - 1)|    if (dot < 0 \|\| dot == name.size() - 1)|tst_filemanager|a hidden file's copy is numbered after its whole name
move-in-place|src/actions/file/filemanager.cpp|    if (isDeleteFile && !realFolder.isEmpty() && realFolder == realSourceFolder) {|    if (false) {|tst_filemanager|a move into the folder the file is in leaves it as it is
share-text-limit|src/actions/share/shareactions.cpp|    if (bytes <= ShareService::MaximumArgumentBytes)|    if (bytes <= ShareService::MaximumArgumentBytes + 1)|tst_korvanecli|a mail or message text too long for one argument is refused
ocr-languages|src/actions/ocr/offlineocrrecognizer.cpp|    if (form.match(languages).hasMatch())|    if (!languages.isEmpty())|tst_ocractions|OCR languages not in Tesseract's form fall back to the default
folder-url|src/intake/droppayload.cpp|    if (path.endsWith(QLatin1Char('/'))) {|    if (false) {|tst_droppayload|a dropped URL with a trailing slash is a folder
hotkey-release|src/shortcuts/globalshortcutregistry.cpp|    if (event != GlobalShortcutBackend::Event::Pressed)|    if (false)|tst_globalshortcutregistry|a hotkey acts on its press, not its release
hotkey-target|src/shortcuts/globalshortcut.cpp|    if (m_context && m_activated)|    if (m_activated)|tst_globalshortcutregistry|a hotkey whose context object is gone calls nothing
pixel-budget|src/actions/image/pixelbudget.cpp|    while (m_inFlight > 0 && m_inFlight + bytes > m_limit)|    while (m_inFlight > 0 && bytes > m_limit)|tst_imagemanager tst_imageactions|image jobs in flight stay within the pixel budget
editor-move|src/shell/editor/editordroplist.cpp|    return row != from && row - from != 1;|    return row != from;|tst_actioneditor|a row dropped just below itself stays where it is
resize-percent|src/shell/editor/resizeimagepanel.cpp|    return whole >= 101 ? 100 : int(whole);|    return whole > 101 ? 100 : int(whole);|tst_settingspanels|a resize percentage past 100 is stored as 100
update-due|src/net/updatecheck.cpp|    if (!(due < now))|    if (!(due <= now))|tst_updatecheck|the automatic update check waits until three whole days have passed
notify-replace|src/platform/dbus/dbusnotifier.cpp|                         m_lastID = reply.value();|                         m_lastID = 0;|tst_dbusnotifier|a notification replaces the one shown before it
notify-fallback|src/platform/dbus/dbusnotifier.cpp|    if (m_fallback)|    if (false)|tst_dbusnotifier|with no notification server the notice goes to the fallback
zh-pieces|src/actions/text/chineseconversion.cpp|        pending.remove(0, done);|        pending.clear();|tst_chineseconverter|text held back at the end of a piece is converted with the next one
zh-segments|src/actions/text/chineseconversion.cpp|            walk.addText(section, true);|            walk.addText(section, false);|tst_chineseconverter|single characters never split a segment's phrase
zh-normalize|src/actions/text/chineseconversion.cpp|    if (m_normalization.isEmpty())|    if (true)|tst_chineseconverter|compatibility ideographs are normalized before the conversion
zh-short-circuit|tools/zhtablegen/zhtablegen.cpp|                    shadowed = earlier.contains(key.left(length));|                    shadowed = false;|tst_chineseconverter|a short_circuit group answers with the first dictionary that matches
image-window|src/image/imagestructure.cpp|        m_end -= m_at;|        m_end = 0;|tst_imagemanager|a file larger than the window it is read through is walked and copied whole
jpeg-restart|src/image/imagestructure.cpp|                                      _mm_cmpeq_epi8(_mm_and_si128(after, _mm_set1_epi8(char(0xf8))),|                                      _mm_cmpeq_epi8(_mm_and_si128(after, _mm_set1_epi8(char(0xff))),|tst_imagemanager|a restart marker inside a JPEG's compressed data is data, not the image's end
copy-write-error|src/image/backgroundwriter.cpp|        m_ok = m_ok && wrote;|        (void)wrote;|tst_imagemanager|a metadata copy that cannot be written whole fails and leaves nothing
recompress-ring|src/image/jpegrecompressor.cpp|        const int slot = int(m_encoded % bandCount);|        const int slot = int(m_decoded % bandCount);|tst_imagemanager|the encoder's thread takes the decoded bands in order
recompress-alone|src/image/jpegrecompressor.cpp|        ok = decodeBand(slot, &rows) && (threaded \|\| encodeBand(slot, rows));|        ok = decodeBand(slot, &rows);|tst_imagemanager|with no thread free the decoder encodes each band itself
popover-stale-deactivation|src/widgets/popoverwindow.cpp|    return m_activated \|\| testAttribute(Qt::WA_ShowWithoutActivating);|    return true;|tst_widgets|a popover shown after its application lost activation is not closed by the late news of it
replace-leftover|src/actions/file/localpaths.cpp|        ::unlink(from.constData());|        (void)from;|tst_imageactions|a result put in its place leaves no hidden file beside it
png-checksum|src/image/imagestructure.cpp|        if (!passed \|\| !in.need(4) \|\| crc != be32(in.at()))|        if (!passed \|\| !in.need(4))|tst_imageactions|a PNG chunk whose checksum fails is refused
late-damage|src/actions/image/imageactions.cpp|            if (broken)|            if (false)|tst_imageactions|a photo found damaged while its copy is written is named in the report
orientation-range|src/image/imagestructure.cpp|        return orientation >= 1 && orientation <= 8 ? int(orientation) : 0;|        return int(orientation);|tst_imagemanager|an orientation outside 1 to 8 is read as none
image-trash|src/actions/image/imageactions.cpp|    if (trashed.file.isEmpty()) {|    if (false) {|tst_imageactions|a source that cannot go to the Trash is not replaced
fit-folders|src/intake/actioncatalog.cpp|    return !onlyFolders(data) \|\| !e \|\| e->takesLoneFolders;|    return true;|tst_actionstore|the Qiniu upload is not offered for a drop made only of folders
drop-queue|src/shell/trayicon.cpp|    if (!m_droppedWhileRunning.first) {|    if (false) {|tst_swaydesktop|a drop on a drop-window row while an action runs waits for it
clipboard-focus|src/shell/trayicon.cpp|    if (DesktopPlatform::readsClipboardOnlyWithFocus()) {|    if (false) {|tst_waylanddesktop|where only a focused window reads the clipboard, the wake list reads it once it has the focus
reply-delivery|src/actions/actionreply.cpp|    return m_record->delivery == Delivery::ToDesktop;|    return true;|tst_actionrunner|a result kept for the caller never reaches the desktop's clipboard or notifications
reply-late-writes|src/actions/actionreply.cpp|            Qt::QueuedConnection);|            Qt::DirectConnection);|tst_ocractions|a run's result holds what the action wrote just after reporting its end
EOF
)

list() {
    while IFS='|' read -r name file _ _ tests behaviour; do
        printf '%-18s %-42s %s (%s)\n' "$name" "$file" "$behaviour" "$tests"
    done <<<"$(unescape "$faults")"
}

# The table escapes a "|" inside a line of code as "\|".
unescape() { sed 's/\\|/\x1f/g' <<<"$1"; }
field() { tr $'\x1f' '|' <<<"$1"; }

if [[ ${1:-} == --list ]]; then
    list | tr $'\x1f' '|'
    exit 0
fi

command -v python3 >/dev/null || { echo "mutate.sh needs python3" >&2; exit 2; }

echo "copying the tree to $work/tree"
mkdir -p "$work/tree"
# Only files whose content differs are copied, and they get the time of the copy: a file
# older than what an earlier run built from it would otherwise not be rebuilt.
(cd "$here" && git ls-files -z) | while IFS= read -r -d '' file; do
    if ! cmp -s "$here/$file" "$work/tree/$file"; then
        mkdir -p "$(dirname "$work/tree/$file")"
        cp "$here/$file" "$work/tree/$file"
    fi
done
if [[ ! -f $work/tree/build/build.ninja ]]; then
    cmake -S "$work/tree" -B "$work/tree/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
fi

products="korvane korvanedesktop korvaneimage korvanejpeg korvanenetwork korvaneocrtesseract"
missed=0
printf '\n%-18s %-8s %s\n' fault result tests
while IFS='|' read -r name file before after tests behaviour; do
    [[ -z $name ]] && continue
    if (($# > 0)) && ! printf '%s\n' "$@" | grep -qx "$name"; then
        continue
    fi
    before=$(field "$before")
    after=$(field "$after")
    target="$work/tree/$file"
    cp "$target" "$work/original"
    if ! python3 - "$target" "$before" "$after" <<'PY'
import sys
path, before, after = sys.argv[1], sys.argv[2], sys.argv[3]
text = open(path, encoding="utf-8").read()
lines = text.split("\n")
hits = [i for i, line in enumerate(lines) if line == before]
if len(hits) != 1:
    sys.exit(1)
lines[hits[0]] = after
open(path, "w", encoding="utf-8").write("\n".join(lines))
PY
    then
        printf '%-18s %-8s %s\n' "$name" "absent" "the line is not in $file once"
        missed=1
        continue
    fi
    result=missed
    if ! cmake --build "$work/tree/build" -j "$jobs" --target $products $tests >"$work/$name.build.log" 2>&1; then
        result=unbuilt
    else
        regex="^($(tr ' ' '|' <<<"$tests"))\$"
        if ! (cd "$work/tree/build" && ctest -R "$regex" -j "$jobs" >"$work/$name.test.log" 2>&1); then
            result=caught
        fi
    fi
    cp "$work/original" "$target"
    [[ $result == caught ]] || missed=1
    printf '%-18s %-8s %s\n' "$name" "$result" "$tests"
done <<<"$(unescape "$faults")"

# Leave the copy's build matching the tree, so the next run starts from it.
cmake --build "$work/tree/build" -j "$jobs" --target $products >/dev/null 2>&1 || true
exit $missed
