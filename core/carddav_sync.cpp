#include "core/carddav_sync.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "core/caller_line_display.h"
#include "core/crc32.h"

namespace kw {

namespace {

// What a server may put into a reason: enough to recognise it, nothing that could pose as ours.
constexpr std::size_t kDetailChars = 120;

// A book with no cards still needs a cache that reads as one.
constexpr std::string_view kEmptyMultistatus =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<d:multistatus xmlns:d=\"DAV:\"/>\n";

std::string EscapedXml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

platform::DavRequest RequestFor(const CardDavBook& book, std::string method, std::string body) {
    return platform::DavRequest{std::move(method), book.url,  "1",
                                std::move(body),   book.user, book.password};
}

std::string WithDetail(std::string reason, std::string_view detail) {
    if (!detail.empty()) {
        reason += " (" + InertText(detail, kDetailChars) + ")";
    }
    return reason;
}

std::string FaultReason(const platform::DavReply& reply) {
    using platform::DavFault;
    switch (reply.fault) {
        case DavFault::None:
            break;
        case DavFault::Unreachable:
            return WithDetail("Server nicht erreichbar", reply.detail);
        case DavFault::Certificate:
            return WithDetail("Zertifikat des Servers nicht vertrauenswürdig", reply.detail);
        case DavFault::TooLarge:
            return "Antwort des Servers zu groß";
        case DavFault::TooSlow:
            return "Server antwortet zu langsam";
        case DavFault::OtherHost:
            return WithDetail("Umleitung auf einen anderen Server abgelehnt", reply.detail);
        case DavFault::Cancelled:
            return "Abgleich abgebrochen";
        case DavFault::Other:
            return WithDetail("Abgleich fehlgeschlagen", reply.detail);
    }
    return {};
}

}  // namespace

platform::DavRequest CardDavListRequest(const CardDavBook& book) {
    return RequestFor(book, "PROPFIND",
                      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/></d:prop></d:propfind>\n");
}

platform::DavRequest CardDavCardsRequest(const CardDavBook& book,
                                         const std::vector<CardDavResource>& cards) {
    std::string body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<c:addressbook-multiget xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\">"
        "<d:prop><d:getetag/><c:address-data/></d:prop>\n";
    for (const CardDavResource& card : cards) {
        body += "<d:href>" + EscapedXml(card.href) + "</d:href>\n";
    }
    body += "</c:addressbook-multiget>\n";
    return RequestFor(book, "REPORT", std::move(body));
}

std::vector<CardDavResource> CardsOf(const CardDavListing& listing) {
    std::vector<CardDavResource> cards;
    for (const CardDavResource& resource : listing.resources) {
        if (!resource.href.empty() && !resource.href.ends_with('/')) {
            cards.push_back(resource);
        }
    }
    return cards;
}

bool SameCards(std::vector<CardDavResource> a, std::vector<CardDavResource> b) {
    const auto byHref = [](const CardDavResource& x, const CardDavResource& y) {
        return x.href < y.href;
    };
    const auto noEtag = [](const CardDavResource& card) { return card.etag.empty(); };
    if (std::any_of(a.begin(), a.end(), noEtag) || std::any_of(b.begin(), b.end(), noEtag)) {
        return false;
    }
    std::sort(a.begin(), a.end(), byHref);
    std::sort(b.begin(), b.end(), byHref);
    return a == b;
}

std::optional<std::string> CardDavReplyProblem(const platform::DavReply& reply) {
    if (reply.fault != platform::DavFault::None) {
        return FaultReason(reply);
    }
    switch (reply.status) {
        case 207:
            return std::nullopt;
        case 401:
            return "Benutzername oder Passwort falsch";
        case 403:
            return "Zugriff verweigert";
        case 404:
            return "Adressbuch nicht gefunden";
        default:
            break;
    }
    char reason[64];
    std::snprintf(reason, sizeof reason, "Server antwortet mit HTTP %d statt einem Adressbuch",
                  reply.status);
    return std::string(reason);
}

CardDavOutcome SyncCardDav(platform::DavClient& client, const CardDavBook& book,
                           std::string_view cached, const platform::DavLimits& limits) {
    const platform::DavReply listed = client.send(CardDavListRequest(book), limits);
    if (auto problem = CardDavReplyProblem(listed)) {
        return {std::nullopt, std::move(*problem)};
    }
    const CardDavListing listing = ReadCardDavListing(listed.body);
    if (!listing.error.empty()) {
        return {std::nullopt, "Liste des Adressbuchs unlesbar: " + listing.error};
    }
    const std::vector<CardDavResource> cards = CardsOf(listing);
    if (!cached.empty() && SameCards(cards, CardsOf(ReadCardDavListing(cached)))) {
        return {};
    }
    if (cards.empty()) {
        return {std::string(kEmptyMultistatus), {}};
    }
    platform::DavReply fetched = client.send(CardDavCardsRequest(book, cards), limits);
    if (auto problem = CardDavReplyProblem(fetched)) {
        return {std::nullopt, std::move(*problem)};
    }
    if (const BookReading read = ReadCardDavResponse(fetched.body); !read.error.empty()) {
        return {std::nullopt, "Kontakte unlesbar: " + read.error};
    }
    return {std::move(fetched.body), {}};
}

std::string CardDavCacheName(std::string_view url, std::string_view user) {
    std::string key(url);
    key += '\n';
    key += user;
    char name[32];
    std::snprintf(name, sizeof name, "carddav-%08x", static_cast<unsigned>(Crc32(key)));
    return name;
}

}  // namespace kw
