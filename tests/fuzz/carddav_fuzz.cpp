#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/carddav_reader.h"
#include "core/carddav_sync.h"
#include "core/utf8.h"
#include "tests/fuzz/book_invariants.h"
#include "tests/support/scripted_dav_client.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kw::RequireSoundReading(kw::ReadCardDavResponse(bytes));
    const kw::CardDavListing listing = kw::ReadCardDavListing(bytes);
    KW_FUZZ_REQUIRE(listing.error.empty() || listing.resources.empty());
    KW_FUZZ_REQUIRE(listing.resources.size() <= size);

    // The same bytes as a server's listing and as its cards, against a copy made of them too:
    // a sync either keeps the copy or replaces it with one that reads as a book.
    using kw::platform::DavFault;
    kw::test::ScriptedDavClient client({{DavFault::None, 207, std::string(bytes), {}},
                                        {DavFault::None, 207, std::string(bytes), {}}});
    const kw::CardDavOutcome outcome = kw::SyncCardDav(client, {"http://h/b/", "u", "p"}, bytes);
    KW_FUZZ_REQUIRE(!outcome.cards || kw::ReadCardDavResponse(*outcome.cards).error.empty());
    KW_FUZZ_REQUIRE(outcome.cards || !outcome.problem.empty() || client.requests.size() == 1);
    return 0;
}
