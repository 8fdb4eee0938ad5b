#include "core/receiving_status.h"

namespace kw {

std::string ReceivingThrough(std::string_view where) {
    std::string text = "Wartet auf Anrufe über ";
    text += where;
    return text;
}

std::string NotReceiving(std::string_view reason) {
    std::string text = "Wartet nicht auf Anrufe: ";
    text += reason;
    return text;
}

}  // namespace kw
