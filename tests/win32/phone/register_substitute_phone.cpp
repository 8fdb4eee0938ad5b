// Registers the substitute phone control that lies next to this program (or removes it with "/u").
#include "tests/win32/phone/substitute_phone_protocol.h"
#include "tests/win32/server_registration.h"

int main(int argc, char** argv) {
    namespace phone = kw::test::phone;
    return kw::test::RunServerRegistration(
        {phone::kServerFile, phone::kProgId, phone::kClassId, "substitute phone control"}, argc,
        argv);
}
