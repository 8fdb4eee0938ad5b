#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/carddav_reader.h"
#include "platform/dav_client.h"

namespace kw {

// One CardDAV address book: the collection's address and who reads it.
struct CardDavBook {
    std::string url;
    std::string user;
    std::string password;

    friend bool operator==(const CardDavBook&, const CardDavBook&) = default;
};

// The cards a depth-1 PROPFIND on the collection lists (getetag only), and the REPORT
// addressbook-multiget that fetches those cards with their address data.
platform::DavRequest CardDavListRequest(const CardDavBook& book);
platform::DavRequest CardDavCardsRequest(const CardDavBook& book,
                                         const std::vector<CardDavResource>& cards);

// The cards of a listing: the collection itself and anything else ending in "/" left out.
std::vector<CardDavResource> CardsOf(const CardDavListing& listing);

// True when both name the same cards with the same etags; a card without an etag is never the
// same, since nothing tells whether it changed.
bool SameCards(std::vector<CardDavResource> a, std::vector<CardDavResource> b);

// Why a reply is not the multistatus asked for (German), or absent when it is one.
std::optional<std::string> CardDavReplyProblem(const platform::DavReply& reply);

struct CardDavOutcome {
    std::optional<std::string> cards;  // the cache's new content; absent: keep the cache
    std::string problem;               // German; empty when the book is up to date
};

// One sync: lists the collection, and fetches the cards only when the listing differs from
// what `cached` (the last fetch's multistatus, or empty) holds. The cache is only replaced by a
// reply that reads as a book.
CardDavOutcome SyncCardDav(platform::DavClient& client, const CardDavBook& book,
                           std::string_view cached, const platform::DavLimits& limits = {});

// The name of a book's cache folder: the same address and user always give the same name,
// another account another one.
std::string CardDavCacheName(std::string_view url, std::string_view user);

}  // namespace kw
