#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace kw::qt {

// UTF-8 in, QString out; invalid bytes become replacement characters rather than vanishing.
inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) {
    return text.toStdString();
}

// Message texts carry CR LF pairs; Qt draws the CR as a glyph of its own.
inline QString DisplayText(std::string_view text) {
    QString shown = ToQString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

}  // namespace kw::qt
