#include "core/call_source_options.h"

#include <utility>
#include <variant>
#include <vector>

#include "core/app_options.h"
#include "core/sip_fingerprint.h"

namespace kw {

namespace {

const CallSourceField* FieldOf(std::string_view key) {
    for (const CallSourceField& field : kCallSourceFields) {
        if (field.key == key) {
            return &field;
        }
    }
    return nullptr;
}

// A visitor per field: formats or parses the option the member pointer names.
struct Formatter {
    const CallSourceOptions& options;
    std::string operator()(bool CallSourceOptions::*flag) const {
        return options.*flag ? "1" : "0";
    }
    std::string operator()(std::string CallSourceOptions::*text) const { return options.*text; }
    std::string operator()(std::uint16_t CallSourceOptions::*port) const {
        return std::to_string(options.*port);
    }
    std::string operator()(SipTransport CallSourceOptions::*transport) const {
        return std::string(TransportName(options.*transport));
    }
};

struct Parser {
    CallSourceOptions& options;
    std::string_view text;
    bool emptyIsValue;
    std::optional<std::string> (*normalise)(std::string_view);
    bool operator()(bool CallSourceOptions::*flag) const {
        if (text != "1" && text != "0") {
            return false;
        }
        options.*flag = text == "1";
        return true;
    }
    bool operator()(std::string CallSourceOptions::*field) const {
        if (text.empty() && !emptyIsValue) {
            return false;
        }
        if (normalise != nullptr && !text.empty()) {
            auto value = normalise(text);
            if (!value) {
                return false;
            }
            options.*field = std::move(*value);
            return true;
        }
        options.*field = std::string(text);
        return true;
    }
    bool operator()(std::uint16_t CallSourceOptions::*field) const {
        const auto port = ParsePort(text);
        if (port) {
            options.*field = *port;
        }
        return port.has_value();
    }
    bool operator()(SipTransport CallSourceOptions::*field) const {
        const auto transport = ParseTransport(text);
        if (transport) {
            options.*field = *transport;
        }
        return transport.has_value();
    }
};

}  // namespace

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    // Five digits at most: longer texts would only be leading zeros or out of range anyway.
    if (text.empty() || text.size() > 5) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value < 1 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

std::string_view TransportName(SipTransport transport) {
    switch (transport) {
        case SipTransport::Tcp:
            return "TCP";
        case SipTransport::Tls:
            return "TLS";
        case SipTransport::Udp:
            break;
    }
    return "UDP";
}

std::optional<SipTransport> ParseTransport(std::string_view text) {
    for (const SipTransport t : {SipTransport::Udp, SipTransport::Tcp, SipTransport::Tls}) {
        if (text == TransportName(t)) {
            return t;
        }
    }
    return std::nullopt;
}

std::string OptionText(const CallSourceOptions& options, std::string_view key) {
    const CallSourceField* field = FieldOf(key);
    return field ? std::visit(Formatter{options}, field->option) : std::string();
}

bool SetOptionText(CallSourceOptions& options, std::string_view key, std::string_view text) {
    const CallSourceField* field = FieldOf(key);
    return field &&
           std::visit(Parser{options, text, field->emptyIsValue, field->normalise}, field->option);
}

bool SwitchedOn(const CallSourceOptions& options, std::string_view key) {
    return OptionText(options, key) == "1";
}

CallSourceOptions LoadCallSourceOptions(platform::SettingsStore& store) {
    CallSourceOptions options;
    for (const CallSourceField& field : kCallSourceFields) {
        // A text that is no value keeps the default.
        (void)SetOptionText(options, field.key,
                            store.read(kApplicationName, kCallSourcesSection, field.key));
    }
    return options;
}

MaybeFailure WriteCallSourceOptions(platform::SettingsStore& store,
                                    const CallSourceOptions& options) {
    std::vector<platform::SettingsValue> values;
    values.reserve(kCallSourceFields.size());
    for (const CallSourceField& field : kCallSourceFields) {
        values.push_back({field.key, OptionText(options, field.key)});
    }
    return store.writeAll(kApplicationName, kCallSourcesSection, values);
}

}  // namespace kw
