#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every harness shares: a home and XDG folders of its own, an application object for
// the code that needs one, Qt's warnings silenced (a fuzzer feeds mostly bad input, and each
// warning would be printed), and a way to read structured values off the fuzzer's bytes.
namespace FuzzSupport {

// Points HOME and the XDG folders into a fresh folder that lives as long as the process, so
// a harness never touches the user's store, makes the application object (QCoreApplication,
// or QGuiApplication for harnesses that need QtGui; QT_QPA_PLATFORM is offscreen unless set)
// and runs the harness's own set-up.
template<typename Application, typename SetUp>
void start(SetUp setUp)
{
    static QTemporaryDir home(QDir::tempPath() + QStringLiteral("/korvane-fuzz-XXXXXX"));
    if (!home.isValid()) {
        std::fprintf(stderr, "cannot make a home folder in %s\n", qPrintable(QDir::tempPath()));
        std::abort();
    }
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString path = home.filePath(QString::fromLatin1(name).toLower());
        QDir().mkpath(path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv(name, QFile::encodeName(path));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            std::abort();
        }
    });
    static int argc = 1;
    static char name[] = "korvane-fuzz";
    static char *argv[] = {name, nullptr};
    new Application(argc, argv);
    setUp();
    // Torn down as the program ends, so that the store closes and nothing of ours is left for
    // the leak checker. Registered after the set-up: what it made (the application's list of
    // routines to call at its end, say) is destroyed only after this has run.
    std::atexit([] { delete QCoreApplication::instance(); });
}

// Stops the run with the broken property's description: the fuzzer keeps the input.
inline void require(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

// Reads values off the front of the input; past its end every value is empty or zero.
class Input final
{
public:
    Input(const uint8_t *data, size_t size)
        : m_data(reinterpret_cast<const char *>(data))
        , m_size(qsizetype(size))
    {
    }

    quint8 byte() { return m_position < m_size ? quint8(m_data[m_position++]) : 0; }
    quint16 word() { return quint16(byte() | byte() << 8); }
    // A run of bytes with a one-byte length before it.
    QByteArray bytes() { return take(byte()); }
    // A run of bytes with a two-byte length before it.
    QByteArray longBytes() { return take(word()); }
    QByteArray rest() { return take(m_size - m_position); }
    bool atEnd() const { return m_position >= m_size; }

private:
    QByteArray take(qsizetype length)
    {
        length = qMin(length, m_size - m_position);
        const QByteArray taken(m_data + m_position, length);
        m_position += length;
        return taken;
    }

    const char *m_data;
    qsizetype m_size;
    qsizetype m_position = 0;
};

} // namespace FuzzSupport
