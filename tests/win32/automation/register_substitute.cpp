// Registers the substitute server that lies next to this program (or removes it with "/u").
#include "tests/win32/automation/substitute_protocol.h"
#include "tests/win32/server_registration.h"

int main(int argc, char** argv) {
    namespace substitute = kw::test::substitute;
    return kw::test::RunServerRegistration(
        {substitute::kServerFile, substitute::kProgId, substitute::kClassId, "substitute server"},
        argc, argv);
}
