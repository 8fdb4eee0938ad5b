#include "core/carddav_reader.h"

#include "core/book_text.h"
#include "core/vcard_reader.h"
#include "core/xml_reader.h"

namespace kw {

namespace {

constexpr std::string_view kDav = "DAV:";
constexpr std::string_view kCardDav = "urn:ietf:params:xml:ns:carddav";

bool Is(const XmlElement& element, std::string_view namespaceUri, std::string_view localName) {
    return element.namespaceUri == namespaceUri && element.localName == localName;
}

// Collects, per response, its href, etag and vCard text.
class MultistatusHandler : public XmlHandler {
  public:
    void startElement(const std::vector<XmlElement>& path) override {
        if (Is(path.back(), kDav, "response")) {
            listing_.resources.emplace_back();
        }
    }

    void endElement(const std::vector<XmlElement>& path) override {
        if (Is(path.back(), kCardDav, "address-data")) {
            cards_ += "\r\n";  // a card without its last line break ends here all the same
        }
    }

    void text(const std::vector<XmlElement>& path, std::string_view text) override {
        const XmlElement& element = path.back();
        const bool inResponse =
            path.size() >= 2 && Is(path[1], kDav, "response") && !listing_.resources.empty();
        if (!inResponse) {
            return;
        }
        if (Is(element, kDav, "href") && path.size() == 3) {
            listing_.resources.back().href += TrimBlanks(text);
        } else if (Is(element, kDav, "getetag")) {
            listing_.resources.back().etag += TrimBlanks(text);
        } else if (Is(element, kCardDav, "address-data")) {
            cards_ += text;
        }
    }

    CardDavListing listing_;
    std::string cards_;
};

}  // namespace

BookReading ReadCardDavResponse(std::string_view bytes) {
    if (auto reason = BookTooLarge(bytes)) {
        return BookError(std::move(*reason));
    }
    MultistatusHandler handler;
    if (std::string error = ReadXml(bytes, handler); !error.empty()) {
        return BookError(std::move(error));
    }
    return ReadVCards(handler.cards_);
}

CardDavListing ReadCardDavListing(std::string_view bytes) {
    if (auto reason = BookTooLarge(bytes)) {
        return CardDavListing{{}, std::move(*reason)};
    }
    MultistatusHandler handler;
    if (std::string error = ReadXml(bytes, handler); !error.empty()) {
        return CardDavListing{{}, std::move(error)};
    }
    return std::move(handler.listing_);
}

}  // namespace kw
