#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/carddav_reader.h"
#include "core/utf8.h"
#include "tests/fuzz/book_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kw::RequireSoundReading(kw::ReadCardDavResponse(bytes));
    const kw::CardDavListing listing = kw::ReadCardDavListing(bytes);
    KW_FUZZ_REQUIRE(listing.error.empty() || listing.resources.empty());
    KW_FUZZ_REQUIRE(listing.resources.size() <= size);
    return 0;
}
