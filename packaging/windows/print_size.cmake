# Prints the size of the built installer, which grows with everything it packs.
#   cmake -DKW_FILE=<installer> -P print_size.cmake
file(SIZE "${KW_FILE}" kw_bytes)
math(EXPR kw_kib "(${kw_bytes} + 1023) / 1024")
message("Installationsprogramm: ${KW_FILE}: ${kw_bytes} Bytes (${kw_kib} KiB)")
