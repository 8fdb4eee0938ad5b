#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QUdpSocket>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/sip_source.h"
#include "tests/qt/terminated_process.h"

using kw::platform::CallSourceStatus;
using Call = std::pair<std::string, std::string>;
using namespace std::chrono_literals;

namespace {

quint16 FreeUdpPort() {
    QUdpSocket socket;
    socket.bind(QHostAddress::LocalHost, 0);
    return socket.localPort();
}

}  // namespace

// The SIP source against sipp playing the telephone system and its callers on 127.0.0.1.
class SipSourceTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<kw::qt::SipSource> source_;
    std::vector<Call> calls_;
    std::vector<CallSourceStatus> statuses_;
    quint16 localPort_ = 0;
    std::string server_;

    void start(quint16 registrarPort, const std::string& password,
               kw::SipTransport transport = kw::SipTransport::Udp,
               std::chrono::milliseconds retry = 10s, std::string localHost = "127.0.0.1",
               std::string certificate = {}) {
        localPort_ = FreeUdpPort();
        server_ = "127.0.0.1:" + std::to_string(registrarPort);
        // Asks after the registrar each second and gives up on a request after 2 s.
        source_ = std::make_unique<kw::qt::SipSource>(
            kw::SipAccount{server_, "4711", {}, transport, std::move(certificate)}, password,
            kw::qt::SipStackOptions{std::move(localHost), localPort_, retry, retry, 60s, 1s, 2s});
        source_->start([this](std::string_view caller,
                              std::string_view called) { calls_.emplace_back(caller, called); },
                       [this](const CallSourceStatus& status) { statuses_.push_back(status); });
    }

    bool hasStatus(const std::string& text) const {
        return !statuses_.empty() && statuses_.back().text == "SIP 4711@" + server_ + ": " + text;
    }

    // sipp on its own port of 127.0.0.1, bounded in calls and time.
    static std::unique_ptr<QProcess> sipp(QStringList arguments, quint16 port = FreeUdpPort()) {
        arguments << "-i"
                  << "127.0.0.1"
                  << "-p" << QString::number(port) << "-nostdin"
                  << "-timeout"
                  << "15s"
                  << "-timeout_error";
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->start("sipp", arguments);
        process->waitForStarted();
        // Lets it bind before the first packet comes.
        QTest::qWait(200);
        return process;
    }

    // Its exit code, -1 when it did not end in time.
    static int finished(QProcess& process, int timeoutMs = 20000) {
        if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, timeoutMs)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QStringList dial(const QString& scenario, QTemporaryFile& fields, int calls = 1) const {
        return {"-sf",
                QStringLiteral(KW_SIP_SCENARIOS "/") + scenario,
                "127.0.0.1:" + QString::number(localPort_),
                "-inf",
                fields.fileName(),
                "-m",
                QString::number(calls)};
    }

    static bool writeFields(QTemporaryFile& file, const QByteArray& rows) {
        return file.open() && file.write("SEQUENTIAL\n" + rows) > 0 && file.flush();
    }

    // Its main process takes the workers along only when it may end itself.
    using Registrar = TerminatedProcess;

    // Kamailio as the registrar, its bindings in memory only.
    static Registrar kamailio(const QTemporaryDir& directory, quint16 port,
                              const QString& certificate = {}) {
        Registrar process(new QProcess);
        process->setStandardOutputFile(directory.filePath("kamailio.log"), QIODevice::Append);
        process->setStandardErrorFile(directory.filePath("kamailio.log"), QIODevice::Append);
        QStringList arguments{"-f",  KW_SIP_SCENARIOS "/kamailio.cfg",
                              "-DD", "-E",
                              "-m",  "32",
                              "-M",  "4",
                              "-w",  directory.path(),
                              "-Y",  directory.path(),
                              "-l",  "udp:127.0.0.1:" + QString::number(port)};
        if (!certificate.isEmpty()) {
            arguments << "-l"
                      << "tls:127.0.0.1:" + QString::number(port) << "-A"
                      << "TLS_CERT=\"" + certificate + "\""
                      << "-A"
                      << "TLS_KEY=\"" + directory.filePath("key.pem") + "\"";
        }
        process->start("/usr/sbin/kamailio", arguments);
        process->waitForStarted();
        QTest::qWait(1000);
        return process;
    }

    // A call through the registrar reaches the source.
    bool callsThrough(quint16 registrarPort) {
        QTemporaryFile fields;
        const std::size_t before = calls_.size();
        return writeFields(fields, "<sip:0301234567@pbx.test>;X-Leer: 1\n") &&
               finished(*sipp({"-sf", KW_SIP_SCENARIOS "/ring_cancel.xml",
                               "127.0.0.1:" + QString::number(registrarPort), "-inf",
                               fields.fileName(), "-m", "1"})) == 0 &&
               QTest::qWaitFor([&] { return calls_.size() == before + 1; });
    }

  private slots:
    void init() {
        calls_.clear();
        statuses_.clear();
        if (QStandardPaths::findExecutable("sipp").isEmpty()) {
            QSKIP("sipp (sip-tester) fehlt");
        }
    }

    void cleanup() { source_.reset(); }

    void registersThroughTheChallengeAndRefreshes_data() {
        QTest::addColumn<bool>("tcp");
        QTest::newRow("UDP") << false;
        QTest::newRow("TCP") << true;
    }

    void registersThroughTheChallengeAndRefreshes() {
        QFETCH(bool, tcp);
        const quint16 port = FreeUdpPort();
        const auto registrar = sipp(
            {"-sf", KW_SIP_SCENARIOS "/registrar.xml", "-m", "1", "-t", tcp ? "t1" : "u1"}, port);
        start(port, "geheim", tcp ? kw::SipTransport::Tcp : kw::SipTransport::Udp);
        QTRY_VERIFY(hasStatus("angemeldet"));
        QVERIFY(statuses_.back().receiving);
        QCOMPARE(finished(*registrar), 0);
    }

    void wrongPasswordIsRejectedOnce() {
        const quint16 port = FreeUdpPort();
        const auto registrar = sipp({"-sf", KW_SIP_SCENARIOS "/registrar.xml", "-m", "1"}, port);
        start(port, "falsch");
        QTRY_VERIFY(hasStatus("Anmeldung abgelehnt (403)"));
        QVERIFY(!statuses_.back().receiving);
        // The scenario ends after the 403; a second attempt would have found no registrar.
        QCOMPARE(finished(*registrar), 0);
    }

    void unreachableRegistrarIsTriedAgain() {
        const quint16 port = FreeUdpPort();
        start(port, "geheim", kw::SipTransport::Udp, 300ms);
        QTRY_VERIFY(hasStatus("nicht erreichbar, neuer Versuch in 1 s"));
        const auto registrar = sipp({"-sf", KW_SIP_SCENARIOS "/registrar.xml", "-m", "1"}, port);
        QTRY_VERIFY_WITH_TIMEOUT(hasStatus("angemeldet"), 10000);
        QCOMPARE(finished(*registrar), 0);
    }

    void ringsThenFollowsCancel_data() {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QByteArray>("caller");
        QTest::newRow("plain") << QByteArray("\"Erika\" <sip:0301234567@pbx.test>")
                               << QByteArray("X-Leer: 1") << QByteArray("0301234567");
        QTest::newRow("markup in the display name")
            << QByteArray("\"<b>0800</b> & Co\" <sip:%2B49301234@pbx.test>")
            << QByteArray("X-Leer: 1") << QByteArray("+49301234");
        QTest::newRow("escaped quote, line break escaped in the user")
            << QByteArray("\"Zeile\\\" <i>2</i>\" <sip:030%0D%0A1@pbx.test>")
            << QByteArray("X-Leer: 1") << QByteArray("030\r\n1");
        QTest::newRow("asserted identity wins")
            << QByteArray("\"0309999\" <sip:999@pbx.test>")
            << QByteArray("P-Asserted-Identity: \"Zentrale\" <sip:0307777@pbx.test>")
            << QByteArray("0307777");
        QTest::newRow("asserted tel URI")
            << QByteArray("<sip:999@pbx.test>")
            << QByteArray("P-Asserted-Identity: <tel:+49301234>") << QByteArray("+49301234");
        QTest::newRow("anonymous") << QByteArray("\"Anonymous\" <sip:anonymous@anonymous.invalid>")
                                   << QByteArray("X-Leer: 1") << QByteArray();
        QTest::newRow("privacy requested")
            << QByteArray("<sip:0301234567@pbx.test>") << QByteArray("Privacy: id") << QByteArray();
        QTest::newRow("NUL and broken UTF-8")
            << QByteArray("<sip:12%0034%FF@pbx.test>") << QByteArray("X-Leer: 1")
            << QByteArray(
                   "12\0"
                   "34\xFF",
                   6);
    }

    void ringsThenFollowsCancel() {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, header);
        QFETCH(QByteArray, caller);
        start(FreeUdpPort(), "geheim");
        QTemporaryFile fields;
        QVERIFY(writeFields(fields, from + ";" + header + "\n"));
        // sipp fails unless 180 comes, then 200 to the CANCEL and 487 to the INVITE.
        QCOMPARE(finished(*sipp(dial("ring_cancel.xml", fields))), 0);
        QCOMPARE(calls_, (std::vector<Call>{{caller.toStdString(), "4711"}}));
    }

    // A telephone system stops the ringing with a reason when another device took the call; a
    // caller who gives up sends none. Each call ends exactly once.
    void reportsWhatBecameOfEachCall() {
        std::vector<std::string> reports;
        localPort_ = FreeUdpPort();
        server_ = "127.0.0.1:" + std::to_string(FreeUdpPort());
        source_ = std::make_unique<kw::qt::SipSource>(
            kw::SipAccount{server_, "4711", {}, kw::SipTransport::Udp, {}}, "geheim",
            kw::qt::SipStackOptions{"127.0.0.1", localPort_, 10s, 10s, 60s, 1s, 2s});
        source_->reportTo([&](const kw::platform::CallReport& report) {
            static constexpr const char* kStages[] = {"klingelt", "angenommen", "beendet",
                                                      "vergessen"};
            reports.push_back(std::string(kStages[static_cast<int>(report.stage)]) +
                              (report.callId.empty() ? " ohne Kennung" : ""));
        });
        source_->start([this](std::string_view caller,
                              std::string_view called) { calls_.emplace_back(caller, called); },
                       [](const CallSourceStatus&) {});
        QTemporaryFile fields;
        QVERIFY(writeFields(fields, "<sip:0301234567@pbx.test>;X-Leer: 1\n"));
        QCOMPARE(finished(*sipp(dial("ring_cancel.xml", fields))), 0);
        QCOMPARE(finished(*sipp(dial("ring_cancel_elsewhere.xml", fields))), 0);
        QVERIFY(QTest::qWaitFor([&] { return reports.size() >= 5; }));
        QTest::qWait(300);
        QCOMPARE(reports, (std::vector<std::string>{"klingelt", "beendet", "klingelt", "angenommen",
                                                    "beendet"}));
        // With reports, rings come through them alone.
        QVERIFY(calls_.empty());
    }

    // Also run on a network with loopback alone, where the listening address has to be the one
    // that routes to the registrar.
    void callsComeThroughARealRegistrarAfterItsOutage() {
        if (!QFile::exists("/usr/sbin/kamailio")) {
            QSKIP("kamailio fehlt");
        }
        const QTemporaryDir directory;
        const quint16 port = FreeUdpPort();
        auto registrar = kamailio(directory, port);
        start(port, "geheim", kw::SipTransport::Udp, 10s, "*");
        QTRY_VERIFY(hasStatus("angemeldet"));
        QVERIFY(callsThrough(port));
        registrar.reset();
        QTRY_VERIFY_WITH_TIMEOUT(hasStatus("Telefonanlage antwortet nicht"), 10000);
        // Back without the binding: the source has to register again, not wait for its refresh.
        registrar = kamailio(directory, port);
        QTRY_VERIFY_WITH_TIMEOUT(hasStatus("angemeldet"), 10000);
        QVERIFY(callsThrough(port));
    }

    void leavingADeafRegistrarNeitherBlocksNorHoldsThePort() {
        const quint16 port = FreeUdpPort();
        const auto registrar = sipp({"-sf", KW_SIP_SCENARIOS "/registrar.xml", "-m", "1"}, port);
        start(port, "geheim");
        QTRY_VERIFY(hasStatus("angemeldet"));
        QCOMPARE(finished(*registrar), 0);
        QUdpSocket deaf;
        QVERIFY(deaf.bind(QHostAddress::LocalHost, port));
        QElapsedTimer waited;
        waited.start();
        source_.reset();
        // The source waits 80 ms at most; the rest is room for a busy machine.
        QVERIFY2(waited.elapsed() < 300, QByteArray::number(waited.elapsed()));
        QTRY_VERIFY_WITH_TIMEOUT(QUdpSocket().bind(QHostAddress::LocalHost, localPort_), 8000);
    }

    void tlsSendsNothingToAnUntrustedCertificate_data() {
        QTest::addColumn<bool>("byAuthority");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("trusted");
        QTest::addColumn<QString>("status");
        const QString untrusted = "Zertifikat nicht vertrauenswürdig";
        const QString any = "DNS:falsch.example";
        QTest::newRow("self-signed") << false << any << "" << untrusted;
        QTest::newRow("the one trusted") << false << any << "shown"
                                         << "";
        QTest::newRow("trusted in lower case") << false << any << "shown lower"
                                               << "";
        QTest::newRow("another one trusted")
            << false << any
            << "00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF:00:11:22:33:44:55:"
               "66:77:88:99:AA:BB:CC:DD:EE:FF"
            << "Zertifikat geändert, nicht vertrauenswürdig";
        QTest::newRow("by an authority, for the address") << true << "IP:127.0.0.1"
                                                          << ""
                                                          << "";
        QTest::newRow("by an authority, for another name") << true << any << "" << untrusted;
    }

    void tlsSendsNothingToAnUntrustedCertificate() {
        QFETCH(bool, byAuthority);
        QFETCH(QString, name);
        QFETCH(QString, trusted);
        QFETCH(QString, status);
        const QTemporaryDir directory;
        const auto file = [&](const char* leaf) { return directory.filePath(leaf); };
        const auto openssl = [](const QStringList& arguments) {
            QProcess process;
            process.start("openssl", arguments);
            return process.waitForFinished() && process.exitCode() == 0
                       ? QString(process.readAllStandardOutput())
                       : QString("FEHLER");
        };
        QFile extension(file("san.cnf"));
        QVERIFY(extension.open(QIODevice::WriteOnly) &&
                extension.write("subjectAltName=" + name.toUtf8() + "\n") > 0);
        extension.close();
        const QStringList key{"-newkey", "rsa:2048", "-nodes", "-days", "2"};
        QVERIFY(openssl(QStringList{"req", "-x509", "-keyout", file("ca.key"), "-out",
                                    file("ca.pem"), "-subj", "/CN=Test-CA"} +
                        key) != "FEHLER");
        QVERIFY(openssl(QStringList{"req", "-keyout", file("key.pem"), "-out", file("cert.csr"),
                                    "-subj", "/CN=falsch.example"} +
                        key) != "FEHLER");
        QStringList sign{"x509",           "-req",  "-in", file("cert.csr"), "-out",
                         file("cert.pem"), "-days", "2",   "-extfile",       file("san.cnf")};
        sign << (byAuthority ? QStringList{"-CA", file("ca.pem"), "-CAkey", file("ca.key")}
                             : QStringList{"-key", file("key.pem")});
        QVERIFY(openssl(sign) != "FEHLER");
        const QString shown =
            openssl({"x509", "-noout", "-fingerprint", "-sha256", "-in", file("cert.pem")})
                .section('=', 1)
                .trimmed();
        // The test's authority stands in for the system's.
        qputenv("SSL_CERT_FILE", file("ca.pem").toUtf8());
        const quint16 port = FreeUdpPort();
        const auto registrar = kamailio(directory, port, file("cert.pem"));
        trusted.replace("shown lower", shown.toLower()).replace("shown", shown);
        start(port, "geheim", kw::SipTransport::Tls, 10s, "127.0.0.1", trusted.toStdString());
        if (status.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(hasStatus("angemeldet"), 10000);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(hasStatus((status + " (SHA-256 " + shown + ")").toStdString()),
                                     10000);
            QTest::qWait(1000);
            QVERIFY(std::ranges::none_of(statuses_, &CallSourceStatus::receiving));
        }
        source_.reset();
        qunsetenv("SSL_CERT_FILE");
    }

    void localPortTakenIsReported() {
        QUdpSocket taken;
        QVERIFY(taken.bind(QHostAddress::LocalHost, 0));
        source_ = std::make_unique<kw::qt::SipSource>(
            kw::SipAccount{"127.0.0.1:9", "4711", {}, kw::SipTransport::Udp}, "geheim",
            kw::qt::SipStackOptions{"127.0.0.1", taken.localPort()});
        source_->start([](std::string_view, std::string_view) {},
                       [this](const CallSourceStatus& status) { statuses_.push_back(status); });
        QTRY_COMPARE(statuses_.back(),
                     (CallSourceStatus{false, "SIP 4711@127.0.0.1:9: kein SIP-Port frei"}));
    }

    void leavingWhileACallRingsSays480() {
        start(FreeUdpPort(), "geheim");
        QTemporaryFile fields;
        QVERIFY(writeFields(fields, "<sip:0301234567@pbx.test>;X-Leer: 1\n"));
        const auto caller = sipp(dial("ring_until_gone.xml", fields));
        QTRY_COMPARE(calls_.size(), std::size_t{1});
        source_.reset();
        QCOMPARE(finished(*caller), 0);
    }

    void hostileRequestsAndAFloodLeaveTheNextCallShowing() {
        start(FreeUdpPort(), "geheim");
        QTemporaryFile fields;
        QVERIFY(writeFields(fields, "<sip:666@pbx.test>;X-Leer: 1\n"));
        const auto hostile = sipp({"-sf", KW_SIP_SCENARIOS "/hostile.xml",
                                   "127.0.0.1:" + QString::number(localPort_), "-m", "1", "-key",
                                   "filler", QString(60000, 'X')});
        finished(*hostile);
        // 1,000 INVITEs a second for 5 s; under load some of sipp's own calls may fail.
        finished(*sipp(dial("ring_cancel.xml", fields, 5000) << "-r"
                                                             << "1000"),
                 60000);
        QTemporaryFile genuine;
        QVERIFY(writeFields(genuine, "<sip:0301234567@pbx.test>;X-Leer: 1\n"));
        QCOMPARE(finished(*sipp(dial("ring_cancel.xml", genuine))), 0);
        QTRY_COMPARE(calls_.back(), (Call{"0301234567", "4711"}));
    }
};

QTEST_GUILESS_MAIN(SipSourceTest)
#include "sip_source_test.moc"
