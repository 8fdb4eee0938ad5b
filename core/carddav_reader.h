#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/book_entry.h"

namespace kw {

// One address object of a CardDAV collection, as a multistatus response names it.
struct CardDavResource {
    std::string href;
    std::string etag;  // empty when the response gave none

    friend bool operator==(const CardDavResource&, const CardDavResource&) = default;
};

struct CardDavListing {
    std::vector<CardDavResource> resources;
    std::string error;  // German; empty when the response was read
};

// The numbers of the vCards in the address-data of a CardDAV REPORT or PROPFIND multistatus
// response (namespaces "DAV:" and "urn:ietf:params:xml:ns:carddav", any prefixes), read as
// ReadVCards reads a file.
BookReading ReadCardDavResponse(std::string_view bytes);

// The href and getetag of every response in such a multistatus, for syncing by etag.
CardDavListing ReadCardDavListing(std::string_view bytes);

}  // namespace kw
