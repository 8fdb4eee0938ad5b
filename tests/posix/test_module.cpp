// A module as the program's are built, for the loader's tests.
#include "platform/posix/module_entries.h"

KW_MODULE_ENTRY int kw_test_answer() {
    return 42;
}
