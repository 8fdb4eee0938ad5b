#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/router_book_reader.h"
#include "tests/fuzz/book_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kw::RequireSoundReading(kw::ReadRouterBook(bytes));
    return 0;
}
