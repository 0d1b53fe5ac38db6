#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

// Stands in on 127.0.0.1 for both hosts of cloud recognition: the service's token request
// ("GET /quorvix/api/ocr/token") and the handwriting recognition ("POST /ocr/handwriting",
// multipart). It checks what the real ones would: the Authorization header carries a token it
// issued, the form has "appid" and one "image" part with the boundary of the Content-Type.
// Images are known by their bytes: recognised lines, a failing code, or a delay before the
// answer, so tests decide the order in which answers arrive.
class OcrServiceStandIn final : public QObject
{
public:
    struct Recognition {
        QStringList lines;
        int code = 0;
        int delayMs = 0;
    };
    struct Request {
        QByteArray authorization;
        QByteArray appid;
        int imageParts = 0;
        QByteArray fileName;
        bool valid = false;
    };

    OcrServiceStandIn()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, &OcrServiceStandIn::onConnection);
    }

    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    void setRecognition(const QByteArray &image, const Recognition &recognition) { m_images.insert(image, recognition); }
    void setTokensFail(bool fail) { m_tokensFail = fail; }
    int tokenRequests() const { return m_tokenRequests; }
    const QList<Request> &recognitions() const { return m_requests; }

private:
    void onConnection()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onData(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void onData(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> headLines = buffer.left(end).split('\n');
        QHash<QByteArray, QByteArray> headers;
        for (qsizetype i = 1; i < headLines.size(); ++i) {
            const qsizetype colon = headLines.at(i).indexOf(':');
            if (colon > 0)
                headers.insert(headLines.at(i).left(colon).trimmed().toLower(), headLines.at(i).mid(colon + 1).trimmed());
        }
        const qsizetype length = headers.value("content-length", "0").toLongLong();
        if (buffer.size() < end + 4 + length)
            return;
        const QByteArray requestLine = headLines.first().trimmed();
        const QByteArray body = buffer.mid(end + 4, length);
        buffer.remove(0, end + 4 + length);

        if (requestLine.startsWith("GET /quorvix/api/ocr/token ")) {
            ++m_tokenRequests;
            const QByteArray token = "tok-" + QByteArray::number(m_tokenRequests);
            m_tokens.append(token);
            reply(socket, m_tokensFail ? QJsonObject{{"code", 500}, {"msg", "no token"}}
                                       : QJsonObject{{"code", 200}, {"data", QJsonObject{{"token", QString::fromLatin1(token)}}}});
            return;
        }
        if (!requestLine.startsWith("POST /ocr/handwriting ")) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        Request request;
        request.authorization = headers.value("authorization");
        QByteArray image;
        const QByteArray type = headers.value("content-type");
        const qsizetype at = type.indexOf("boundary=");
        if (type.startsWith("multipart/form-data") && at > 0) {
            const QByteArray boundary = "--" + type.mid(at + 9);
            QList<QByteArray> parts;
            for (qsizetype from = body.indexOf(boundary); from >= 0;) {
                const qsizetype next = body.indexOf(boundary, from + boundary.size());
                if (next < 0)
                    break;
                parts.append(body.mid(from + boundary.size(), next - from - boundary.size()));
                from = next;
            }
            for (const QByteArray &part : parts) {
                const qsizetype split = part.indexOf("\r\n\r\n");
                if (split < 0)
                    continue;
                const QByteArray head = part.left(split);
                QByteArray content = part.mid(split + 4);
                content.chop(2);
                if (head.contains("name=\"appid\""))
                    request.appid = content;
                if (head.contains("name=\"image\"")) {
                    ++request.imageParts;
                    image = content;
                    const qsizetype name = head.indexOf("filename=\"");
                    if (name >= 0)
                        request.fileName = head.mid(name + 10, head.indexOf('"', name + 10) - name - 10);
                }
            }
        }
        request.valid = m_tokens.contains(request.authorization) && !request.appid.isEmpty() && request.imageParts == 1;
        m_requests.append(request);
        const Recognition recognition = m_images.value(image, Recognition{{}, 0, 0});
        QJsonObject answer{{"code", request.valid ? recognition.code : 3}};
        QJsonArray items;
        for (const QString &line : recognition.lines)
            items.append(QJsonObject{{"itemstring", line}});
        if (request.valid && recognition.code == 0)
            answer.insert("data", QJsonObject{{"items", items}});
        QTimer::singleShot(recognition.delayMs, socket, [this, socket, answer] { reply(socket, answer); });
    }

    void reply(QTcpSocket *socket, const QJsonObject &object)
    {
        const QByteArray body = QJsonDocument(object).toJson(QJsonDocument::Compact);
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size())
                      + "\r\n\r\n" + body);
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QHash<QByteArray, Recognition> m_images;
    QList<QByteArray> m_tokens;
    QList<Request> m_requests;
    int m_tokenRequests = 0;
    bool m_tokensFail = false;
};
