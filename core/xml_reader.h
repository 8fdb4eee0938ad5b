#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kw {

// An element as the reader met it, its names resolved against the namespace declarations in
// scope ("d:href" with xmlns:d="DAV:" gives namespaceUri "DAV:", localName "href").
struct XmlElement {
    std::string_view namespaceUri;
    std::string_view localName;
};

// What a document reader does with what the XML reader finds.
class XmlHandler {
  public:
    virtual ~XmlHandler() = default;
    // `path` is the open elements from the root, the new one last.
    virtual void startElement(const std::vector<XmlElement>& path) = 0;
    virtual void endElement(const std::vector<XmlElement>& path) = 0;  // still holds it
    // Character data of the innermost open element, entities and CDATA resolved; one element's
    // text may come in several pieces.
    virtual void text(const std::vector<XmlElement>& path, std::string_view text) = 0;
};

inline constexpr std::size_t kMaxXmlDepth = 64;

// Reads a small, safe subset of XML without recursion: elements, attributes (namespace
// declarations only are used), text, CDATA, comments and processing instructions. UTF-8, or
// ISO-8859-1/Windows-1252 when the declaration says so. Any DOCTYPE is refused (no entity but
// the five predefined and character references), as are nesting deeper than kMaxXmlDepth and
// malformed documents. Returns the German reason, or empty when the document was read whole.
std::string ReadXml(std::string_view document, XmlHandler& handler);

}  // namespace kw
