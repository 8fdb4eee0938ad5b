#include "core/xml_reader.h"

#include <cstddef>
#include <cstdint>
#include <deque>

#include "core/ascii.h"
#include "core/book_text.h"
#include "core/utf8.h"

namespace kw {

namespace {

constexpr std::string_view kMalformed = "Die XML-Datei ist fehlerhaft.";

bool IsXmlBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameChar(char c) {
    return !IsXmlBlank(c) && c != '>' && c != '/' && c != '=' && c != '<' && c != '"' && c != '\'';
}

// The encoding named in the declaration at the start, if any.
std::string_view DeclaredEncoding(std::string_view document) {
    if (!document.starts_with("<?xml")) {
        return {};
    }
    const std::string_view declaration = document.substr(0, document.find("?>"));
    const std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) {
        return {};
    }
    const std::size_t open = declaration.find_first_of("\"'", at);
    if (open == std::string_view::npos) {
        return {};
    }
    const std::size_t close = declaration.find(declaration[open], open + 1);
    if (close == std::string_view::npos) {
        return {};
    }
    return declaration.substr(open + 1, close - open - 1);
}

class Reader {
  public:
    Reader(std::string_view document, XmlHandler& handler) : doc_(document), handler_(handler) {}

    std::string read() {
        while (error_.empty() && at_ < doc_.size()) {
            if (doc_[at_] != '<') {
                textUntilTag();
            } else if (doc_.substr(at_).starts_with("<?")) {
                skipPast("?>");
            } else if (doc_.substr(at_).starts_with("<!--")) {
                skipPast("-->");
            } else if (doc_.substr(at_).starts_with("<![CDATA[")) {
                cdata();
            } else if (doc_.substr(at_).starts_with("<!")) {
                error_ = "Die XML-Datei enthält eine DTD und wird deshalb nicht gelesen.";
            } else if (doc_.substr(at_).starts_with("</")) {
                endTag();
            } else {
                startTag();
            }
        }
        if (error_.empty() && (!open_.empty() || !sawRoot_)) {
            error_ = kMalformed;
        }
        return error_;
    }

  private:
    struct Open {
        std::string_view qualifiedName;
        std::size_t declarations;  // size of declarations_ before this element
    };
    struct Declaration {
        std::string_view prefix;
        std::string uri;
    };

    void skipPast(std::string_view end) {
        const std::size_t found = doc_.find(end, at_);
        if (found == std::string_view::npos) {
            error_ = kMalformed;
            return;
        }
        at_ = found + end.size();
    }

    void cdata() {
        const std::size_t start = at_ + 9;
        skipPast("]]>");
        if (error_.empty()) {
            emitText(doc_.substr(start, at_ - 3 - start));
        }
    }

    void emitText(std::string_view text) {
        if (open_.empty()) {
            if (!TrimBlanks(text).empty()) {
                error_ = kMalformed;
            }
            return;
        }
        handler_.text(path_, text);
    }

    void textUntilTag() {
        std::size_t end = doc_.find('<', at_);
        if (end == std::string_view::npos) {
            end = doc_.size();
        }
        std::string decoded;
        if (!Unescape(doc_.substr(at_, end - at_), decoded)) {
            error_ = "Die XML-Datei enthält eine unbekannte Entität.";
            return;
        }
        at_ = end;
        emitText(decoded);
    }

    // Resolves the five predefined entities and character references; false on any other.
    static bool Unescape(std::string_view raw, std::string& out) {
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            const std::size_t semicolon = raw.find(';', i);
            if (semicolon == std::string_view::npos || semicolon - i > 12) {
                return false;
            }
            const std::string_view entity = raw.substr(i + 1, semicolon - i - 1);
            i = semicolon;
            if (entity == "lt") {
                out += '<';
            } else if (entity == "gt") {
                out += '>';
            } else if (entity == "amp") {
                out += '&';
            } else if (entity == "apos") {
                out += '\'';
            } else if (entity == "quot") {
                out += '"';
            } else if (entity.size() >= 2 && entity[0] == '#') {
                const bool hex = entity[1] == 'x';
                std::uint32_t code = 0;
                const std::string_view digits = entity.substr(hex ? 2 : 1);
                if (digits.empty()) {
                    return false;
                }
                for (const char c : digits) {
                    const int value =
                        hex ? HexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
                    if (value < 0) {
                        return false;
                    }
                    code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
                }
                const bool valid =
                    code != 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
                AppendUtf8(out, valid ? static_cast<char32_t>(code) : kReplacementCharacter);
            } else {
                return false;
            }
        }
        return true;
    }

    std::string_view name() {
        const std::size_t start = at_;
        while (at_ < doc_.size() && IsNameChar(doc_[at_])) {
            ++at_;
        }
        return doc_.substr(start, at_ - start);
    }

    void skipBlanks() {
        while (at_ < doc_.size() && IsXmlBlank(doc_[at_])) {
            ++at_;
        }
    }

    void startTag() {
        if (sawRoot_ && open_.empty()) {
            error_ = kMalformed;  // a second root
            return;
        }
        ++at_;
        const std::string_view qualified = name();
        if (qualified.empty()) {
            error_ = kMalformed;
            return;
        }
        if (open_.size() >= kMaxXmlDepth) {
            error_ = "Die XML-Datei ist zu tief verschachtelt.";
            return;
        }
        const std::size_t declarationsBefore = declarations_.size();
        bool empty = false;
        while (error_.empty()) {
            skipBlanks();
            if (at_ >= doc_.size()) {
                error_ = kMalformed;
                return;
            }
            if (doc_[at_] == '>') {
                ++at_;
                break;
            }
            if (doc_.substr(at_).starts_with("/>")) {
                at_ += 2;
                empty = true;
                break;
            }
            attribute();
        }
        if (!error_.empty()) {
            return;
        }
        sawRoot_ = true;
        open_.push_back(Open{qualified, declarationsBefore});
        path_.push_back(resolve(qualified));
        handler_.startElement(path_);
        if (empty) {
            close();
        }
    }

    void attribute() {
        const std::string_view key = name();
        skipBlanks();
        if (key.empty() || at_ >= doc_.size() || doc_[at_] != '=') {
            error_ = kMalformed;
            return;
        }
        ++at_;
        skipBlanks();
        if (at_ >= doc_.size() || (doc_[at_] != '"' && doc_[at_] != '\'')) {
            error_ = kMalformed;
            return;
        }
        const std::size_t end = doc_.find(doc_[at_], at_ + 1);
        if (end == std::string_view::npos) {
            error_ = kMalformed;
            return;
        }
        const std::string_view raw = doc_.substr(at_ + 1, end - at_ - 1);
        at_ = end + 1;
        if (key == "xmlns" || key.starts_with("xmlns:")) {
            std::string uri;
            if (!Unescape(raw, uri)) {
                error_ = "Die XML-Datei enthält eine unbekannte Entität.";
                return;
            }
            declarations_.push_back(
                Declaration{key == "xmlns" ? std::string_view() : key.substr(6), std::move(uri)});
        }
    }

    XmlElement resolve(std::string_view qualified) const {
        const std::size_t colon = qualified.find(':');
        const std::string_view prefix =
            colon == std::string_view::npos ? std::string_view() : qualified.substr(0, colon);
        const std::string_view local =
            colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
        for (auto it = declarations_.rbegin(); it != declarations_.rend(); ++it) {
            if (it->prefix == prefix) {
                return XmlElement{it->uri, local};
            }
        }
        return XmlElement{{}, local};
    }

    void endTag() {
        at_ += 2;
        const std::string_view qualified = name();
        skipBlanks();
        if (open_.empty() || qualified != open_.back().qualifiedName || at_ >= doc_.size() ||
            doc_[at_] != '>') {
            error_ = kMalformed;
            return;
        }
        ++at_;
        close();
    }

    void close() {
        handler_.endElement(path_);
        path_.pop_back();
        declarations_.resize(open_.back().declarations);
        open_.pop_back();
    }

    std::string_view doc_;
    XmlHandler& handler_;
    std::size_t at_ = 0;
    std::string error_;
    bool sawRoot_ = false;
    std::vector<Open> open_;
    std::vector<XmlElement> path_;
    std::deque<Declaration> declarations_;  // stable: path_ views their URIs
};

}  // namespace

std::string ReadXml(std::string_view document, XmlHandler& handler) {
    document = WithoutByteOrderMark(document);
    const std::string_view encoding = DeclaredEncoding(document);
    std::string converted;
    if (EqualsNoCase(encoding, "ISO-8859-1") || EqualsNoCase(encoding, "latin1")) {
        converted = Latin1ToUtf8(document);
        document = converted;
    } else if (EqualsNoCase(encoding, "windows-1252")) {
        converted = Windows1252ToUtf8(document);
        document = converted;
    } else if (!encoding.empty() && !EqualsNoCase(encoding, "UTF-8")) {
        return "Die Zeichenkodierung der XML-Datei wird nicht unterstützt.";
    }
    return Reader(document, handler).read();
}

}  // namespace kw
