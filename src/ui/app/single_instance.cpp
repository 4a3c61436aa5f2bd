#include "ui/app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

namespace tarvellite::ui {

namespace {

// Longest message a start may send; anything longer is not ours.
constexpr qint64 maxMessageBytes = 1 << 20;

} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    const QByteArray key = (config + QLatin1Char('\n') + display).toUtf8();
    const QByteArray hash =
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("tarvellite-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool SingleInstance::handOver(const QStringList &files, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message;
    for (const QString &file : files)
        message += file.toUtf8() + '\n';
    message += '\n';
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The running program answers once it has the files; without an answer it is stuck, and
    // this start goes on as a program of its own.
    while (socket.bytesAvailable() < 3) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readAll().startsWith("OK");
}

bool SingleInstance::listen() {
    const QString name = serverName();
    // Listening replaces a socket of the same name, so first make sure nobody answers there (a
    // socket left behind by a program that ended is taken over).
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(name);
    return server_->listen(name);
}

void SingleInstance::acceptConnection() {
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() > maxMessageBytes) {
                socket->abort();
                return;
            }
            const QByteArray data = socket->peek(maxMessageBytes);
            if (!data.endsWith("\n\n") && data != "\n")
                return; // more to come
            socket->readAll();
            QStringList files;
            for (const QByteArray &line : data.split('\n'))
                if (!line.isEmpty())
                    files << QString::fromUtf8(line);
            socket->write("OK\n");
            socket->flush();
            emit filesReceived(files);
        });
    }
}

QStringList commandLineFiles(const QStringList &arguments) {
    QStringList files;
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (options && arg == QLatin1String("--")) {
            options = false;
            continue;
        }
        if (options && arg.startsWith(QLatin1Char('-')) && arg.size() > 1)
            continue;
        files << QFileInfo(arg).absoluteFilePath();
    }
    return files;
}

} // namespace tarvellite::ui
