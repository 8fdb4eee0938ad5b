#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/call_monitor_source.h"

using kw::platform::CallSourceStatus;
using Call = std::pair<std::string, std::string>;
using namespace std::chrono_literals;

class CallMonitorSourceTest : public QObject {
    Q_OBJECT

  private:
    QTcpServer router_;
    std::unique_ptr<kw::qt::CallMonitorSource> source_;
    std::vector<Call> calls_;
    std::vector<CallSourceStatus> statuses_;
    std::string host_;

    std::string address() const { return "Anrufmonitor " + host_ + ":" + std::to_string(port()); }
    quint16 port() const { return router_.serverPort(); }

    void start(const std::string& host = "127.0.0.1") {
        host_ = host;
        source_ = std::make_unique<kw::qt::CallMonitorSource>(
            host, port(), kw::CallMonitorTiming{10ms, 40ms, 5s});
        source_->start([this](std::string_view caller,
                              std::string_view called) { calls_.emplace_back(caller, called); },
                       [this](const CallSourceStatus& status) { statuses_.push_back(status); });
    }

    // The router's side of the next connection, once the source knows it is connected.
    QTcpSocket* accept() {
        if (!QTest::qWaitFor([this] { return router_.hasPendingConnections(); }, 5000)) {
            return nullptr;
        }
        QTcpSocket* connection = router_.nextPendingConnection();
        connection->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        const CallSourceStatus connected{true, address() + ": verbunden"};
        if (!QTest::qWaitFor([&] { return statuses_.back() == connected; }, 5000)) {
            return nullptr;
        }
        return connection;
    }

  private slots:
    void init() {
        calls_.clear();
        statuses_.clear();
        QVERIFY(router_.listen(QHostAddress::LocalHost));
    }

    void cleanup() {
        source_.reset();
        router_.close();
    }

    void lineSplitByteByByte() {
        start();
        QTcpSocket* connection = accept();
        QVERIFY(connection);
        for (const char byte : std::string("07.12.26 14:05:01;RING;0;0301234567;4711;SIP0;\r\n")) {
            connection->write(&byte, 1);
            connection->flush();
            QCoreApplication::processEvents();
        }
        QTRY_COMPARE(calls_, (std::vector<Call>{{"0301234567", "4711"}}));
    }

    void burstEndsInTheCallThatShows() {
        start();
        QTcpSocket* connection = accept();
        QVERIFY(connection);
        QByteArray burst;
        for (int i = 0; i < 9999; ++i) {
            burst += "07.12.26 14:05:01;RING;0;" + QByteArray::number(i) + ";4711;SIP0;\n";
        }
        burst += "07.12.26 14:05:02;RING;0;;4712;SIP1;\r\n";
        connection->write(burst);
        QTRY_COMPARE_WITH_TIMEOUT(calls_.size(), std::size_t{10000}, 10000);
        QCOMPARE(calls_.back(), (Call{"", "4712"}));
    }

    void overLongLineThenAGoodOne() {
        start();
        QTcpSocket* connection = accept();
        QVERIFY(connection);
        connection->write(QByteArray(5000, ';') + "RING;0;1;2;\r\n" +
                          "d;CONNECT;0;10;030;\nd;RING;0;030;4711;\n");
        QTRY_COMPARE(calls_, (std::vector<Call>{{"030", "4711"}}));
    }

    // With a report handler every line about a call goes there, named by the router's id; a
    // CALL on a ringing id says that id now belongs to an outgoing call.
    void reportsWhatBecameOfEachCall() {
        std::vector<std::string> reports;
        source_ = std::make_unique<kw::qt::CallMonitorSource>(
            "127.0.0.1", port(), kw::CallMonitorTiming{10ms, 40ms, 5s});
        source_->reportTo([&](const kw::platform::CallReport& r) {
            static constexpr const char* kStages[] = {"klingelt", "angenommen", "beendet",
                                                      "vergessen"};
            reports.push_back(std::string(kStages[static_cast<int>(r.stage)]) + " " +
                              std::string(r.callId) + " " + std::string(r.caller));
        });
        host_ = "127.0.0.1";
        source_->start([this](std::string_view caller,
                              std::string_view called) { calls_.emplace_back(caller, called); },
                       [this](const CallSourceStatus& status) { statuses_.push_back(status); });
        QTcpSocket* connection = accept();
        QVERIFY(connection);
        connection->write(
            "d;RING;0;030;4711;SIP0;\nd;CONNECT;0;10;030;\nd;DISCONNECT;0;42;\n"
            "d;RING;1;040;4711;SIP0;\nd;CALL;1;10;4711;050;SIP0;\n");
        QTRY_COMPARE(reports.size(), std::size_t{5});
        QCOMPARE(reports, (std::vector<std::string>{"klingelt 0 030", "angenommen 0 ", "beendet 0 ",
                                                    "klingelt 1 040", "vergessen 1 "}));
        QVERIFY(calls_.empty());
    }

    void droppedConnectionIsRetriedWithoutItsPartialLine() {
        start();
        QTcpSocket* first = accept();
        QVERIFY(first);
        first->write("d;RING;0;111");
        first->flush();
        first->disconnectFromHost();
        QTRY_VERIFY(std::find(statuses_.begin(), statuses_.end(),
                              CallSourceStatus{false, address() + ": Verbindung getrennt, neuer "
                                                                  "Versuch in 1 s"}) !=
                    statuses_.end());
        QTcpSocket* second = accept();
        QVERIFY(second);
        second->write(";4711;\nd;RING;0;222;4711;\n");
        QTRY_COMPARE(calls_, (std::vector<Call>{{"222", "4711"}}));
    }

    void refusedPortIsReportedAndRetried() {
        router_.close();
        start();
        QCOMPARE(statuses_.front(),
                 (CallSourceStatus{false, address() + ": Verbindung wird aufgebaut"}));
        const CallSourceStatus refused{
            false, address() + ": nicht erreichbar (Verbindung abgelehnt), neuer Versuch in 1 s"};
        QTRY_VERIFY(std::count(statuses_.begin(), statuses_.end(), refused) >= 3);
        QVERIFY(std::none_of(statuses_.begin(), statuses_.end(),
                             [](const CallSourceStatus& status) { return status.receiving; }));
    }

    void silentRouterKeepsTheConnection() {
        start("localhost");
        QTcpSocket* connection = accept();
        QVERIFY(connection);
        const std::size_t reported = statuses_.size();
        QTest::qWait(300);
        QCOMPARE(statuses_.size(), reported);
        QVERIFY(!router_.hasPendingConnections());
        QVERIFY(calls_.empty());
        source_.reset();
        QCOMPARE(statuses_.size(), reported);
    }

    void destroyedWhileConnectingStaysQuiet() {
        start("localhost");
        source_.reset();
        const std::size_t reported = statuses_.size();
        QTest::qWait(100);
        QCOMPARE(statuses_.size(), reported);
    }
};

QTEST_GUILESS_MAIN(CallMonitorSourceTest)
#include "call_monitor_source_test.moc"
