#pragma once

#include <array>
#include <compare>
#include <span>
#include <string_view>

#include "core/call_outcome.h"
#include "core/call_source_options.h"
#include "ui/anrufquellen_layout.h"

namespace kw::ui {

// A check box or text box of the call sources dialog, by its name in the layout tables.
struct SourceCheck {
    std::string_view name;
    static const SourceCheck Steuerelement, KlingelwartRing, Router, SIP;
    friend auto operator<=>(const SourceCheck&, const SourceCheck&) = default;
};
struct SourceText {
    std::string_view name;
    static const SourceText RouterHost, RouterPort, SIPServer, SIPBenutzer, SIPAuthName,
        SIPPasswort, SIPZertifikat;
    friend auto operator<=>(const SourceText&, const SourceText&) = default;
};

inline constexpr SourceCheck SourceCheck::Steuerelement{anrufquellen::row::Steuerelement.name};
inline constexpr SourceCheck SourceCheck::KlingelwartRing{anrufquellen::row::KlingelwartRing.name};
inline constexpr SourceCheck SourceCheck::Router{anrufquellen::row::Router.name};
inline constexpr SourceCheck SourceCheck::SIP{"CHK_SIP"};
inline constexpr SourceText SourceText::RouterHost{anrufquellen::row::RouterHost.name};
inline constexpr SourceText SourceText::RouterPort{anrufquellen::row::RouterPort.name};
inline constexpr SourceText SourceText::SIPServer{"TXT_SIPServer"};
inline constexpr SourceText SourceText::SIPBenutzer{"TXT_SIPBenutzer"};
inline constexpr SourceText SourceText::SIPAuthName{"TXT_SIPAuthName"};
inline constexpr SourceText SourceText::SIPPasswort{"TXT_SIPPasswort"};
inline constexpr SourceText SourceText::SIPZertifikat{"TXT_SIPZertifikat"};

// A text box the source's check box switches on and off with it.
struct SourceTextRow {
    SourceText box;
    // The key whose option it shows; empty for a text kept outside the settings (the password).
    std::string_view key;
    // Shown when the source is chosen and the text is empty or no value for its key; empty when
    // any text will do.
    std::string_view refusal;
    // An empty text is a value too (no trusted certificate), only a wrong one is refused.
    bool mayBeEmpty = false;
};

// One call source as the dialog shows it.
struct SourceRow {
    SourceCheck check;
    std::string_view key;  // the switch
    std::span<const SourceTextRow> texts;
    // The SIP account also has a transport choice and a password in the secret store.
    bool sipAccount = false;
    // Who reports its calls, for telling one call reported by two sources from two calls.
    CallSourceKind kind = CallSourceKind::RingTool;
};

namespace source {

inline constexpr SourceRow kSteuerelement{SourceCheck::Steuerelement,
                                          source_key::kSteuerelement,
                                          {},
                                          false,
                                          CallSourceKind::PhoneControl};
inline constexpr SourceRow kKlingelwartRing{SourceCheck::KlingelwartRing,
                                            source_key::kKlingelwartRing};

inline constexpr std::array kRouterTexts{
    SourceTextRow{SourceText::RouterHost, source_key::kRouterHost, anrufquellen::kNoHost},
    SourceTextRow{SourceText::RouterPort, source_key::kRouterPort, anrufquellen::kBadPort},
};
inline constexpr SourceRow kRouter{SourceCheck::Router, source_key::kRouter, kRouterTexts, false,
                                   CallSourceKind::RouterMonitor};

inline constexpr std::array kSipTexts{
    SourceTextRow{SourceText::SIPServer, source_key::kSIPServer, anrufquellen::kNoSipServer},
    SourceTextRow{SourceText::SIPBenutzer, source_key::kSIPBenutzer, anrufquellen::kNoSipUser},
    SourceTextRow{SourceText::SIPAuthName, source_key::kSIPAuthName, {}},
    SourceTextRow{SourceText::SIPPasswort, {}, {}},
    SourceTextRow{SourceText::SIPZertifikat, source_key::kSIPZertifikat,
                  anrufquellen::kBadSipCertificate, true},
};
inline constexpr SourceRow kSip{SourceCheck::SIP, source_key::kSIP, kSipTexts, true,
                                CallSourceKind::Sip};

}  // namespace source

}  // namespace kw::ui
