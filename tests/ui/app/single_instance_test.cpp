// A second start hands its files to the running program: the message, the answer, names kept
// apart by settings folder, and a socket left behind by a program that ended.

#include "ui/app/single_instance.h"

#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <future>

using namespace tarvellite::ui;

class SingleInstanceTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        config_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_->path()));
    }

    void filesReachTheRunningProgram() {
        SingleInstance running;
        QVERIFY(running.listen());
        QSignalSpy received(&running, &SingleInstance::filesReceived);
        const QStringList files{QStringLiteral("/home/u/நாள்.tvl"), QStringLiteral("/tmp/a b.rtf")};
        // The later start blocks on its socket, so it runs beside the event loop here.
        auto taken =
            std::async(std::launch::async, [&] { return SingleInstance::handOver(files); });
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received.first().first().toStringList(), files);
        QVERIFY(taken.get());
        // No files: the running program is asked to come to the front.
        auto raised = std::async(std::launch::async, [] { return SingleInstance::handOver({}); });
        QTRY_COMPARE(received.count(), 2);
        QVERIFY(received.last().first().toStringList().isEmpty());
        QVERIFY(raised.get());
    }

    void nobodyRunningMeansStartingAlone() {
        QVERIFY(!SingleInstance::handOver({QStringLiteral("/tmp/x.txt")}, 200));
        SingleInstance first;
        QVERIFY(first.listen());
        SingleInstance second;
        QVERIFY(!second.listen());
    }

    void otherSettingsFoldersDoNotMeet() {
        SingleInstance running;
        QVERIFY(running.listen());
        const QString name = SingleInstance::serverName();
        QTemporaryDir other;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(other.path()));
        QVERIFY(SingleInstance::serverName() != name);
        QVERIFY(!SingleInstance::handOver({QStringLiteral("/tmp/x.txt")}, 200));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_->path()));
    }

    void commandLineFilesAreAbsoluteAndWithoutOptions() {
        const QString here = QDir::currentPath();
        QCOMPARE(commandLineFiles({"tarvellite", "-x", "a.tvl", "--", "-b.txt", "/abs/c.rtf"}),
                 (QStringList{here + "/a.tvl", here + "/-b.txt", "/abs/c.rtf"}));
        QVERIFY(commandLineFiles({"tarvellite"}).isEmpty());
    }

  private:
    std::unique_ptr<QTemporaryDir> config_;
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
