#include "core/router_book_reader.h"

#include <string>
#include <vector>

#include "core/book_text.h"
#include "core/xml_reader.h"

namespace kw {

namespace {

bool EndsWith(const std::vector<XmlElement>& path, std::string_view parent,
              std::string_view child) {
    return path.size() >= 2 && path[path.size() - 2].localName == parent &&
           path.back().localName == child;
}

class RouterBookHandler : public XmlHandler {
  public:
    void startElement(const std::vector<XmlElement>& path) override {
        if (path.back().localName == "contact") {
            contactStart_ = book_.size();
            name_.clear();
        } else if (EndsWith(path, "telephony", "number")) {
            number_.clear();
        }
    }

    void endElement(const std::vector<XmlElement>& path) override {
        if (path.back().localName == "contact") {
            book_.nameFrom(contactStart_, name_);
        } else if (EndsWith(path, "telephony", "number")) {
            book_.add({}, number_);
        }
    }

    void text(const std::vector<XmlElement>& path, std::string_view text) override {
        // Bounded: what is beyond the bounds would be cut or dropped anyway.
        if (EndsWith(path, "person", "realName") && name_.size() < 4 * kMaxNameBytes) {
            name_ += text.substr(0, 4 * kMaxNameBytes);
        } else if (EndsWith(path, "telephony", "number") && number_.size() <= kMaxBookNumberBytes) {
            number_ += text.substr(0, kMaxBookNumberBytes + 1);
        }
    }

    BookCollector book_;

  private:
    std::size_t contactStart_ = 0;
    std::string name_;
    std::string number_;
};

}  // namespace

BookReading ReadRouterBook(std::string_view bytes) {
    if (auto reason = BookTooLarge(bytes)) {
        return BookError(std::move(*reason));
    }
    RouterBookHandler handler;
    std::string error = ReadXml(bytes, handler);
    BookReading reading = handler.book_.take();
    if (!error.empty()) {
        return BookError(std::move(error));
    }
    return reading;
}

}  // namespace kw
