#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <memory>
#include <thread>

#include "core/book_file.h"
#include "core/book_files.h"
#include "platform/qt/qt_dav_client.h"
#include "tests/qt/terminated_process.h"
#include "tests/support/fake_secret_store.h"
#include "ui/address_books.h"

using kw::platform::DavFault;
using kw::platform::DavLimits;
using kw::platform::DavReply;
using kw::platform::DavRequest;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(DavFault)
Q_DECLARE_METATYPE(DavLimits)

namespace {

const QString kPeers = QStringLiteral(KW_CARDDAV_PEERS "/");
const char kPropfind[] = R"(<propfind xmlns="DAV:"><prop><getetag/></prop></propfind>)";
const char kMultiget[] =
    R"(<C:addressbook-multiget xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:carddav">)"
    R"(<prop><C:address-data/></prop><href>/anna/kontakte/anna.vcf</href>)"
    R"(</C:addressbook-multiget>)";

quint16 FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

using Peer = TerminatedProcess;

// A script of tests/carddav, once it says it listens.
Peer Start(const QString& script, const QStringList& arguments) {
    Peer peer(new QProcess);
    peer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    peer->start(kPeers + script, arguments);
    const bool said = QTest::qWaitFor(
        [&] { return peer->canReadLine() || peer->state() == QProcess::NotRunning; }, 20000);
    return said && peer->readLine().startsWith("bereit") ? std::move(peer) : nullptr;
}

// As the sync does it: from a thread Qt did not start.
DavReply SendFromThread(kw::platform::DavClient& client, const DavRequest& request,
                        const DavLimits& limits = {}) {
    DavReply reply;
    std::thread([&] { reply = client.send(request, limits); }).join();
    return reply;
}

}  // namespace

class QtDavClientTest : public QObject {
    Q_OBJECT

    QTemporaryDir directory_;

    QString file(const QString& name) const { return directory_.filePath(name); }

  private slots:
    void initTestCase() {
        QVERIFY(directory_.isValid());
        QCOMPARE(QProcess::execute(kPeers + "make_certificates.sh", {directory_.path()}), 0);
        QFile card(file("anna.vcf"));
        QVERIFY(card.open(QIODevice::WriteOnly));
        card.write(
            "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:anna\r\nFN:Anna Beispiel\r\n"
            "TEL;TYPE=CELL:+49 170 1234567\r\nEND:VCARD\r\n");
    }

    void cleanup() { qunsetenv("SSL_CERT_FILE"); }

    void readsRadicale_data() {
        QTest::addColumn<QString>("certificate");  // none: HTTP
        QTest::addColumn<bool>("caTrusted");
        QTest::addColumn<DavFault>("fault");
        QTest::newRow("http") << QString() << false << DavFault::None;
        QTest::newRow("https, test CA trusted") << "server" << true << DavFault::None;
        QTest::newRow("https, test CA unknown") << "server" << false << DavFault::Certificate;
        QTest::newRow("https, self-signed") << "self" << true << DavFault::Certificate;
    }

    void readsRadicale() {
        QFETCH(QString, certificate);
        QFETCH(bool, caTrusted);
        QFETCH(DavFault, fault);
        if (caTrusted) {
            qputenv("SSL_CERT_FILE", file("ca.pem").toUtf8());
        }
        const quint16 port = FreePort();
        QStringList arguments{QString::number(port), file("radicale"), "anna", "geheim",
                              "kontakte"};
        if (!certificate.isEmpty()) {
            arguments << "--tls" << file(certificate + ".pem") << file(certificate + ".key");
        }
        const Peer server = Start("radicale_server.sh", arguments << file("anna.vcf"));
        QVERIFY(server);
        const QString book = QStringLiteral("%1://127.0.0.1:%2/anna/kontakte/")
                                 .arg(certificate.isEmpty() ? "http" : "https")
                                 .arg(port);
        kw::qt::QtDavClient client;
        DavRequest request{"PROPFIND", book.toStdString(), "1", kPropfind, "anna", "geheim"};
        DavReply reply = SendFromThread(client, request);
        QCOMPARE(reply.fault, fault);
        if (fault != DavFault::None) {
            QVERIFY(!reply.detail.empty());
            return;
        }
        QCOMPARE(reply.status, 207);
        QVERIFY(reply.body.find("/anna/kontakte/anna.vcf</") != std::string::npos);

        reply = SendFromThread(client, {"REPORT", request.url, "0", kMultiget, "anna", "geheim"});
        QCOMPARE(reply.status, 207);
        QVERIFY(reply.body.find("TEL;TYPE=CELL:+49 170 1234567") != std::string::npos);

        request.password = "falsch";
        reply = SendFromThread(client, request);
        QCOMPARE(reply.fault, DavFault::None);
        QCOMPARE(reply.status, 401);
    }

    void boundsHostileServers_data() {
        QTest::addColumn<QStringList>("arguments");  // "-" for no server at all
        QTest::addColumn<DavLimits>("limits");
        QTest::addColumn<DavFault>("fault");
        QTest::addColumn<QString>("expected");  // in the body or the detail
        const DavLimits quick{1u << 20, 1s, 30s};
        // What the misbehaving server's own multistatus says reached it.
        const QString reached =
            "<!-- PROPFIND depth=1 body=" + QString::number(sizeof kPropfind - 1) + " -->";
        QTest::newRow("byte by byte past the deadline")
            << QStringList{"trickle", "--interval", "0.1"} << DavLimits{1u << 20, 1s, 1500ms}
            << DavFault::TooSlow << QString();
        QTest::newRow("slow but steady")
            << QStringList{"slow", "--interval", "0.01"} << DavLimits{1u << 20, 300ms, 30s}
            << DavFault::None << reached;
        QTest::newRow("silent") << QStringList{"silent"} << DavLimits{1u << 20, 300ms, 30s}
                                << DavFault::TooSlow << QString();
        QTest::newRow("100 MB announced")
            << QStringList{"huge"} << quick << DavFault::TooLarge << QString();
        QTest::newRow("endless body")
            << QStringList{"huge-unannounced"} << quick << DavFault::TooLarge << QString();
        QTest::newRow("closed at once")
            << QStringList{"close"} << quick << DavFault::Unreachable << QString();
        QTest::newRow("no HTTP") << QStringList{"garbage"} << quick << DavFault::Unreachable
                                 << QString();
        QTest::newRow("nobody listening")
            << QStringList{"-"} << quick << DavFault::Unreachable << QString();
        QTest::newRow("redirect to another port")
            << QStringList{"redirect", "--location", "http://127.0.0.1:1/b/"} << quick
            << DavFault::OtherHost << "http://127.0.0.1:1/b/";
        QTest::newRow("redirect to another name of the same address")
            << QStringList{"redirect", "--location", "http://localhost:PORT/b/"} << quick
            << DavFault::OtherHost << "http://localhost:PORT/b/";
        QTest::newRow("redirect to HTTPS")
            << QStringList{"redirect", "--location", "https://127.0.0.1:PORT/"} << quick
            << DavFault::OtherHost << "https://127.0.0.1:PORT/";
        QTest::newRow("redirect on the same server, followed")
            << QStringList{"redirect-same"} << quick << DavFault::None << reached;
        QTest::newRow("endless redirects")
            << QStringList{"redirect-loop"} << quick << DavFault::Other << "Too many redirects";
    }

    void boundsHostileServers() {
        QFETCH(QStringList, arguments);
        QFETCH(DavLimits, limits);
        QFETCH(DavFault, fault);
        QFETCH(QString, expected);
        const QString port = QString::number(FreePort());
        arguments.replaceInStrings("PORT", port);
        expected.replace("PORT", port);
        Peer server;
        if (arguments.first() != "-") {
            server = Start("hostile_server.py", arguments << "--port" << port);
            QVERIFY(server);
        }
        kw::qt::QtDavClient client;
        const DavReply reply = SendFromThread(
            client, {"PROPFIND", "http://127.0.0.1:" + port.toStdString() + "/a/", "1", kPropfind},
            limits);
        QCOMPARE(reply.fault, fault);
        if (fault == DavFault::None) {
            QCOMPARE(reply.status, 207);
            QVERIFY2(reply.body.find(expected.toStdString()) != std::string::npos,
                     reply.body.c_str());
        } else if (!expected.isEmpty()) {
            QCOMPARE(QString::fromStdString(reply.detail), expected);
        }
    }

    // Ending the program must not wait for a server that keeps quiet.
    void cancelsFromAnotherThread() {
        const quint16 port = FreePort();
        const Peer server = Start("hostile_server.py", {"silent", "--port", QString::number(port)});
        QVERIFY(server);
        kw::qt::QtDavClient client;
        const DavRequest request{"PROPFIND", "http://127.0.0.1:" + std::to_string(port) + "/"};
        DavReply reply;
        std::thread sync([&] { reply = client.send(request, DavLimits{1024, 60s, 60s}); });
        std::this_thread::sleep_for(300ms);
        client.cancel();
        sync.join();
        QCOMPARE(reply.fault, DavFault::Cancelled);
        QCOMPARE(SendFromThread(client, request).fault, DavFault::Cancelled);
    }

    // The whole way from the settings to a name, and the copy that outlives the server.
    void aServersBookNamesCallersAlsoWhenTheServerIsGone() {
        const quint16 port = FreePort();
        Peer server = Start("radicale_server.sh", {QString::number(port), file("book"), "anna",
                                                   "geheim", "kontakte", file("anna.vcf")});
        QVERIFY(server);
        kw::test::FakeSecretStore secrets;
        const kw::PhoneBookOptions options{
            .CardDAV = "http://127.0.0.1:" + std::to_string(port) + "/anna/kontakte/",
            .CardDAVBenutzer = "anna"};
        secrets.passwords[{options.CardDAV, options.CardDAVBenutzer}] = "geheim";
        std::vector<std::string> problems;
        kw::ui::NameLookup names;
        kw::ui::AddressBooksPlatform platform{
            [](const std::string& path) { return kw::ReadBookFromDisk(path, kw::ReadBookFile); },
            [](const std::vector<kw::BookReading>& readings, const kw::PhoneBookOptions&) {
                return kw::ui::NameLookup([entries = readings.back().entries](std::string_view n) {
                    for (const kw::BookEntry& entry : entries) {
                        if (entry.number == n) {
                            return std::optional(entry.name);
                        }
                    }
                    return std::optional<std::string>();
                });
            },
            [this](std::function<void()> task) {
                QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
            },
            [] { return std::make_unique<kw::qt::QtDavClient>(); },
            file("cache").toStdString(),
            &secrets,
            [&](const std::vector<std::string>& now) { problems = now; },
            [&](const kw::ui::NameLookup& now) { names = now; }};
        kw::ui::AddressBooks books(platform);
        books.load(options);
        const auto named = [&] { return names && names("+49 170 1234567") == "Anna Beispiel"; };
        QTRY_VERIFY_WITH_TIMEOUT(named(), 20000);
        QCOMPARE(books.statusLines(), std::vector<std::string>{"CardDAV: 1 Nummer"});

        server = nullptr;
        books.load(options);
        QTRY_VERIFY_WITH_TIMEOUT(!problems.empty(), 20000);
        QVERIFY2(problems[0].starts_with("Telefonbuch CardDAV: Server nicht erreichbar") &&
                     problems[0].ends_with("; die letzte Kopie bleibt in Gebrauch"),
                 problems[0].c_str());
        QTRY_VERIFY_WITH_TIMEOUT(named(), 5000);
    }
};

QTEST_GUILESS_MAIN(QtDavClientTest)
#include "qt_dav_client_test.moc"
